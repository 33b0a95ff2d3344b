#include "shell/startup.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/instancelock.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "tests/support/tempdatadir.h"

#include <QtTest>

// What the start asks and says before the main window shows, and the lists it fills in.
class TestStartupCheck : public QObject
{
    Q_OBJECT

private slots:
    void lockQuestionOnlyBesideAnotherCopy()
    {
        TempDataDir dir;
        const QString path = datadirectory::lockFilePath(dir.path());
        InstanceLock first(path);
        QCOMPARE(startup::lockQuestion(first), QString());
        QCOMPARE(first.state(), InstanceLock::State::Alone);
        first.claim();

        InstanceLock second(path);
        const QString question = startup::lockQuestion(second);
        QVERIFY(question.startsWith(
            QStringLiteral("A program úgy érzékeli, hogy már egy példányban fut!")));
        // The first copy wrote who it is; the question names it.
        QVERIFY2(question.contains(QStringLiteral("Gép: ")), qPrintable(question));
        QVERIFY(!second.holder().since.isEmpty());
        QVERIFY(question.contains(second.holder().since));
        second.release();
        first.release();

        // Once both are gone, a new start is alone again.
        InstanceLock next(path);
        QCOMPARE(startup::lockQuestion(next), QString());
        next.release();
    }

    void versionCheck()
    {
        QCOMPARE(startup::versionProblem(tables::databaseVersion), QString());
        QCOMPARE(startup::versionProblem(2),
                 QStringLiteral("Hibás software verzió! Adatbázis Verzió: 2 Software verzió:%1. "
                                "Hívja az ügyfélszolgáltatot!")
                     .arg(tables::databaseVersion));
        QVERIFY(!startup::versionProblem(tables::databaseVersion + 0.5).isEmpty());

        // A fresh register carries the version this program writes.
        TempDataDir dir;
        Database db(dir.path(), datadirectory::seed);
        RegisterState cursors(db);
        cursors.tDefaults.open();
        QCOMPARE(startup::versionProblem(cursors.tDefaults.number(QStringLiteral("Version"))),
                 QString());
    }

    void registerListsFromReferenceTables()
    {
        TempDataDir dir;
        Database db(dir.path(), datadirectory::seed);
        RegisterState cursors(db);
        // Rows added by the agency are offered as well, in the cursor's order.
        cursors.tItypes.open();
        const int typesBefore = cursors.tItypes.recordCount();
        cursors.tItypes.append();
        cursors.tItypes.setValue(QStringLiteral("Name"), QStringLiteral("Őrház"));
        cursors.tItypes.post();
        cursors.tTelep.open();

        const startup::RegisterLists lists = startup::registerLists(cursors);
        QCOMPARE(lists.types.size(), typesBefore + 1);
        QVERIFY(lists.types.contains(QStringLiteral("Őrház")));
        QVERIFY(!lists.settlements.isEmpty());
        QCOMPARE(lists.settlements.size(), cursors.tTelep.recordCount());
        // The type list is read once; the settlements serve the postcode look-up later.
        QVERIFY(!cursors.tItypes.isOpen());
        QVERIFY(cursors.tTelep.isOpen());

        const QStringList choices = startup::searchTypeChoices(lists.types);
        QCOMPARE(choices.first(), QStringLiteral("<üres>"));
        QCOMPARE(choices.mid(1), lists.types);
        QCOMPARE(startup::searchTypeChoices({}), QStringList {QStringLiteral("<üres>")});
    }
};

QTEST_GUILESS_MAIN(TestStartupCheck)
#include "test_startupcheck.moc"
