#include "register/jpegcodec.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/photostore.h"
#include "tests/register/jpegfiles.h"
#include "tests/support/tempdatadir.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

constexpr int sourceWidth(int source)
{
    return 40 + 4 * source;
}

QVariant single(Database &db, const QString &sql)
{
    QSqlQuery query(db.connection());
    if (!query.exec(sql) || !query.next())
        return {};
    return query.value(0);
}

QList<QVariantList> rows(Database &db, const QString &sql, int columns)
{
    QList<QVariantList> result;
    QSqlQuery query(db.connection());
    query.exec(sql);
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < columns; ++i)
            row << query.value(i);
        result << row;
    }
    return result;
}

// Waits for `count` more lines starting with `prefix`; false when the worker ended first.
bool waitForLines(QProcess &worker, const QByteArray &prefix, int count)
{
    while (count > 0) {
        while (!worker.canReadLine()) {
            if (!worker.waitForReadyRead(60000))
                return false;
        }
        if (worker.readLine().startsWith(prefix))
            --count;
    }
    return true;
}

} // namespace

// A worker process busy on a real register is killed with SIGKILL at random moments; after each
// kill the next start must find the register and its photos in agreement.
class TestCrash : public QObject
{
    Q_OBJECT

    QString m_failure;

    void fail(const QString &what)
    {
        if (m_failure.isEmpty())
            m_failure = what;
    }

    // What the next start finds, after it has put the Images folder in step.
    void checkRegister(const QString &dataDir)
    {
        Database db(dataDir, datadirectory::seed);
        datadirectory::prepare(db);
        const QString images = datadirectory::imagesDir(dataDir);
        if (single(db, u"PRAGMA integrity_check"_s).toString() != u"ok"_s)
            fail(u"integrity_check"_s);
        if (single(db, u"SELECT COUNT(*) FROM kepcsere"_s).toInt() != 0)
            fail(u"moves left recorded"_s);

        QSet<QString> named;
        const auto checkProperty = [&](const QVariantList &row, const QString &owners, bool live) {
            const int id = row[0].toInt();
            if (single(db, u"SELECT COUNT(*) FROM %1 WHERE EgyszeruId = %2"_s.arg(owners).arg(id))
                    .toInt() != row[1].toInt())
                fail(u"%1 %2: owners other than stored"_s.arg(owners).arg(id));
            const QString code = row[3].toString();
            for (int slot = 1; slot <= 4; ++slot) {
                const QString name = row[3 + slot].toString();
                if (live) {
                    const QString wanted =
                        slot <= code.size() ? u"%1-%2.jpg"_s.arg(id).arg(slot) : QString();
                    if (name != wanted)
                        fail(u"property %1 names %2 in slot %3"_s.arg(id).arg(name).arg(slot));
                }
                if (name.isEmpty())
                    continue;
                named.insert(name);
                QFile file(images + name);
                if (!file.open(QIODevice::ReadOnly)) {
                    fail(u"%1 names the missing photo %2"_s.arg(id).arg(name));
                    continue;
                }
                const int source = code.mid(slot - 1, 1).toInt();
                if (jpeg::readHeader(file.readAll(), name).size.width() != sourceWidth(source))
                    fail(u"%1 is not the photo property %2 was given"_s.arg(name).arg(id));
            }
        };
        const QString columns = u"Id, Szoba, Garazs, TelekTeruletMertek, Kep1, Kep2, Kep3, Kep4"_s;
        for (const QVariantList &row : rows(db, u"SELECT %1 FROM egyszeru"_s.arg(columns), 8)) {
            checkProperty(row, u"tulajdonos"_s, true);
            const int detailed =
                single(
                    db,
                    u"SELECT COUNT(*) FROM reszletes WHERE EgyszeruId = %1"_s.arg(row[0].toInt()))
                    .toInt();
            if (detailed != row[2].toInt())
                fail(u"property %1 has %2 detailed records"_s.arg(row[0].toInt()).arg(detailed));
        }
        for (const QVariantList &row : rows(db, u"SELECT %1 FROM archiv"_s.arg(columns), 8))
            checkProperty(row, u"archivtulaj"_s, false);
        if (single(db,
                   QString::fromUtf8("SELECT COUNT(*) FROM tulajdonos WHERE EgyszeruId NOT IN "
                                     "(SELECT Id FROM egyszeru)"))
                .toInt() != 0)
            fail(u"owners without their property"_s);
        if (single(db,
                   QString::fromUtf8("SELECT COUNT(*) FROM archivtulaj WHERE EgyszeruId NOT IN "
                                     "(SELECT Id FROM archiv)"))
                .toInt() != 0)
            fail(u"archived owners without their property"_s);
        const int messages = single(db, u"SELECT COUNT(*) FROM hirek"_s).toInt();
        if (messages != 2 * single(db, u"SELECT COUNT(*) FROM erdeklodes"_s).toInt())
            fail(u"a message file stored in part"_s);

        // Every file is a whole photo of a property that was stored: no temporaries, and none
        // named after a record number no store ever committed.
        const qint64 given =
            single(db, u"SELECT seq FROM sqlite_sequence WHERE name = 'egyszeru'"_s).toLongLong();
        static const QRegularExpression photoName(u"^(\\d+)-[1-4]\\.jpg$"_s);
        for (const QString &name : QDir(images).entryList(QDir::Files | QDir::Hidden)) {
            const QRegularExpressionMatch match = photoName.match(name);
            if (!match.hasMatch())
                fail(u"left in Images: %1"_s.arg(name));
            else if (match.captured(1).toLongLong() > given && !named.contains(name))
                fail(u"photo of a property never stored: %1"_s.arg(name));
        }
    }

private slots:
    void killedAtAnyMoment()
    {
        TempDataDir dir;
        {
            Database db(dir.path(), datadirectory::seed);
            datadirectory::prepare(db);
        }
        QTemporaryDir sources;
        QTemporaryDir work;
        for (int source = 0; source < 8; ++source) {
            QVERIFY(jpegfiles::writeJpeg(sources.filePath(u"forras%1.jpg"_s.arg(source)),
                                         sourceWidth(source), 30,
                                         jpegfiles::solid(30 * source, 100, 200)));
        }

        QRandomGenerator random(20261210);
        int units = 0;
        for (int kill = 0; kill < 100 && m_failure.isEmpty(); ++kill) {
            QProcess worker;
            worker.start(QStringLiteral(PELMORA_CRASHWORKER),
                         {QString::number(kill + 1), sources.path() + QLatin1Char('/'),
                          work.path() + QLatin1Char('/')});
            QVERIFY(worker.waitForStarted());
            if (random.bounded(10) == 0) {
                // While it starts: opening the register, finishing what the last one left.
                QThread::usleep(random.bounded(60000));
            } else {
                const int wanted = int(random.bounded(4));
                QVERIFY2(waitForLines(worker, "ready", 1) && waitForLines(worker, "done", wanted),
                         worker.readAllStandardError().constData());
                units += wanted;
                QThread::usleep(random.bounded(25000));
            }
            ::kill(pid_t(worker.processId()), SIGKILL);
            QVERIFY(worker.waitForFinished());
            QVERIFY2(worker.exitStatus() == QProcess::CrashExit,
                     worker.readAllStandardError().constData());
            checkRegister(dir.path());
            if (!m_failure.isEmpty())
                m_failure += u" (after kill %1)"_s.arg(kill + 1);
        }
        QVERIFY2(m_failure.isEmpty(), qPrintable(m_failure));
        QVERIFY(units > 50);
    }
};

QTEST_GUILESS_MAIN(TestCrash)
#include "test_crash.moc"
