#include "bench/benchcase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <cstdio>

std::vector<BenchCase> &benchCases()
{
    static std::vector<BenchCase> cases;
    return cases;
}

void BenchRun::time(const std::function<void()> &operation)
{
    QElapsedTimer timer;
    timer.start();
    operation();
    m_millis.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
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
    std::printf("%s: median %.1f ms, min %.1f ms, max %.1f ms (%zu runs, %s)\n",
                qPrintable(found->name), median, millis.front(), millis.back(), millis.size(),
                qPrintable(run.size()));
    for (const QString &failure : run.failures())
        std::fprintf(stderr, "%s: WRONG RESULT: %s\n", qPrintable(found->name),
                     qPrintable(failure));
    return run.failures().isEmpty() ? 0 : 1;
}
