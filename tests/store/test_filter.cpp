#include "store/cursor.h"
#include "store/database.h"
#include "store/filter.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/support/tempdatadir.h"

#include <QtTest>

// Filter texts as the windows build them, evaluated both through SQL on a real table and
// directly on records: the two must agree on every case.
class TestFilter : public QObject
{
    Q_OBJECT

private slots:
    void evaluation_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("caseInsensitive");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");

        const QString e = tables::egyszeru;
        const QString o = tables::tulajdonos;
        QTest::newRow("price range") << e << true << "(Ar >= 0 and Ar <= 9999999999)"
                                     << QStringList {"A1", "a2", "Ó'3", "X4", "Y5"};
        QTest::newRow("bounds inclusive")
            << e << true << "Ar >= 200 and Ar <= 300" << QStringList {"a2", "Ó'3"};
        QTest::newRow("identifier ignores case")
            << e << true << "Azonosito='A2'" << QStringList {"a2"};
        QTest::newRow("identifier whole value") << e << true << "Azonosito='A'" << QStringList {};
        QTest::newRow("doubled apostrophe")
            << e << true << "Azonosito = 'ó''3'" << QStringList {"Ó'3"};
        QTest::newRow("prefix folds accents' case")
            << e << true << "CimVaros='BUDA*'" << QStringList {"A1", "a2"};
        QTest::newRow("prefix ő/Ő ű/Ű")
            << e << true << "CimVaros='őrszentmikló*'" << QStringList {"X4"};
        QTest::newRow("prefix with long ű")
            << e << true << "TipusText='ÜZLETHELYISÉG*'" << QStringList {"Y5"};
        QTest::newRow("empty prefix admits all")
            << e << true << "TipusText='*' and Ar <= 100" << QStringList {"A1"};
        QTest::newRow("and before or")
            << e << true << "Ar = 100 or Ar = 500 and Web = True" << QStringList {"A1", "Y5"};
        QTest::newRow("parentheses")
            << e << true << "(Ar = 100 or Ar = 500) and Web = True" << QStringList {"Y5"};
        QTest::newRow("boolean never written")
            << e << true << "(Web = True or Apro = True) and Feltoltve = False"
            << QStringList {"Y5"};
        QTest::newRow("number against text") << e << true << "CimIrsz = 1051" << QStringList {"A1"};
        QTest::newRow("text field names any case")
            << e << true << "cimirsz = '2030'" << QStringList {"a2", "Y5"};
        QTest::newRow("owners case-sensitive") << o << false << "Nev = 'kovács'" << QStringList {};
        QTest::newRow("owners exact") << o << false << "Nev = 'Kovács'" << QStringList {"Kovács"};
        QTest::newRow("owners prefix case-sensitive")
            << o << false << "Nev = 'Ko*'" << QStringList {"Kovács"};
        QTest::newRow("32-bit owner link")
            << o << false << "Egyszeruid = 40000" << QStringList {"Kovács"};
    }

    void evaluation()
    {
        QFETCH(QString, table);
        QFETCH(bool, caseInsensitive);
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);

        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, table, caseInsensitive);
        const QString nameField =
            table == tables::egyszeru ? QStringLiteral("Azonosito") : QStringLiteral("Nev");
        if (table == tables::egyszeru) {
            struct Row
            {
                const char *id, *varos, *tipus, *irsz;
                double ar;
                bool web;
            };
            const Row rows[] = {
                {"A1", "Budapest", "Családi ház", "1051", 100, false},
                {"a2", "Budaörs", "Lakás", "2030", 200, false},
                {"Ó'3", "Szeged", "Lakás", "6720", 300, false},
                {"X4", "Őrszentmiklós", "Telek", "2160", 400, false},
                {"Y5", "Érd", "Üzlethelyiség", "2030", 500, true},
            };
            for (const Row &row : rows) {
                c.append();
                c.setValue(QStringLiteral("Azonosito"), QString::fromUtf8(row.id));
                c.setValue(QStringLiteral("CimVaros"), QString::fromUtf8(row.varos));
                c.setValue(QStringLiteral("TipusText"), QString::fromUtf8(row.tipus));
                c.setValue(QStringLiteral("CimIrsz"), QString::fromUtf8(row.irsz));
                c.setValue(QStringLiteral("Ar"), row.ar);
                c.setValue(QStringLiteral("Web"), row.web);
                c.post();
            }
        } else {
            c.append();
            c.setValue(QStringLiteral("Nev"), QStringLiteral("Kovács"));
            c.setValue(QStringLiteral("EgyszeruId"), 40000);
            c.post();
        }

        const Filter parsed = Filter::parse(filter);
        QStringList byRecord;
        c.first();
        while (!c.atEnd() && c.recordCount() > 0) {
            if (parsed.matches(c.record(), caseInsensitive))
                byRecord << c.text(nameField);
            c.next();
        }
        c.setFilterText(filter);
        c.setFiltered(true);
        QStringList bySql;
        for (c.first(); !c.atEnd() && c.recordCount() > 0; c.next())
            bySql << c.text(nameField);
        QCOMPARE(bySql, expected);
        QCOMPARE(byRecord, expected);
    }

    void malformed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("unclosed quote") << "Azonosito = 'abc";
        QTest::newRow("missing operator") << "Azonosito 'abc'";
        QTest::newRow("missing paren") << "(Ar >= 1";
        QTest::newRow("dangling and") << "Ar >= 1 and";
        QTest::newRow("bad number") << "Ar >= 1x";
        QTest::newRow("injection attempt") << "Azonosito = 'x' ; DROP TABLE egyszeru";
        QTest::newRow("nested beyond the stack")
            << QString(10000, u'(') + "Ar >= 1" + QString(10000, u')');
        QTest::newRow("unclosed deep nesting") << QString(100000, u'(');
    }

    void malformed()
    {
        QFETCH(QString, text);
        QVERIFY_THROWS_EXCEPTION(StoreError, Filter::parse(text));
    }

    // Nesting as deep as any typed filter still parses, and the message about a pasted one stays
    // short enough to read.
    void nesting()
    {
        const QString deep = QString(40, u'(') + "Ar >= 1 or Web = True" + QString(40, u')');
        const Filter f = Filter::parse(deep);
        QCOMPARE(f.root()->type, Filter::Node::Type::Or);
        try {
            Filter::parse(QString(10000, u'(') + "Ar >= 1" + QString(10000, u')'));
            QFAIL("a filter nested 10000 deep was accepted");
        } catch (const StoreError &e) {
            QVERIFY(e.message().contains(QStringLiteral("zárójel")));
            QVERIFY(e.message().size() < 400);
        }
    }

    void quoting()
    {
        QCOMPARE(Filter::quote(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
        const Filter f = Filter::parse(QStringLiteral("Azonosito = ") +
                                       Filter::quote(QStringLiteral("it's '' odd")));
        QCOMPARE(f.root()->constant.text, QStringLiteral("it's '' odd"));
    }
};

QTEST_GUILESS_MAIN(TestFilter)
#include "test_filter.moc"
