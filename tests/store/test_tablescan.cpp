#include "store/bulkwrite.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/filter.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/tablescan.h"
#include "tests/support/errorof.h"
#include "tests/support/tempdatadir.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

// The whole-table reader and the whole-set writes: the records a filter selects, with only the
// columns asked for, and nothing typed ever taken for SQL.
class TestTableScan : public QObject
{
    Q_OBJECT

    static void addProperty(Cursor &c, const QString &azonosito, double ar, const QString &varos)
    {
        c.append();
        c.setValue(QStringLiteral("Azonosito"), azonosito);
        c.setValue(QStringLiteral("Ar"), ar);
        c.setValue(QStringLiteral("CimVaros"), varos);
        c.post();
    }
    struct Property
    {
        const char *azonosito;
        double ar;
        const char *varos;
    };
    // A register of the given properties, entered through a cursor as a user would.
    struct Register
    {
        TempDataDir dir;
        Database db {dir.path()};
        Cursor c {db, tables::egyszeru, true};
        explicit Register(std::initializer_list<Property> properties)
        {
            for (const Property &p : properties)
                addProperty(c, QString::fromUtf8(p.azonosito), p.ar, QString::fromUtf8(p.varos));
        }
    };
    static Selection filtered(const QString &filterText)
    {
        Selection selection(tables::def(tables::egyszeru));
        selection.addFilter(Filter::parse(filterText), true);
        return selection;
    }
    static QStringList read(Database &db, const Selection &selection, const QStringList &columns)
    {
        QStringList out;
        tablescan::scan(db, selection, columns, [&](const tablescan::Row &row) {
            QStringList values;
            for (int i = 0; i < columns.size(); ++i)
                values << row.value(i).toString();
            out << values.join(QLatin1Char('|'));
        });
        return out;
    }

private slots:
    void readsTheSelectedColumns()
    {
        Register r(
            {{"P-3", 300, "D'Arcy-liget"}, {"P-1", 100, "Győr"}, {"P-2", 200, "d'arcy-LIGET"}});
        Database &db = r.db;
        const QStringList columns {QStringLiteral("Azonosito"), QStringLiteral("CimVaros_f")};

        QCOMPARE(read(db, Selection(tables::def(tables::egyszeru)), columns),
                 (QStringList {"P-3|d'arcy-liget", "P-1|győr", "P-2|d'arcy-liget"}));
        // A filter with an apostrophe and a prefix, case-blind, in a named index's order.
        Selection sel = filtered(QStringLiteral("CimVaros = 'D''ARCY*' and Ar >= 150"));
        sel.setIndexName(QStringLiteral("iar"));
        QCOMPARE(read(db, sel, columns), (QStringList {"P-2|d'arcy-liget", "P-3|d'arcy-liget"}));
        // Typed text that looks like SQL only ever selects by its value.
        QCOMPARE(read(db, filtered(QStringLiteral("CimVaros = 'x'' OR 1=1 --'")), columns),
                 QStringList());

        // Only the fields of the table, and the folded copies of the searched ones.
        for (const QString &column :
             {QStringLiteral("Nincs"), QStringLiteral("CimUtca_f"), QStringLiteral("rowid"),
              QStringLiteral("Ar\" FROM egyszeru; --")})
            QVERIFY(!errorOf([&] {
                         read(db, Selection(tables::def(tables::egyszeru)), {column});
                     }).isEmpty());
    }

    // A visitor that reads the register meanwhile, as a report reading a property's owners or
    // a progress window letting a refresh in does, still sees every record of the scan.
    void visitorMayReadMeanwhile()
    {
        Register r({{"P-1", 100, "Győr"}, {"P-2", 200, "Pécs"}, {"P-3", 300, "Eger"}});
        QStringList seen;
        tablescan::scan(r.db, Selection(tables::def(tables::egyszeru)),
                        {QStringLiteral("Azonosito")}, [&](const tablescan::Row &row) {
                            seen << row.value(0).toString();
                            Cursor other(r.db, tables::egyszeru, true);
                            other.open();
                            QCOMPARE(other.recordCount(), 3);
                        });
        QCOMPARE(seen, (QStringList {"P-1", "P-2", "P-3"}));
    }

    // A column never written reads as the field's empty value, and can be told from one that
    // was written.
    void unwrittenColumnsAreNull()
    {
        TempDataDir dir;
        Database db(dir.path());
        db.exec(QStringLiteral("INSERT INTO egyszeru (\"Azonosito\") VALUES ('N')"));
        int visited = 0;
        tablescan::scan(db, Selection(tables::def(tables::egyszeru)),
                        {QStringLiteral("Ar"), QStringLiteral("Web"), QStringLiteral("Azonosito")},
                        [&](const tablescan::Row &row) {
                            ++visited;
                            QVERIFY(row.isNull(0));
                            QCOMPARE(row.value(0), QVariant(0.0));
                            QCOMPARE(row.value(1), QVariant(false));
                            QVERIFY(!row.isNull(2));
                            QVERIFY(row.rowId() > 0);
                        });
        QCOMPARE(visited, 1);
    }

    void setFieldWritesTheWholeSetAtOnce()
    {
        Register r({{"A", 100, "Pécs"}, {"B", 200, "PÉCS"}, {"C", 300, "Győr"}});
        Database &db = r.db;
        Cursor &c = r.c;
        c.first();
        QSignalSpy heard(&db, &Database::changed);
        QSignalSpy views(&c, &Cursor::viewChanged);
        const int changed =
            bulkwrite::setField(db, filtered(QStringLiteral("CimVaros = 'pécs'")),
                                QStringLiteral("CimVaros"), QStringLiteral("Szőlőhegy-alsó ☃"));
        QCOMPARE(changed, 2);
        QCOMPARE(heard.count(), 1);
        QVERIFY(views.count() > 0);
        // Written as a post writes it: cleaned, and with its folded copy, so the searches
        // find it.
        QCOMPARE(c.text(QStringLiteral("CimVaros")), QStringLiteral("Szőlőhegy-alsó ?"));
        c.setFilterText(QStringLiteral("CimVaros = 'SZŐLŐ*'"));
        c.setFiltered(true);
        QCOMPARE(c.recordCount(), 2);

        QCOMPARE(bulkwrite::remove(db, filtered(QStringLiteral("Ar <= 100"))), 1);
        QCOMPARE(c.recordCount(), 1);
        QVERIFY(!errorOf([&] {
                     bulkwrite::setField(db, filtered(QString()), QStringLiteral("Id"), 5);
                 }).isEmpty());
        QVERIFY(
            !errorOf([&] {
                 bulkwrite::setBooleans(db, tables::egyszeru, QStringLiteral("Ar"), {{1, true}});
             }).isEmpty());
    }

    // More records than one statement takes, each with its own value; a record named twice
    // keeps the last value, one not named keeps its own, and a save over a flagged record read
    // before is refused like any save over another's.
    void setBooleansWritesEachItsOwnValue()
    {
        Register r({});
        Database &db = r.db;
        Cursor &c = r.c;
        {
            Database::Transaction unit(db);
            for (int i = 1; i <= 1201; ++i)
                addProperty(c, QString::number(i), i, QStringLiteral("Eger"));
            unit.commit();
        }
        QVector<qint64> rowIds;
        for (int at = 0; at < c.recordCount(); ++at)
            rowIds << c.recordAt(at).rowId;
        bulkwrite::setBooleans(db, tables::egyszeru, QStringLiteral("Print"),
                               {{rowIds.last(), true}});
        c.locate(QStringLiteral("Azonosito = '3'"));
        c.edit();
        QVector<std::pair<qint64, bool>> values;
        for (int i = 0; i < 1200; ++i)
            values.append({rowIds[i], i % 3 == 0});
        values.append({rowIds[0], false});
        bulkwrite::setBooleans(db, tables::egyszeru, QStringLiteral("Print"), values);

        QSqlQuery marked = db.query(QStringLiteral("SELECT \"Azonosito\" FROM egyszeru WHERE "
                                                   "\"Print\" = ? ORDER BY \"Ar\""),
                                    {1});
        QStringList expected;
        for (int i = 3; i < 1200; i += 3)
            expected << QString::number(i + 1);
        expected << QStringLiteral("1201");
        QStringList found;
        while (marked.next())
            found << marked.value(0).toString();
        QCOMPARE(found, expected);
        c.setValue(QStringLiteral("CimVaros"), QStringLiteral("Pécs"));
        QVERIFY_THROWS_EXCEPTION(ConflictError, c.post());
    }
};

QTEST_GUILESS_MAIN(TestTableScan)
#include "test_tablescan.moc"
