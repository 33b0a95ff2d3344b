#include "store/cursor.h"
#include "store/database.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "store/workinglist.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

// Working owner lists sharing one table: each window's list, and each copy's, sees and changes
// only its own rows, whatever else its cursor does.
class TestWorkingList : public QObject
{
    Q_OBJECT

    static void addOwner(Cursor &list, const QString &name, const QString &town = {})
    {
        list.append();
        list.setValue(QStringLiteral("Nev"), name);
        list.setValue(QStringLiteral("Varos"), town);
        list.post();
    }
    static QStringList names(const Cursor &list)
    {
        QStringList out;
        for (int at = 0; at < list.recordCount(); ++at)
            out << list.recordAt(at).text(QStringLiteral("Nev"));
        return out;
    }
    static int rows(Database &db)
    {
        QSqlQuery query(db.connection());
        query.exec(QStringLiteral("SELECT COUNT(*) FROM dtulaj"));
        return query.next() ? query.value(0).toInt() : -1;
    }

private slots:
    void listsDoNotMeet()
    {
        TempDataDir dir;
        Database db(dir.path());
        RegisterState mine(db);
        Database otherConnection(dir.path()); // a second copy on the same file
        RegisterState other(otherConnection);

        addOwner(mine.tdTulaj, QStringLiteral("Új Ágnes"), QStringLiteral("Szeged"));
        addOwner(mine.tdTulaj, QStringLiteral("Új Béla"));
        addOwner(mine.modifyWorkingOwners, QStringLiteral("Régi Cecília"));
        addOwner(other.tdTulaj, QStringLiteral("Másik Dénes"), QStringLiteral("Szeged"));
        QCOMPARE(rows(db), 4);

        QCOMPARE(names(mine.tdTulaj), QStringList({"Új Ágnes", "Új Béla"}));
        QCOMPARE(names(mine.modifyWorkingOwners), QStringList({"Régi Cecília"}));
        QCOMPARE(names(other.tdTulaj), QStringList({"Másik Dénes"}));
        QVERIFY(other.modifyWorkingOwners.isEmpty());

        // A filter narrows the list, never widens it to another one.
        mine.tdTulaj.setFilterText(QStringLiteral("Varos = 'Szeged' or Nev = 'Másik Dénes'"));
        mine.tdTulaj.setFiltered(true);
        QCOMPARE(names(mine.tdTulaj), QStringList({"Új Ágnes"}));
        QVERIFY(!mine.tdTulaj.locate(QStringLiteral("Nev = 'Másik Dénes'")));
        mine.tdTulaj.setFiltered(false);

        // Stepping, changing and removing stay inside the list.
        mine.tdTulaj.last();
        QCOMPARE(mine.tdTulaj.text(QStringLiteral("Nev")), QStringLiteral("Új Béla"));
        mine.tdTulaj.setValue(QStringLiteral("Hanyad"), QStringLiteral("1/2"));
        mine.tdTulaj.post();
        mine.tdTulaj.first();
        mine.tdTulaj.remove();
        QCOMPARE(names(mine.tdTulaj), QStringList({"Új Béla"}));
        QCOMPARE(names(other.tdTulaj), QStringList({"Másik Dénes"}));
        int seen = 0;
        mine.tdTulaj.scan({QStringLiteral("Nev")}, [&seen](const Record &) { ++seen; });
        QCOMPARE(seen, 1);

        // Copying into a list puts the copies in that list only.
        QCOMPARE(mine.tdTulaj.copyRecords(other.modifyWorkingOwners, 0), 1);
        QCOMPARE(names(other.modifyWorkingOwners), QStringList({"Új Béla"}));
        QCOMPARE(names(other.tdTulaj), QStringList({"Másik Dénes"}));

        // Emptying a list empties that list only, whatever its filter.
        addOwner(mine.tdTulaj, QStringLiteral("Új Csaba"), QStringLiteral("Eger"));
        mine.tdTulaj.setFilterText(QStringLiteral("Varos = 'Eger'"));
        mine.tdTulaj.setFiltered(true);
        workinglist::empty(mine.tdTulaj);
        mine.tdTulaj.setFiltered(false);
        QVERIFY(mine.tdTulaj.isEmpty());
        QCOMPARE(names(other.modifyWorkingOwners), QStringList({"Új Béla"}));
        QCOMPARE(rows(db), 3);

        // A start that found no other copy clears what windows long gone left behind. On the
        // office server the lists of workstations still at work stay: only those of a session
        // that has ended go.
        if (testserver::active()) {
            db.exec(QStringLiteral("INSERT INTO dtulaj (\"Nev\", \"Munkalista\") VALUES "
                                   "('Elhagyott', '2147483647:abc')"));
            workinglist::clearAbandoned(db);
            QCOMPARE(rows(db), 3);
            QCOMPARE(names(other.modifyWorkingOwners), QStringList({"Új Béla"}));
            return;
        }
        workinglist::clearAbandoned(db);
        QCOMPARE(rows(db), 0);
        QVERIFY(mine.tdTulaj.isEmpty());
    }

    // A register of the layout before the lists had names gains the column on open; its rows
    // stay.
    void oldRegisterGainsTheColumn()
    {
        PELMORA_SQLITE_ONLY();
        TempDataDir dir;
        {
            Database db(dir.path());
            db.exec(QStringLiteral("ALTER TABLE dtulaj DROP COLUMN Munkalista"));
            db.exec(QStringLiteral("PRAGMA user_version = 1"));
            db.exec(QStringLiteral("INSERT INTO dtulaj (Nev) VALUES ('Régi sor')"));
            QCOMPARE(db.connection().record(QStringLiteral("dtulaj")).indexOf(workinglist::field),
                     -1);
        }
        Database db(dir.path());
        QVERIFY(db.connection().record(QStringLiteral("dtulaj")).indexOf(workinglist::field) >= 0);
        QCOMPARE(rows(db), 1);
        RegisterState cursors(db);
        QVERIFY(cursors.tdTulaj.isEmpty());
        addOwner(cursors.tdTulaj, QStringLiteral("Új sor"));
        QCOMPARE(names(cursors.tdTulaj), QStringList({"Új sor"}));
        QCOMPARE(rows(db), 2);
    }
};

QTEST_GUILESS_MAIN(TestWorkingList)
#include "test_workinglist.moc"
