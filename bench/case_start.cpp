#include "bench/benchcase.h"
#include "bench/generator.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

// The program itself started on a large register, from the process start until its main window
// has been painted once (PELMORA_EXIT_WHEN_SHOWN ends it there), offscreen.
namespace {

QString programPath()
{
    const QString given = qEnvironmentVariable("PELMORA_PROGRAM");
    return given.isEmpty() ? QStringLiteral(PELMORA_PROGRAM) : given;
}

// A home of its own: the user's settings stay untouched, and the backup at quit is off, as it
// would otherwise copy the whole register after every start.
QProcessEnvironment programEnvironment(const QString &workDir, const QString &dataDir,
                                       const QString &server)
{
    const QString home = workDir + QStringLiteral("/home");
    const QString config = home + QStringLiteral("/.config");
    QDir().mkpath(config + QStringLiteral("/Pelmora"));
    QFile settings(config + QStringLiteral("/Pelmora/Pelmora.conf"));
    if (settings.open(QIODevice::WriteOnly))
        settings.write("[mentes]\nkilepeskor=false\n");
    const QString runtime = workDir + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("PELMORA_DATA"), dataDir);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PELMORA_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
    // The program finds the server as an agency's scripts name it, and no other.
    if (server.isEmpty())
        env.remove(QStringLiteral("PELMORA_DB"));
    else
        env.insert(QStringLiteral("PELMORA_DB"), server);
    return env;
}

int propertyCount(BenchRun &run)
{
    BenchDatabase db(run, QStringLiteral("data"));
    return Cursor(db, tables::egyszeru, true).recordCount();
}

const BenchRegistrar registrar(QStringLiteral("start"), 100000, 10, [](BenchRun &run) {
    const QString dataDir = run.dataDirOf(QStringLiteral("data"));
    {
        BenchDatabase db(run, QStringLiteral("data"), 0, datadirectory::seed);
        datadirectory::prepare(db);
        generator::generateRegister(db, run.n);
    }
    const QString program = programPath();
    if (!QFileInfo(program).isExecutable()) {
        run.fail(QStringLiteral("no program at %1 (PELMORA_PROGRAM names another)").arg(program));
        return;
    }
    const QProcessEnvironment env =
        programEnvironment(run.workDir, dataDir, run.addressOf(QStringLiteral("data")));
    for (int i = 0; i < run.runs; ++i) {
        QProcess process;
        process.setProcessEnvironment(env);
        bool finished = false;
        run.time([&] {
            process.start(program, {});
            finished = process.waitForFinished(60000);
        });
        if (!finished) {
            process.kill();
            process.waitForFinished();
            run.fail(QStringLiteral("the program did not end after its window was shown"));
            return;
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            run.fail(QStringLiteral("exit status %1").arg(process.exitCode()));
        const QByteArray said = process.readAllStandardError().trimmed();
        if (!said.isEmpty())
            run.fail(QStringLiteral("the program wrote: %1").arg(QString::fromLocal8Bit(said)));
    }
    const int count = propertyCount(run);
    if (count != run.n)
        run.fail(QStringLiteral("%1 properties left of %2").arg(count).arg(run.n));
    run.setSize(QStringLiteral("%1 properties, offscreen").arg(run.n));
});

} // namespace
