#include "bench/benchcase.h"
#include "bench/benchserver.h"
#include "store/storeerror.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

long statusKb(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The kernel's high-water mark is reset for each measured operation, so the peak of the whole
// run is kept here, from before every reset.
long peakBeforeReset = 0;

// Puts the high-water mark back to the resident memory of now; false where the kernel refuses.
bool resetPeak()
{
    peakBeforeReset = std::max(peakBeforeReset, statusKb("VmHWM"));
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1 && clear.flush();
}

} // namespace

namespace benchmemory {

long residentKb()
{
    return statusKb("VmRSS");
}

long peakKb()
{
    return std::max(peakBeforeReset, statusKb("VmHWM"));
}

} // namespace benchmemory

std::vector<BenchCase> &benchCases()
{
    static std::vector<BenchCase> cases;
    return cases;
}

void BenchRun::time(const std::function<void()> &operation)
{
    const bool growth = m_measureGrowth && resetPeak();
    const long before = benchmemory::residentKb();
    QElapsedTimer timer;
    timer.start();
    operation();
    m_millis.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    if (growth)
        m_growthMb = std::max(m_growthMb, static_cast<double>(statusKb("VmHWM") - before) / 1024.0);
    else if (m_measureGrowth)
        m_growthUnknown = true;
}

void BenchRun::fail(const QString &why)
{
    m_failures << why;
}

bool BenchRun::onServer() const
{
    return m_server.active();
}

QString BenchRun::dataDirOf(const QString &name, int station) const
{
    return workDir + QLatin1Char('/') + name +
        (station == 0 ? QString() : QStringLiteral("-ws%1").arg(station));
}

QString BenchRun::addressOf(const QString &name)
{
    return m_server.addressOf(name);
}

// The embedded file is asked for by name, so a PELMORA_DB of the shell never moves a case
// onto a server.
BenchDatabase::BenchDatabase(BenchRun &run, const QString &name, int station, const Seed &seed)
    : Database(run.dataDirOf(name, station), seed, run.addressOf(name))
{ }

namespace {

int usage()
{
    QStringList names;
    for (const BenchCase &c : benchCases())
        names << c.name;
    std::fprintf(stderr,
                 "usage: pelmora-bench CASE [--n N] [--runs R] [--db sqlite|postgres]\n"
                 "cases: %s\n"
                 "postgres: the server PELMORA_DB names (a database of its own is made and "
                 "dropped there), else a throwaway cluster started for the run\n",
                 qPrintable(names.join(QStringLiteral(", "))));
    return 2;
}

struct Options
{
    int n;
    int runs;
    bool onServer = false;
};

bool parseOptions(const QStringList &args, Options &options)
{
    for (int i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return false;
        const QString &value = args[i + 1];
        if (args[i] == QLatin1String("--n"))
            options.n = value.toInt();
        else if (args[i] == QLatin1String("--runs"))
            options.runs = value.toInt();
        else if (args[i] == QLatin1String("--db") &&
                 (value == QLatin1String("sqlite") || value == QLatin1String("postgres")))
            options.onServer = value == QLatin1String("postgres");
        else
            return false;
    }
    return true;
}

int report(const BenchCase &benchCase, BenchRun &run, const QString &where)
{
    if (!run.notApplicableReason().isEmpty()) {
        std::printf("%s: does not apply on %s (%s)\n", qPrintable(benchCase.name),
                    qPrintable(where), qPrintable(run.notApplicableReason()));
        return 0;
    }
    std::vector<double> millis = run.millis();
    if (millis.empty()) {
        run.fail(QStringLiteral("nothing was timed"));
        millis.push_back(0);
    }
    std::sort(millis.begin(), millis.end());
    const double median = millis.size() % 2
        ? millis[millis.size() / 2]
        : (millis[millis.size() / 2 - 1] + millis[millis.size() / 2]) / 2;
    QString memory = QStringLiteral(", peak %1 MB")
                         .arg(static_cast<double>(benchmemory::peakKb()) / 1024.0, 0, 'f', 0);
    if (run.growthUnknown())
        memory += QStringLiteral(", growth unknown (the kernel keeps its peak)");
    else if (run.growthMb() >= 0)
        memory += QStringLiteral(", growth %1 MB").arg(run.growthMb(), 0, 'f', 1);
    std::printf("%s: median %.1f ms, min %.1f ms, max %.1f ms (%zu runs, %s, %s)%s\n",
                qPrintable(benchCase.name), median, millis.front(), millis.back(), millis.size(),
                qPrintable(run.size()), qPrintable(where), qPrintable(memory));
    for (const QString &failure : run.failures())
        std::fprintf(stderr, "%s: WRONG RESULT: %s\n", qPrintable(benchCase.name),
                     qPrintable(failure));
    return run.failures().isEmpty() ? 0 : 1;
}

// The server, when there is one, is stopped and its databases dropped on every way out.
int runCase(const BenchCase &benchCase, const Options &options)
{
    QTemporaryDir dir;
    try {
        BenchServer server(options.onServer, dir.path());
        const QString where = server.active() ? QStringLiteral("postgres, ") + server.description()
                                              : QStringLiteral("sqlite");
        BenchRun run(options.n, std::max(1, options.runs), dir.path(), server);
        try {
            benchCase.body(run);
        } catch (const StoreError &error) {
            run.fail(QStringLiteral("stopped: ") + error.message());
        } catch (const std::exception &error) {
            run.fail(QStringLiteral("stopped: ") + QString::fromLocal8Bit(error.what()));
        }
        return report(benchCase, run, where);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(benchCase.name), error.what());
        return 2;
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const auto found = std::find_if(benchCases().begin(), benchCases().end(),
                                    [&](const BenchCase &c) { return c.name == args.first(); });
    if (found == benchCases().end())
        return usage();
    Options options {found->defaultN, found->defaultRuns};
    if (!parseOptions(args, options))
        return usage();
    return runCase(*found, options);
}
