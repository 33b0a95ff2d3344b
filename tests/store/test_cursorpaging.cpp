#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"

#include <QSet>
#include <QSqlQuery>
#include <QtTest>

// Reading far into a view, several chunks deep, in every order the property table has: what
// the cursor hands out must be exactly what one plain ordered query returns, ties and empty
// keys included, whichever way the cursor got there.
class TestCursorPaging : public QObject
{
    Q_OBJECT

private:
    static constexpr int propertyCount = 2300;

    // Texts that sort together: the same word in other cases and accents, and empty ones.
    static QString variant(const QStringList &words, int i) { return words[i % words.size()]; }

    static void fillRegister(Database &db)
    {
        const QStringList ids {QStringLiteral("Ábel"), QStringLiteral("abel"),
                               QStringLiteral("ÁBEL"), QStringLiteral("Abel"), QString()};
        const QStringList types {QStringLiteral("Lakás"),       QStringLiteral("lakás"),
                                 QStringLiteral("LAKAS"),       QStringLiteral("Családi ház"),
                                 QStringLiteral("családi ház"), QString()};
        const QStringList towns {QStringLiteral("Győr"),      QStringLiteral("GYŐR"),
                                 QStringLiteral("Gyor"),      QStringLiteral("Ózd"),
                                 QStringLiteral("Őrbottyán"), QStringLiteral("orbottyan"),
                                 QStringLiteral("Pécs"),      QString()};
        Cursor c(db, tables::egyszeru, true);
        c.open();
        Database::Transaction unit(db);
        for (int i = 0; i < propertyCount; ++i) {
            c.append();
            // Identifiers are unique, as the office server holds them; their order falls into
            // ties below.
            c.setValue(QStringLiteral("Azonosito"), variant(ids, i / 3) + QString::number(i));
            c.setValue(QStringLiteral("TipusText"), variant(types, i / 5));
            c.setValue(QStringLiteral("CimVaros"), variant(towns, i / 2));
            // Prices repeat: long runs of equal prices across chunk boundaries.
            c.setValue(QStringLiteral("Ar"), double((i * 7919) % 23) * 1000000.0);
            c.post();
        }
        unit.commit();
        // Records from before a column was added hold NULL in it, which sorts apart from an
        // empty text or a zero. The groups are of different sizes, so that reading starts inside
        // them, at their edge and beyond them.
        // Every seventh identifier sorts alone, the rest fall into a few large ties.
        db.exec(QStringLiteral("UPDATE \"egyszeru\" SET \"Azonosito_k\" = \"TipusText_k\" WHERE "
                               "rowid % 7 <> 0"));
        db.exec(QStringLiteral("UPDATE \"egyszeru\" SET \"Ar\" = NULL WHERE rowid % 3 = 0"));
        db.exec(
            QStringLiteral("UPDATE \"egyszeru\" SET \"TipusText_k\" = NULL WHERE rowid % 7 = 0"));
        db.exec(
            QStringLiteral("UPDATE \"egyszeru\" SET \"Azonosito_k\" = NULL WHERE rowid % 13 = 0"));
        db.exec(
            QStringLiteral("UPDATE \"egyszeru\" SET \"CimVaros_k\" = NULL WHERE rowid % 29 = 0"));
        db.exec(QStringLiteral("UPDATE \"egyszeru\" SET \"CimVaros_k\" = '', \"Azonosito_k\" = '', "
                               "\"TipusText_k\" = '' WHERE rowid % 17 = 0"));
        db.tableChanged(tables::egyszeru);
    }

    static QString orderColumn(const QString &index)
    {
        if (index == QLatin1String("iar"))
            return QStringLiteral("\"Ar\"");
        if (index == QLatin1String("iazonosito"))
            return QStringLiteral("\"Azonosito_k\"");
        if (index == QLatin1String("itipustext"))
            return QStringLiteral("\"TipusText_k\"");
        if (index == QLatin1String("ivaros"))
            return QStringLiteral("\"CimVaros_k\"");
        return {};
    }

    // The view as one plain query spells it: empty values first, as SQLite sorts them.
    static QList<qint64> plainOrder(Database &db, const QString &index, const QString &where)
    {
        const QString column = orderColumn(index);
        QSqlQuery query =
            db.query(QStringLiteral("SELECT rowid FROM \"egyszeru\"") +
                     (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where) +
                     QStringLiteral(" ORDER BY ") +
                     (column.isEmpty() ? QString() : column + QStringLiteral(" NULLS FIRST, ")) +
                     QStringLiteral("rowid"));
        QList<qint64> ids;
        while (query.next())
            ids << query.value(0).toLongLong();
        return ids;
    }

    static void useView(Cursor &c, const QString &index, const QString &filter)
    {
        c.open();
        c.setIndexName(index);
        c.setFilterText(filter);
        c.setFiltered(!filter.isEmpty());
    }

private slots:
    void everyOrderReadsAsThePlainQuery_data()
    {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("where");
        const QStringList indexes {QString(), QStringLiteral("iar"), QStringLiteral("iazonosito"),
                                   QStringLiteral("itipustext"), QStringLiteral("ivaros")};
        for (const QString &index : indexes) {
            const QString name = index.isEmpty() ? QStringLiteral("stored") : index;
            QTest::newRow(qPrintable(name)) << index << QString() << QString();
            QTest::newRow(qPrintable(name + QStringLiteral(", price filter")))
                << index << QStringLiteral("Ar >= 5000000") << QStringLiteral("\"Ar\" >= 5000000");
            QTest::newRow(qPrintable(name + QStringLiteral(", text filter")))
                << index << QStringLiteral("TipusText = 'lak*'")
                << QStringLiteral("\"TipusText_f\" LIKE 'lak%'");
        }
    }

    void everyOrderReadsAsThePlainQuery()
    {
        QFETCH(QString, index);
        QFETCH(QString, filter);
        QFETCH(QString, where);
        TempDataDir dir;
        Database db(dir.path());
        fillRegister(db);
        const QList<qint64> expected = plainOrder(db, index, where);
        QVERIFY(expected.size() > 1000); // several chunks deep
        QCOMPARE(QSet<qint64>(expected.begin(), expected.end()).size(), expected.size());

        Cursor c(db, tables::egyszeru, true);
        useView(c, index, filter);
        QCOMPARE(c.recordCount(), expected.size());

        // Forward to the end, one record at a time.
        QList<qint64> forward;
        for (c.first(); !c.atEnd(); c.next())
            forward << c.record().rowId;
        QCOMPARE(forward, expected);

        // Backward from the last, every chunk sought from the one after it.
        Cursor back(db, tables::egyszeru, true);
        useView(back, index, filter);
        back.last();
        QList<qint64> backward {back.record().rowId};
        while (back.position() > 0) {
            back.prior();
            backward.prepend(back.record().rowId);
        }
        QCOMPARE(backward, expected);

        // Jumps far into a fresh view, then reading on both ways.
        Cursor jumper(db, tables::egyszeru, true);
        useView(jumper, index, filter);
        const int middle = int(expected.size()) / 2 + 77;
        jumper.moveTo(middle);
        QCOMPARE(jumper.record().rowId, expected[middle]);
        for (int at = middle + 1; at < middle + 450; ++at) {
            jumper.next();
            QCOMPARE(jumper.record().rowId, expected[at]);
        }
        for (int at = middle + 448; at > middle - 450; --at) {
            jumper.prior();
            QCOMPARE(jumper.record().rowId, expected[at]);
        }
        // Random access, far and near, in no order, each list on a fresh view: reading starts
        // from either end or from a chunk read before, skipping rows on the way.
        const int last = int(expected.size()) - 1;
        for (const QList<int> &positions :
             {QList<int> {900, 450}, QList<int> {3, 650},
              QList<int> {last, last - 200, 999, 1000, 199, 200, 601, 401}}) {
            Cursor random(db, tables::egyszeru, true);
            useView(random, index, filter);
            for (const int at : positions)
                QCOMPARE(random.recordAt(at).rowId, expected[at]);
        }
        jumper.last();
        QCOMPARE(jumper.record().rowId, expected.back());
        QCOMPARE(jumper.position(), expected.size() - 1);

        // The place of a record found by value, NULL and empty keys included.
        for (const int at : {0, 5, int(expected.size()) / 3, int(expected.size()) - 1}) {
            QVERIFY(jumper.locate(QStringLiteral("Id = %1").arg(expected[at])));
            QCOMPARE(jumper.position(), at);
        }
    }

    // Every stored value the cursor hands out while stepping through the view is the one Qt
    // SQL reads from the same column, whatever the column holds: texts with accents and line
    // breaks, NULLs, numbers where a text belongs and a text where a number belongs, bytes that
    // are no valid UTF-8. Calculated fields follow the stored ones.
    void valuesReadAsThePlainQuery()
    {
        // Values of the wrong type and bytes that are no UTF-8: the server refuses to hold them.
        PELMORA_SQLITE_ONLY();
        TempDataDir dir;
        Database db(dir.path());
        fillRegister(db);
        db.exec(QStringLiteral("UPDATE \"egyszeru\" SET \"LeirasMagyar\" = 'Első sor' || "
                               "char(13, 10) || 'Második: őű' WHERE rowid % 4 = 0"));
        db.exec(QStringLiteral("UPDATE \"egyszeru\" SET \"Web\" = 1, \"Print\" = 1, "
                               "\"Szoba\" = rowid % 9, \"MinimumAr\" = rowid * 0.5 "
                               "WHERE rowid % 5 = 0"));
        db.exec(QStringLiteral("UPDATE \"egyszeru\" SET \"Kulcs\" = NULL, \"CimUtca\" = NULL, "
                               "\"Szoba\" = NULL WHERE rowid % 6 = 0"));
        db.exec(QStringLiteral("UPDATE \"egyszeru\" SET \"Szoba\" = 'sok', \"Garazs\" = "
                               "4294967297, \"CimUtca\" = 42, \"Ar\" = 3 WHERE rowid % 11 = 0"));
        db.exec(QStringLiteral("UPDATE \"egyszeru\" SET \"CimHazszam\" = CAST(x'41c3' || "
                               "x'ff42' AS TEXT) WHERE rowid % 19 = 0"));
        db.tableChanged(tables::egyszeru);
        const TableDef &def = tables::def(tables::egyszeru);

        QHash<qint64, QVariantList> expected;
        QSqlQuery plain = db.query(QStringLiteral("SELECT * FROM \"egyszeru\""));
        while (plain.next()) {
            QVariantList values;
            for (const FieldDef &field : def.fields)
                values << fromColumn(field.kind, plain.value(field.name));
            expected.insert(plain.value(QStringLiteral("Id")).toLongLong(), values);
        }

        Cursor c(db, tables::egyszeru, true);
        useView(c, QStringLiteral("iar"), QString());
        int visited = 0;
        for (c.first(); !c.atEnd(); c.next(), ++visited) {
            const Record r = c.record();
            const QVariantList &values = expected[r.rowId];
            QCOMPARE(values.size(), def.fields.size());
            for (int i = 0; i < def.fields.size(); ++i) {
                QCOMPARE(r.value(i).typeId(), values[i].typeId());
                QCOMPARE(r.value(i), values[i]);
            }
            QCOMPARE(c.text(QStringLiteral("PrintText")),
                     values[def.fieldIndex(QStringLiteral("Print"))].toBool()
                         ? QStringLiteral("Igen")
                         : QString());
        }
        QCOMPARE(visited, expected.size());
    }

    void writesBetweenChunkReads()
    {
        TempDataDir dir;
        Database db(dir.path());
        fillRegister(db);
        Cursor c(db, tables::egyszeru, true);
        useView(c, QStringLiteral("iar"), QString());
        Cursor other(db, tables::egyszeru, true);
        other.open();

        auto readsAsPlain = [&](int from, int to) {
            const QList<qint64> expected = plainOrder(db, QStringLiteral("iar"), QString());
            QCOMPARE(c.recordCount(), expected.size());
            for (int at = from; at < to; ++at)
                QCOMPARE(c.recordAt(at).rowId, expected[at]);
        };

        c.moveTo(1100);
        readsAsPlain(1000, 1200);
        // Another cursor appends a record that sorts before the chunks read so far.
        other.append();
        other.setValue(QStringLiteral("Azonosito"), QStringLiteral("új"));
        other.setValue(QStringLiteral("Ar"), 1.0);
        other.post();
        readsAsPlain(1150, 1450);

        // One record of the chunk read changes its price and moves far away.
        const qint64 moved = c.recordAt(1300).rowId;
        QVERIFY(other.locate(QStringLiteral("Id = %1").arg(moved)));
        other.setValue(QStringLiteral("Ar"), 99000000.0);
        other.post();
        readsAsPlain(1250, 1500);
        QCOMPARE(c.recordAt(c.recordCount() - 1).rowId, moved);

        // Records go from before the place read and from the landmark chunk itself.
        for (const int at : {10, 1480, 1481}) {
            QVERIFY(other.locate(QStringLiteral("Id = %1").arg(c.recordAt(at).rowId)));
            other.remove();
        }
        readsAsPlain(1400, 1700);
        // The cursor's own current record stays current through the others' writes.
        const qint64 current = c.record().rowId;
        c.next();
        c.prior();
        QCOMPARE(c.record().rowId, current);
        readsAsPlain(0, c.recordCount());
    }
};

QTEST_GUILESS_MAIN(TestCursorPaging)
#include "test_cursorpaging.moc"
