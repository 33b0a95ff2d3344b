#include "store/cursor.h"
#include "store/database.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/support/tempdatadir.h"

#include <QtTest>

// The cursor behaviour every window relies on, against a real database file.
class TestCursor : public QObject
{
    Q_OBJECT

private:
    static void addProperty(Cursor &c, const QString &azonosito, double ar,
                            const QString &varos = {})
    {
        c.append();
        c.setValue(QStringLiteral("Azonosito"), azonosito);
        c.setValue(QStringLiteral("Ar"), ar);
        c.setValue(QStringLiteral("CimVaros"), varos);
        c.post();
    }

private slots:
    void tableLayout()
    {
        QCOMPARE(tables::all().size(), 16);
        const TableDef &egyszeru = tables::def(tables::egyszeru);
        QCOMPARE(egyszeru.fields.size(), 48);
        QCOMPARE(egyszeru.fields[47].name, QStringLiteral("Print"));
        const TableDef &archiv = tables::def(tables::archiv);
        QCOMPARE(archiv.fields.size(), 48);
        QCOMPARE(archiv.fields[47].name, QStringLiteral("Ok"));
        QCOMPARE(tables::def(tables::reszletes).fields.size(), 65);
        QCOMPARE(tables::def(tables::reszletes).fields[55].name, QStringLiteral("EgyszeruId"));
        QCOMPARE(tables::def(tables::tulajdonos).fields[1].kind, FieldKind::Int32);
    }

    void appendPostTwiceAndIds()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        c.open();
        QCOMPARE(c.recordCount(), 0);
        // An empty cursor reads as empty text, 0 and false, calculated fields included.
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QString());
        QCOMPARE(c.number(QStringLiteral("Ar")), 0.0);
        QCOMPARE(c.boolean(QStringLiteral("Web")), false);
        QCOMPARE(c.text(QStringLiteral("CimTeljes")), QString());

        c.append();
        c.setValue(QStringLiteral("Azonosito"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY")); // 25
        c.post();
        const int id = c.integer(QStringLiteral("Id"));
        QVERIFY(id > 0);
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        c.edit();
        c.setValue(QStringLiteral("Kep1"), QString::number(id) + QStringLiteral("-1.jpg"));
        c.post();
        QCOMPARE(c.recordCount(), 1);
        QCOMPARE(c.integer(QStringLiteral("Id")), id);
        QCOMPARE(c.text(QStringLiteral("Kep1")), QString::number(id) + QStringLiteral("-1.jpg"));

        // Ids are never reused, not even after the highest one is deleted.
        addProperty(c, QStringLiteral("B"), 1);
        const int second = c.integer(QStringLiteral("Id"));
        c.remove();
        addProperty(c, QStringLiteral("C"), 1);
        QVERIFY(c.integer(QStringLiteral("Id")) > second);
    }

    void calculatedFields()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        addProperty(c, QStringLiteral("X"), 12500000, QStringLiteral("Szeged"));
        QCOMPARE(c.text(QStringLiteral("CimTeljes")), QStringLiteral(" Szeged,    "));
        QCOMPARE(c.text(QStringLiteral("PrintText")), QString());
        QCOMPARE(c.text(QStringLiteral("ArText")).replace(QChar(0xa0), QLatin1Char(' ')),
                 QStringLiteral("12 500 000 Ft"));
        c.setValue(QStringLiteral("Print"), true);
        c.post();
        QCOMPARE(c.text(QStringLiteral("PrintText")), QStringLiteral("Igen"));

        Cursor owners(db, tables::archivtulaj, false);
        owners.append();
        owners.setValue(QStringLiteral("Irsz"), QStringLiteral("67201")); // cut to 4
        owners.setValue(QStringLiteral("Varos"), QStringLiteral("Hódmezővásárhely"));
        owners.setValue(QStringLiteral("Utca"), QStringLiteral("Kossuth tér 1."));
        owners.post();
        QCOMPARE(owners.text(QStringLiteral("Irsz")), QStringLiteral("6720"));
        QCOMPARE(owners.text(QStringLiteral("Cim")), QStringLiteral("6720 Hódmezővásárhel"));
        QCOMPARE(owners.text(QStringLiteral("Cim")).size(), 20);
    }

    void windows1250Mapping()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::hirek, false);
        c.append();
        c.setValue(QStringLiteral("Uzenet"), QStringLiteral("Őrült űrhajó € – 日本 😀"));
        c.post();
        QCOMPARE(c.text(QStringLiteral("Uzenet")), QStringLiteral("Őrült űrhajó € – ?? ?"));
    }

    void deleteMovesToFollowing()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        for (int i = 1; i <= 4; ++i)
            addProperty(c, QStringLiteral("P%1").arg(i), i * 10);
        c.first();
        c.next();
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("P2"));
        c.remove();
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("P3"));
        c.last();
        c.remove();
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("P3"));
        QCOMPARE(c.recordCount(), 2);

        // Deleting the last record of a filtered view leaves an empty view that reads empty.
        c.setFilterText(QStringLiteral("Azonosito = 'p3'"));
        c.setFiltered(true);
        QCOMPARE(c.recordCount(), 1);
        c.remove();
        QCOMPARE(c.recordCount(), 0);
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QString());
        QCOMPARE(c.number(QStringLiteral("Ar")), 0.0);
        c.setFiltered(false);
        QCOMPARE(c.recordCount(), 1);
    }

    void navigationAndFilterSwitch()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        addProperty(c, QStringLiteral("B"), 300);
        addProperty(c, QStringLiteral("A"), 100);
        addProperty(c, QStringLiteral("C"), 200);
        c.first();
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("B")); // stored order
        c.setIndexName(QStringLiteral("iar"));
        c.first();
        QStringList order;
        while (!c.atEnd()) {
            order << c.text(QStringLiteral("Azonosito"));
            c.next();
        }
        QCOMPARE(order,
                 QStringList({QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("B")}));
        QCOMPARE(c.text(QStringLiteral("Azonosito")),
                 QStringLiteral("B")); // next on the last stays
        c.setIndexName(QStringLiteral("iazonosito"));
        c.first();
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("A"));

        // The filter text stays while filtering is off and applies only while it is on.
        c.setFilterText(QStringLiteral("Ar >= 150"));
        QCOMPARE(c.recordCount(), 3);
        c.setFiltered(true);
        QCOMPARE(c.recordCount(), 2);
        QCOMPARE(c.filterText(), QStringLiteral("Ar >= 150"));
        c.setFilterText(QString());
        QCOMPARE(c.recordCount(), 3);
    }

    void postLeavingTheFilterHandsOn()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        for (int i = 1; i <= 5; ++i) {
            addProperty(c, QStringLiteral("P%1").arg(i), i);
            c.setValue(QStringLiteral("Print"), i != 3);
            c.post();
        }
        c.setFilterText(QStringLiteral("Print = True"));
        c.setFiltered(true);
        c.first();
        const int n = c.recordCount();
        QCOMPARE(n, 4);
        // Clearing the flag one record at a time: each post hands the place to the next.
        for (int i = 0; i < n; ++i) {
            c.edit();
            c.setValue(QStringLiteral("Print"), false);
            c.post();
        }
        QCOMPARE(c.recordCount(), 0);
    }

    void locateAndOtherCursorsWrites()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor a(db, tables::tulajdonos, false);
        Cursor b(db, tables::tulajdonos, false);
        for (int i = 1; i <= 3; ++i) {
            a.append();
            a.setValue(QStringLiteral("EgyszeruId"), 40000 + i);
            a.setValue(QStringLiteral("Nev"), QStringLiteral("Owner %1").arg(i));
            a.post();
        }
        b.open();
        QCOMPARE(b.recordCount(), 3);
        QVERIFY(b.locate(QStringLiteral("Egyszeruid = 40002")));
        QCOMPARE(b.text(QStringLiteral("Nev")), QStringLiteral("Owner 2"));
        QVERIFY(!b.locate(QStringLiteral("EgyszeruId = 7")));
        QCOMPARE(b.text(QStringLiteral("Nev")), QStringLiteral("Owner 2"));
        // A record added through another cursor shows in this one's count at once.
        a.append();
        a.setValue(QStringLiteral("Nev"), QStringLiteral("Owner 4"));
        a.post();
        QCOMPARE(b.recordCount(), 4);
        QCOMPARE(b.text(QStringLiteral("Nev")), QStringLiteral("Owner 2"));
    }

    void copyRecordsAndTransactions()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor owners(db, tables::tulajdonos, false);
        Cursor archived(db, tables::archivtulaj, false);
        for (int i = 1; i <= 3; ++i) {
            owners.append();
            owners.setValue(QStringLiteral("Nev"), QStringLiteral("O%1").arg(i));
            owners.post();
        }
        owners.first();
        owners.next();
        QCOMPARE(owners.copyRecords(archived, 1), 1);
        QCOMPARE(archived.text(QStringLiteral("Nev")), QStringLiteral("O2"));
        QCOMPARE(owners.copyRecords(archived, 0), 3);
        QCOMPARE(archived.recordCount(), 4);

        {
            Database::Transaction unit(db);
            owners.first();
            owners.remove();
            archived.last();
            archived.remove();
            QCOMPARE(owners.recordCount(), 2);
        } // not committed: both deletions undone
        QCOMPARE(owners.recordCount(), 3);
        QCOMPARE(archived.recordCount(), 4);
        {
            Database::Transaction unit(db);
            owners.first();
            owners.remove();
            unit.commit();
        }
        QCOMPARE(owners.recordCount(), 2);
    }

    void reopenKeepsData()
    {
        TempDataDir dir;
        {
            Database db(dir.path());
            Cursor c(db, tables::erdeklodok, false);
            c.append();
            c.setValue(QStringLiteral("When"), QDateTime(QDate(2026, 12, 9), QTime(10, 11, 12)));
            c.setValue(QStringLiteral("IngatlanId"), 7);
            c.post();
        }
        Database db(dir.path());
        QVERIFY(!db.createdNow());
        Cursor c(db, tables::erdeklodok, false);
        c.setFilterText(QStringLiteral("IngatlanId = 7"));
        c.setFiltered(true);
        QCOMPARE(c.recordCount(), 1);
        QCOMPARE(c.dateTime(QStringLiteral("When")),
                 QDateTime(QDate(2026, 12, 9), QTime(10, 11, 12)));
        QVERIFY_THROWS_EXCEPTION(StoreError, c.setFilterText(QStringLiteral("Nincs = 1")));
    }

    void scanReadsTheViewInOrder()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        addProperty(c, QStringLiteral("C"), 300, QStringLiteral("Pécs"));
        addProperty(c, QStringLiteral("A"), 100, QStringLiteral("Győr"));
        addProperty(c, QStringLiteral("B"), 200, QStringLiteral("Pécs"));
        c.setIndexName(QStringLiteral("iar"));
        c.setFilterText(QStringLiteral("CimVaros = 'pécs'"));
        c.setFiltered(true);
        c.last();
        QStringList seen;
        const int visited =
            c.scan({QStringLiteral("Azonosito"), QStringLiteral("Ar")}, [&](const Record &r) {
                // Fields not asked for read as empty.
                QCOMPARE(r.text(QStringLiteral("CimVaros")), QString());
                seen << r.text(QStringLiteral("Azonosito")) +
                        QString::number(r.number(QStringLiteral("Ar")));
            });
        QCOMPARE(visited, 2);
        QCOMPARE(seen, (QStringList {QStringLiteral("B200"), QStringLiteral("C300")}));
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("C")); // did not move
        c.setFiltered(false);
        QCOMPARE(
            c.scan({},
                   [](const Record &r) { QVERIFY(!r.text(QStringLiteral("CimVaros")).isEmpty()); }),
            3);
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 c.scan({QStringLiteral("Nincs")}, [](const Record &) {}));
    }
};

QTEST_GUILESS_MAIN(TestCursor)
#include "test_cursor.moc"
