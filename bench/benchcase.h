#pragma once

#include <QString>
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
    // Marks the result wrong; the case's line still prints, the exit status says so.
    void fail(const QString &why);
    void setSize(const QString &size) { m_size = size; }

    const std::vector<double> &millis() const { return m_millis; }
    const QString &size() const { return m_size; }
    const QStringList &failures() const { return m_failures; }

private:
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

// Each case file registers itself with a static BenchRegistrar.
struct BenchRegistrar
{
    BenchRegistrar(const QString &name, int defaultN, int defaultRuns,
                   std::function<void(BenchRun &)> body)
    {
        benchCases().push_back({name, defaultN, defaultRuns, std::move(body)});
    }
};
