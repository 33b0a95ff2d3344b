#include "store/instancelock.h"
#include "tests/support/helperprocess.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// Copies of the program on one data directory: each holds the lock while it runs, the file
// names the copy that took it, only the last one to leave removes it, and a copy that died
// leaves a file that no longer counts.
// The lockholder helper: takes the lock of the file and reports state, others, host, since and
// pid on its first line.
struct LockProcess : HelperProcess
{
    QStringList report;

    bool start(const QString &lockPath)
    {
        if (!HelperProcess::start(QStringLiteral(PELMORA_LOCKHOLDER), {lockPath}))
            return false;
        report = readLine().split(QLatin1Char('\t'));
        return report.size() == 5;
    }
};

class TestInstanceLock : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString lockPath() const { return m_dir.filePath(QStringLiteral("ingatlan.lck")); }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void cleanup() { QFile::remove(lockPath()); }

    void copiesInOneProcess()
    {
        InstanceLock first(lockPath());
        QCOMPARE(first.acquire(QStringLiteral("2026. 12. 10. 9:00:00")),
                 InstanceLock::State::Alone);
        QVERIFY(!first.othersRunning());
        QVERIFY(first.error().isEmpty());
        const InstanceLock::Holder written = InstanceLock::parse(read(lockPath()));
        QCOMPARE(written.since, QStringLiteral("2026. 12. 10. 9:00:00"));
        QCOMPARE(written.host, QSysInfo::machineHostName());
        QCOMPARE(written.pid, QCoreApplication::applicationPid());
        // The first line is the start time, as a lock file always held.
        QVERIFY(read(lockPath()).startsWith("2026. 12. 10. 9:00:00\r\n"));

        InstanceLock second(lockPath());
        QCOMPARE(second.acquire(QStringLiteral("2026. 12. 10. 9:30:00")),
                 InstanceLock::State::Shared);
        QVERIFY(second.othersRunning());
        QCOMPARE(second.holder().since, QStringLiteral("2026. 12. 10. 9:00:00"));
        QCOMPARE(second.holder().host, QSysInfo::machineHostName());
        // Joining leaves the file naming the copy that took the lock.
        QCOMPARE(InstanceLock::parse(read(lockPath())).since, written.since);

        // The first leaves while the second runs: a third start is still warned.
        first.release();
        QVERIFY(QFile::exists(lockPath()));
        {
            InstanceLock third(lockPath());
            QCOMPARE(third.acquire(QStringLiteral("2026. 12. 10. 10:00:00")),
                     InstanceLock::State::Shared);
            third.release();
            QVERIFY(QFile::exists(lockPath()));
        }
        // The last one out removes the file; the next start is alone again.
        second.release();
        QVERIFY(!QFile::exists(lockPath()));
        InstanceLock next(lockPath());
        QCOMPARE(next.acquire(QStringLiteral("2026. 12. 10. 11:00:00")),
                 InstanceLock::State::Alone);
    }

    // A start that ends without quitting (refused, wrong version) leaves the file, which no
    // longer counts once that copy is gone.
    void endingWithoutReleaseLeavesAStaleFile()
    {
        {
            InstanceLock refused(lockPath());
            QCOMPARE(refused.acquire(QStringLiteral("reggel")), InstanceLock::State::Alone);
        }
        QVERIFY(QFile::exists(lockPath()));
        InstanceLock next(lockPath());
        QCOMPARE(next.acquire(QStringLiteral("délben")), InstanceLock::State::Alone);
        QVERIFY(!next.othersRunning());
        QCOMPARE(InstanceLock::parse(read(lockPath())).since, QStringLiteral("délben"));

        // A file of an earlier program (only a time in it, nobody holding it) counts as stale.
        next.release();
        QFile old(lockPath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("2001. 10. 02. 8:00:00\r\n");
        old.close();
        InstanceLock after(lockPath());
        QCOMPARE(after.acquire(QStringLiteral("most")), InstanceLock::State::Alone);
    }

    void secondCopyAsAProcess()
    {
        InstanceLock mine(lockPath());
        QCOMPARE(mine.acquire(QStringLiteral("2026. 12. 10. 8:15:00")), InstanceLock::State::Alone);

        LockProcess other;
        QVERIFY(other.start(lockPath()));
        QCOMPARE(other.report.value(0), QStringLiteral("shared"));
        QCOMPARE(other.report.value(1), QStringLiteral("others"));
        QCOMPARE(other.report.value(2), QSysInfo::machineHostName());
        QCOMPARE(other.report.value(3), QStringLiteral("2026. 12. 10. 8:15:00"));
        QCOMPARE(other.report.value(4).toLongLong(), QCoreApplication::applicationPid());

        // The second quits properly: the first one's lock stays, file and all.
        QCOMPARE(other.ask(QStringLiteral("release")), QStringLiteral("released"));
        QVERIFY(other.exit());
        QVERIFY(QFile::exists(lockPath()));
        QCOMPARE(InstanceLock::parse(read(lockPath())).pid, QCoreApplication::applicationPid());
        InstanceLock third(lockPath());
        QCOMPARE(third.acquire(QStringLiteral("később")), InstanceLock::State::Shared);
        third.release();
        mine.release();
        QVERIFY(!QFile::exists(lockPath()));
    }

    void otherProcessHoldsTheLock()
    {
        LockProcess other;
        QVERIFY(other.start(lockPath()));
        QCOMPARE(other.report.value(0), QStringLiteral("alone"));

        InstanceLock mine(lockPath());
        QCOMPARE(mine.acquire(QStringLiteral("most")), InstanceLock::State::Shared);
        QCOMPARE(mine.holder().pid, other.process.processId());
        QCOMPARE(mine.holder().host, QSysInfo::machineHostName());
        // This copy leaves first: the other one's lock is not touched.
        mine.release();
        QVERIFY(QFile::exists(lockPath()));
        QCOMPARE(InstanceLock::parse(read(lockPath())).pid, other.process.processId());

        // The other one leaves last and takes the file with it.
        QCOMPARE(other.ask(QStringLiteral("release")), QStringLiteral("released"));
        QVERIFY(!QFile::exists(lockPath()));
        QVERIFY(other.exit());
    }

    void killedHolderIsStale()
    {
        LockProcess other;
        QVERIFY(other.start(lockPath()));
        QCOMPARE(other.report.value(0), QStringLiteral("alone"));
        const qint64 pid = other.process.processId();
        ::kill(pid_t(pid), SIGKILL);
        QVERIFY(other.process.waitForFinished());
        QCOMPARE(other.process.exitStatus(), QProcess::CrashExit);
        // The file is left behind with the dead copy's name in it...
        QCOMPARE(InstanceLock::parse(read(lockPath())).pid, pid);

        // ...and the next start is alone, and writes its own.
        InstanceLock mine(lockPath());
        QCOMPARE(mine.acquire(QStringLiteral("utána")), InstanceLock::State::Alone);
        QVERIFY(!mine.othersRunning());
        QCOMPARE(InstanceLock::parse(read(lockPath())).pid, QCoreApplication::applicationPid());
    }

    void unwritableLockIsReported()
    {
        // A folder where the file should be: nothing can be written there.
        QVERIFY(QDir().mkpath(lockPath()));
        InstanceLock lock(lockPath());
        QCOMPARE(lock.acquire(QStringLiteral("most")), InstanceLock::State::Unlocked);
        QVERIFY(lock.error().startsWith(QStringLiteral("A zárolófájl nem írható: ") + lockPath()));
        lock.release();
        QVERIFY(QFileInfo(lockPath()).isDir());
        QVERIFY(QDir(lockPath()).removeRecursively());
    }
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "test_instancelock.moc"
