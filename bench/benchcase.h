#pragma once

#include "store/database.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <vector>

class BenchServer;

// One measured run of a case: it prepares its own data in `workDir`, times the operation
// through the program's own functions with time(), and says whether the result was right.
class BenchRun
{
public:
    BenchRun(int n, int runs, const QString &workDir, BenchServer &server)
        : n(n)
        , runs(runs)
        , workDir(workDir)
        , m_server(server)
    { }

    const int n;
    const int runs;
    const QString workDir;

    // The registers of the case live on a PostgreSQL server (`--db postgres`), not in files.
    bool onServer() const;
    // The data directory of workstation `station` on the register `name`.
    QString dataDirOf(const QString &name, int station = 0) const;
    // The server address of the register `name` (its database made on the first ask); empty on
    // the embedded file. Asked from the main thread only.
    QString addressOf(const QString &name);
    // The case measures nothing on this database; the line says why and the run succeeds.
    void notApplicable(const QString &why) { m_notApplicable = why; }
    const QString &notApplicableReason() const { return m_notApplicable; }

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
    BenchServer &m_server;
    QString m_notApplicable;
    bool m_measureGrowth = false;
    double m_growthMb = -1;
    bool m_growthUnknown = false;
    std::vector<double> m_millis;
    QString m_size;
    QStringList m_failures;
};

// One workstation's connection to a register of the run, on the database the run measures.
class BenchDatabase : public Database
{
public:
    BenchDatabase(BenchRun &run, const QString &name, int station = 0, const Seed &seed = {});
    // For a thread of its own, which may not ask the run: the address asked beforehand.
    BenchDatabase(const QString &dataDir, const QString &address)
        : Database(dataDir, Seed(), address)
    { }
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
