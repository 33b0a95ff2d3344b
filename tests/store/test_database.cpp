#include "store/cursor.h"
#include "store/database.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"

#include <QSignalSpy>
#include <QtTest>

// The unit of work: what an undone unit leaves in the cursors that wrote in it, and when the
// rest of the program hears of a unit's writes.
class TestDatabase : public QObject
{
    Q_OBJECT

    static void addProperty(Cursor &c, const QString &azonosito, double ar)
    {
        c.append();
        c.setValue(QStringLiteral("Azonosito"), azonosito);
        c.setValue(QStringLiteral("Ar"), ar);
        c.post();
    }
    static QStringList identifiers(const Cursor &c)
    {
        QStringList out;
        for (int at = 0; at < c.recordCount(); ++at)
            out << c.recordAt(at).text(QStringLiteral("Azonosito"));
        return out;
    }

private slots:
    void rollbackRereadsTheCursors()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        Cursor other(db, tables::egyszeru, true);
        addProperty(c, QStringLiteral("A"), 100);
        addProperty(c, QStringLiteral("B"), 200);
        addProperty(c, QStringLiteral("C"), 300);
        c.moveTo(1);
        QCOMPARE(identifiers(other), (QStringList {"A", "B", "C"})); // read before the unit
        QSignalSpy views(&c, &Cursor::viewChanged);
        {
            Database::Transaction unit(db);
            c.edit();
            c.setValue(QStringLiteral("Ar"), 999);
            c.post();
            QCOMPARE(c.number(QStringLiteral("Ar")), 999.0);
            QCOMPARE(other.recordAt(1).number(QStringLiteral("Ar")), 999.0);
            addProperty(c, QStringLiteral("D"), 400);
            c.first();
            c.remove();
            QCOMPARE(identifiers(other), (QStringList {"B", "C", "D"}));
            c.last();
            c.setValue(QStringLiteral("Ar"), 5); // an edit still open when the unit fails
        }
        QCOMPARE(c.state(), Cursor::State::Browse);
        QVERIFY(views.count() > 0);
        // Back on the record it was on before its first write, showing what is stored.
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("B"));
        QCOMPARE(c.number(QStringLiteral("Ar")), 200.0);
        QCOMPARE(c.position(), 1);
        QCOMPARE(c.recordCount(), 3);
        QCOMPARE(identifiers(c), (QStringList {"A", "B", "C"}));
        QCOMPARE(identifiers(other), (QStringList {"A", "B", "C"}));
        QCOMPARE(other.recordAt(1).number(QStringLiteral("Ar")), 200.0);

        // A record appended in an undone unit is gone; its cursor is back where it stood.
        c.last();
        {
            Database::Transaction unit(db);
            addProperty(c, QStringLiteral("E"), 500);
            QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("E"));
        }
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("C"));
        QVERIFY(!c.locate(QStringLiteral("Azonosito = 'E'")));
    }

    void innerUnitUndoesOnlyItsOwn()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        addProperty(c, QStringLiteral("A"), 100);
        {
            Database::Transaction outer(db);
            c.edit();
            c.setValue(QStringLiteral("Ar"), 150);
            c.post();
            {
                Database::Transaction inner(db);
                c.edit();
                c.setValue(QStringLiteral("Ar"), 175);
                c.post();
                addProperty(c, QStringLiteral("B"), 200);
            }
            // Back to the savepoint: the outer unit's write stays, the cursor on its record.
            QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("A"));
            QCOMPARE(c.number(QStringLiteral("Ar")), 150.0);
            QCOMPARE(c.recordCount(), 1);
            outer.commit();
        }
        Cursor fresh(db, tables::egyszeru, true);
        QCOMPARE(fresh.number(QStringLiteral("Ar")), 150.0);
        QCOMPARE(fresh.recordCount(), 1);
    }

    // The rest of the program hears of a unit's writes once it has committed, once per table,
    // and never of a unit that was undone.
    void changesAnnouncedAfterTheOutermostCommit()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor properties(db, tables::egyszeru, true);
        Cursor owners(db, tables::tulajdonos, false);
        QStringList heard;
        connect(&db, &Database::changed, this, [&heard](const QString &table) { heard << table; });

        addProperty(properties, QStringLiteral("A"), 100);
        QCOMPARE(heard, QStringList {tables::egyszeru}); // outside a unit: at once
        heard.clear();
        {
            Database::Transaction outer(db);
            addProperty(properties, QStringLiteral("B"), 200);
            {
                Database::Transaction inner(db);
                owners.append();
                owners.setValue(QStringLiteral("Nev"), QStringLiteral("Tulaj"));
                owners.post();
                addProperty(properties, QStringLiteral("C"), 300);
                inner.commit();
            }
            QCOMPARE(heard, QStringList());
            outer.commit();
        }
        QCOMPARE(heard, (QStringList {tables::egyszeru, tables::tulajdonos}));
        heard.clear();
        {
            Database::Transaction outer(db);
            addProperty(properties, QStringLiteral("D"), 400);
        }
        QCOMPARE(heard, QStringList());
        QCOMPARE(properties.recordCount(), 3);
        {
            Database::Transaction outer(db);
            {
                Database::Transaction inner(db);
                owners.first();
                owners.remove();
            }
            addProperty(properties, QStringLiteral("E"), 500);
            outer.commit();
        }
        // The undone inner unit's table is announced too: its cursors may have shown its rows.
        QCOMPARE(heard, (QStringList {tables::tulajdonos, tables::egyszeru}));
        QCOMPARE(owners.recordCount(), 1);
    }

    // A unit that cannot begin, since another copy is writing, is refused with a message and
    // leaves nothing open behind it: the next writes are announced as ever.
    void unitRefusedWhileAnotherCopyWrites()
    {
        PELMORA_SQLITE_ONLY();
        TempDataDir dir;
        Database db(dir.path());
        Database second(dir.path());
        db.exec(QStringLiteral("PRAGMA busy_timeout = 0"));
        Cursor c(db, tables::egyszeru, true);
        addProperty(c, QStringLiteral("A"), 100);
        {
            Database::Transaction theirs(second);
            QVERIFY_THROWS_EXCEPTION(StoreError, [&] {
                Database::Transaction refused(db);
            }());
        }
        QSignalSpy heard(&db, &Database::changed);
        addProperty(c, QStringLiteral("B"), 200);
        QCOMPARE(heard.count(), 1);
        Database::Transaction unit(db);
        addProperty(c, QStringLiteral("C"), 300);
        unit.commit();
        QCOMPARE(heard.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
