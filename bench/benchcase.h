#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <vector>

// One measured run of a case: it prepares its own data in `workDir`, times the operation
// through the program's own functions with time(), and says whether the result was right.
class BenchRun
{
public:
    BenchRun(int n, int runs, const QString &workDir)
        : n(n)
        , runs(runs)
        , workDir(workDir)
    { }

    const int n;
    const int runs;
    const QString workDir;

    // Times `operation` once; call it `runs` times.
    void time(const std::function<void()> &operation);
    // From now on, time() also measures how far the resident memory rises above where it stood
    // when the operation began: the figure for a case that must stay flat on any register size.
    void measureGrowth() { m_measureGrowth = true; }
    // Marks the result wrong; the case's line still prints, the exit status says so.
    void fail(const QString &why);
    void setSize(const QString &size) { m_size = size; }

    const std::vector<double> &millis() const { return m_millis; }
    const QString &size() const { return m_size; }
    const QStringList &failures() const { return m_failures; }
    // The largest rise of one timed operation in MB; negative when growth was not measured.
    double growthMb() const { return m_growthMb; }
    // The kernel would not reset its high-water mark (/proc/self/clear_refs), so no growth
    // could be told apart from the peak before.
    bool growthUnknown() const { return m_growthUnknown; }

private:
    bool m_measureGrowth = false;
    double m_growthMb = -1;
    bool m_growthUnknown = false;
    std::vector<double> m_millis;
    QString m_size;
    QStringList m_failures;
};

struct BenchCase
{
    QString name;
    int defaultN;
    int defaultRuns;
    std::function<void(BenchRun &)> body;
};

std::vector<BenchCase> &benchCases();

// The process's memory as the kernel counts it, in kB.
namespace benchmemory {
long residentKb(); // now
long peakKb(); // the highest so far, over the whole run
} // namespace benchmemory

// Each case file registers itself with a static BenchRegistrar.
struct BenchRegistrar
{
    BenchRegistrar(const QString &name, int defaultN, int defaultRuns,
                   std::function<void(BenchRun &)> body)
    {
        benchCases().push_back({name, defaultN, defaultRuns, std::move(body)});
    }
};
