#include "register/archiving.h"
#include "register/propertystore.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/filter.h"
#include "store/officelock.h"
#include "store/registerstate.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/support/errorof.h"
#include "tests/support/helperprocess.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"

#include <QSet>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

// Several workstations on one office server, each a program of its own: what one saves the
// others see, nobody's save is overwritten unseen, and what must be one at a time is.
class TestOffice : public QObject
{
    Q_OBJECT

    // A workstation with a data directory of its own on the test's server database.
    struct Station
    {
        QTemporaryDir dir;
        HelperProcess process;

        bool start()
        {
            return process.start(QStringLiteral(PELMORA_WORKSTATION), {dir.path()}) &&
                process.readLine() == QLatin1String("ready");
        }
    };

    static int idOf(const QString &answer)
    {
        return answer.startsWith(QLatin1String("ok ")) || answer.startsWith(QLatin1String("held "))
            ? answer.section(QLatin1Char(' '), 1).toInt()
            : 0;
    }

private slots:
    void initTestCase() { QVERIFY2(testserver::active(), "runs on the office server only"); }

    // Two workstations storing at once get distinct record numbers, and the same identifier
    // can be stored once only, however the two stores interleave.
    void numbersAndIdentifiersAreNeverShared()
    {
        TempDataDir data;
        Database db(data.path(), datadirectory::seed);
        Station a, b;
        QVERIFY(a.start());
        QVERIFY(b.start());

        // The first store is still open when the second one checks and writes.
        const QString heldAnswer = a.process.ask(QStringLiteral("hold AZ-1"));
        QVERIFY2(heldAnswer.startsWith(QLatin1String("held ")), qPrintable(heldAnswer));
        b.process.send(QStringLiteral("store AZ-1"));
        QCOMPARE(a.process.ask(QStringLiteral("commit")), QStringLiteral("ok"));
        QCOMPARE(b.process.readLine(), QStringLiteral("error Van már ilyen azonosító!"));
        // Folded like the check: the same identifier in other letters is the same.
        QCOMPARE(b.process.ask(QStringLiteral("store az-1")),
                 QStringLiteral("error Van már ilyen azonosító!"));

        a.process.send(QStringLiteral("store-many A 40"));
        b.process.send(QStringLiteral("store-many B 40"));
        const QString fromA = a.process.readLine();
        const QString fromB = b.process.readLine();
        QVERIFY2(fromA.startsWith(QLatin1String("ok ")), qPrintable(fromA));
        QVERIFY2(fromB.startsWith(QLatin1String("ok ")), qPrintable(fromB));
        QSet<QString> ids;
        for (const QString &answer : {fromA, fromB}) {
            for (const QString &id : answer.mid(3).split(QLatin1Char(',')))
                ids.insert(id);
        }
        QCOMPARE(ids.size(), 80);
        ids.insert(QString::number(idOf(heldAnswer)));
        QCOMPARE(ids.size(), 81);

        Cursor all(db, tables::egyszeru, true);
        QCOMPARE(all.recordCount(), 81);
        QVERIFY(a.process.exit());
        QVERIFY(b.process.exit());
    }

    // A save over another workstation's save is refused, the edit is kept, and after reading
    // the property again both changes stand; a property archived meanwhile is not written.
    void savesNeverOverwriteUnseen()
    {
        TempDataDir data;
        Database db(data.path(), datadirectory::seed);
        Station other;
        QVERIFY(other.start());
        const int id = idOf(other.process.ask(QStringLiteral("store AZ-2")));
        QVERIFY(id > 0);

        RegisterState c(db);
        c.tEgyszeru.open();
        QVERIFY(c.tEgyszeru.locate(filters::withId(id)));
        const qint64 read = c.tEgyszeru.rowVersion();
        QCOMPARE(other.process.ask(QStringLiteral("modify %1 CimUtca Fő").arg(id)),
                 QStringLiteral("ok"));

        PropertyChanges changes;
        changes.id = id;
        changes.readVersion = read;
        changes.fields = {{QStringLiteral("Azonosito"), QStringLiteral("AZ-2")},
                          {QStringLiteral("CimHazszam"), QStringLiteral("12")}};
        QString refusal;
        try {
            saveModifiedProperty(c, changes);
        } catch (const ConflictError &error) {
            refusal = error.message();
            QVERIFY(!error.gone());
        }
        QVERIFY2(refusal.startsWith(
                     QStringLiteral("Az ingatlant közben egy másik munkaállomáson módosították.")),
                 qPrintable(refusal));

        c.tEgyszeru.reread();
        QVERIFY(c.tEgyszeru.locate(filters::withId(id)));
        QCOMPARE(c.tEgyszeru.text(QStringLiteral("CimUtca")), QStringLiteral("Fő"));
        changes.readVersion = c.tEgyszeru.rowVersion();
        saveModifiedProperty(c, changes);
        Cursor check(db, tables::egyszeru, true);
        QVERIFY(check.locate(filters::withId(id)));
        QCOMPARE(check.text(QStringLiteral("CimUtca")), QStringLiteral("Fő"));
        QCOMPARE(check.text(QStringLiteral("CimHazszam")), QStringLiteral("12"));

        // Archived elsewhere while this workstation still shows it.
        changes.readVersion = check.rowVersion();
        QCOMPARE(other.process.ask(QStringLiteral("archive %1").arg(id)), QStringLiteral("ok"));
        bool gone = false;
        try {
            saveModifiedProperty(c, changes);
        } catch (const ConflictError &error) {
            gone = error.gone();
        }
        QVERIFY(gone);
        Cursor archive(db, tables::archiv, false);
        QCOMPARE(archive.recordCount(), 1);
        QCOMPARE(archive.text(QStringLiteral("CimHazszam")), QStringLiteral("12"));
        QVERIFY(other.process.exit());
    }

    // What another workstation commits reaches this one's open views without a restart, and
    // the view stays on its record.
    void commitsElsewhereRefreshTheViews()
    {
        TempDataDir data;
        Database db(data.path(), datadirectory::seed);
        Station other;
        QVERIFY(other.start());
        const int first = idOf(other.process.ask(QStringLiteral("store AZ-3")));
        QVERIFY(first > 0);

        Cursor view(db, tables::egyszeru, true);
        view.setIndexName(QStringLiteral("iazonosito"));
        view.open();
        QTRY_COMPARE_WITH_TIMEOUT(view.recordCount(), 1, 30000);
        QSignalSpy changed(&view, &Cursor::viewChanged);
        QCOMPARE(idOf(other.process.ask(QStringLiteral("store AZ-0"))) > 0, true);
        QTRY_COMPARE_WITH_TIMEOUT(view.recordCount(), 2, 30000);
        QVERIFY(!changed.isEmpty());
        // AZ-0 sorts first; the view is still on AZ-3.
        QCOMPARE(view.integer(QStringLiteral("Id")), first);
        QCOMPARE(view.position(), 1);

        QCOMPARE(other.process.ask(QStringLiteral("modify %1 CimUtca Kossuth").arg(first)),
                 QStringLiteral("ok"));
        QTRY_COMPARE_WITH_TIMEOUT(view.text(QStringLiteral("CimUtca")), QStringLiteral("Kossuth"),
                                  30000);
        QVERIFY(other.process.exit());
    }

    // One upload for the whole office: the second workstation is told who uploads, and the
    // lock goes with the workstation that held it, even one that dies.
    void oneUploadAtATime()
    {
        TempDataDir data;
        Database db(data.path(), datadirectory::seed);
        Station a, b;
        QVERIFY(a.start());
        QVERIFY(b.start());
        QCOMPARE(a.process.ask(QStringLiteral("lock")), QStringLiteral("ok"));
        const QString refused = b.process.ask(QStringLiteral("lock"));
        QVERIFY2(refused.startsWith(
                     QStringLiteral("busy A feltöltést most egy másik munkaállomás végzi")),
                 qPrintable(refused));
        QVERIFY2(refused.contains(QSysInfo::machineHostName().left(50)), qPrintable(refused));

        OfficeLock mine(db, OfficeLock::Kind::Upload);
        QVERIFY(!mine.tryTake());
        QCOMPARE(a.process.ask(QStringLiteral("unlock")), QStringLiteral("ok"));
        QCOMPARE(b.process.ask(QStringLiteral("lock")), QStringLiteral("ok"));
        QVERIFY(!mine.tryTake());
        b.process.process.kill();
        b.process.process.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(mine.tryTake(), 30000);
        // The matching run's lock is another one.
        OfficeLock matching(db, OfficeLock::Kind::Matching);
        QVERIFY(matching.tryTake());
        QVERIFY(a.process.exit());
    }
};

QTEST_GUILESS_MAIN(TestOffice)
#include "test_office.moc"
