#include "bench/benchcase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cstdio>

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

static int usage()
{
    QStringList names;
    for (const BenchCase &c : benchCases())
        names << c.name;
    std::fprintf(stderr, "usage: pelmora-bench CASE [--n N] [--runs R]\ncases: %s\n",
                 qPrintable(names.join(QStringLiteral(", "))));
    return 2;
}

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
    int n = found->defaultN;
    int runs = found->defaultRuns;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--n"))
            n = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = args[i + 1].toInt();
        else
            return usage();
    }
    QTemporaryDir dir;
    BenchRun run(n, std::max(1, runs), dir.path());
    found->body(run);

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
    std::printf("%s: median %.1f ms, min %.1f ms, max %.1f ms (%zu runs, %s)%s\n",
                qPrintable(found->name), median, millis.front(), millis.back(), millis.size(),
                qPrintable(run.size()), qPrintable(memory));
    for (const QString &failure : run.failures())
        std::fprintf(stderr, "%s: WRONG RESULT: %s\n", qPrintable(found->name),
                     qPrintable(failure));
    return run.failures().isEmpty() ? 0 : 1;
}
