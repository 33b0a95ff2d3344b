#include "buyers/matching.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/filter.h"
#include "store/tables.h"
#include "tests/support/tempdatadir.h"

#include <QRandomGenerator>
#include <QtTest>

// Which requests the register fits, checked against a real database file.
class TestMatching : public QObject
{
    Q_OBJECT

private:
    static void addProperty(Cursor &c, const QString &varos, const QString &tipus, double ar)
    {
        c.append();
        // Unique, as the office server holds identifiers.
        static int serial = 0;
        c.setValue(QStringLiteral("Azonosito"),
                   QStringLiteral("%1-%2-%3").arg(varos).arg(ar).arg(++serial));
        c.setValue(QStringLiteral("CimVaros"), varos);
        c.setValue(QStringLiteral("TipusText"), tipus);
        c.setValue(QStringLiteral("Ar"), ar);
        c.post();
    }

    static void addRequest(Cursor &c, const QString &telepules, const QString &tipus, double artol,
                           double arig, const QString &megye = {}, const QString &szoveg = {})
    {
        c.append();
        c.setValue(QStringLiteral("Nev"), QStringLiteral("Vevő"));
        c.setValue(QStringLiteral("Telepules"), telepules);
        c.setValue(QStringLiteral("TipusText"), tipus);
        c.setValue(QStringLiteral("Artol"), artol);
        c.setValue(QStringLiteral("Arig"), arig);
        c.setValue(QStringLiteral("CimMegye"), megye);
        c.setValue(QStringLiteral("Szoveg"), szoveg);
        c.setValue(QStringLiteral("Mikor"), QStringLiteral("2026. 03. 01. 10:00:00"));
        c.post();
    }

    static QList<bool> flags(Cursor &requests)
    {
        QList<bool> out;
        for (int i = 0; i < requests.recordCount(); ++i)
            out << requests.recordAt(i).boolean(QStringLiteral("Utkozes"));
        return out;
    }

    // What one filtered count of the property cursor says about a request.
    static bool fitsByFilter(Cursor &properties, const Record &request)
    {
        properties.setFilterText(matching::matchExpression(matching::criteriaOf(request)));
        properties.setFiltered(true);
        return properties.recordCount() > 0;
    }

private slots:
    void matchExpression_data()
    {
        QTest::addColumn<double>("artol");
        QTest::addColumn<double>("arig");
        QTest::addColumn<QString>("telepules");
        QTest::addColumn<QString>("tipus");
        QTest::addColumn<QString>("expression");

        QTest::newRow("all given")
            << 10000000.0 << 25000000.0 << "Szeged"
            << "Lakás"
            << "Ar >= 10000000 and Ar <= 25000000 and CimVaros = 'Szeged*' and "
               "TipusText = 'Lakás*'";
        QTest::newRow("no settlement") << 0.0 << 0.0 << ""
                                       << "Telek"
                                       << "Ar >= 0 and Ar <= 0 and TipusText = 'Telek*'";
        QTest::newRow("no type")
            << 5.0 << 7.0 << "buda"
            << ""
            << "Ar >= 5 and Ar <= 7 and CimVaros = 'buda*' and TipusText = '*'";
        QTest::newRow("apostrophes doubled") << 1.0 << 2.0 << "D'Arcy"
                                             << "Kúria 'A'"
                                             << "Ar >= 1 and Ar <= 2 and CimVaros = 'D''Arcy*' and "
                                                "TipusText = 'Kúria ''A''*'";
        QTest::newRow("fraction, no grouping")
            << 72.5 << 2147483647.0 << ""
            << "Lakás"
            << "Ar >= 72.5 and Ar <= 2147483647 and TipusText = 'Lakás*'";
        QTest::newRow("huge web amount in full")
            << -3.0 << 1e17 << ""
            << ""
            << "Ar >= -3 and Ar <= 100000000000000000 and TipusText = '*'";
    }

    void matchExpression()
    {
        QFETCH(double, artol);
        QFETCH(double, arig);
        QFETCH(QString, telepules);
        QFETCH(QString, tipus);
        QFETCH(QString, expression);
        const QString built = matching::matchExpression({artol, arig, telepules, tipus});
        QCOMPARE(built, expression);
        // Whatever a request holds, its expression is one the property cursor accepts.
        TempDataDir dir;
        Database db(dir.path());
        Cursor properties(db, tables::egyszeru, true);
        properties.setFilterText(built);
    }

    void fittingRules()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor properties(db, tables::egyszeru, true);
        Cursor requests(db, tables::erdeklodes, false);
        addProperty(properties, QStringLiteral("Budapest"), QStringLiteral("Lakás"), 10000000);
        addProperty(properties, QStringLiteral("Budaörs"), QStringLiteral("Családi ház"), 30000000);
        addProperty(properties, QStringLiteral("Szeged"), QStringLiteral("Panellakás"), 0);
        addProperty(properties, QStringLiteral("D'Arcy-liget"), QStringLiteral("Kúria 'A'"),
                    50000000);

        struct Case
        {
            const char *why;
            QString telepules;
            QString tipus;
            double artol, arig;
            bool fits;
            QString megye = {};
            QString szoveg = {};
        };
        const QList<Case> cases {
            {"lower bound inclusive", QStringLiteral("Budapest"), QStringLiteral("Lakás"), 10000000,
             20000000, true},
            {"upper bound inclusive", QStringLiteral("Budapest"), QStringLiteral("Lakás"), 5000000,
             10000000, true},
            {"just above the price", QStringLiteral("Budapest"), QStringLiteral("Lakás"), 10000001,
             20000000, false},
            {"just below the price", QStringLiteral("Budapest"), QStringLiteral("Lakás"), 0,
             9999999, false},
            {"an apostrophe request among the others", QStringLiteral("d'arcy"),
             QStringLiteral("kúria 'a"), 40000000, 60000000, true},
            {"buda fits Budaörs", QStringLiteral("buda"), QStringLiteral("Családi"), 0, 40000000,
             true},
            {"buda fits Budapest", QStringLiteral("BUDA"), QStringLiteral("LAKÁS"), 0, 40000000,
             true},
            {"budapest does not fit Budaörs", QStringLiteral("budapest"), QStringLiteral("Családi"),
             0, 40000000, false},
            {"settlement is a prefix, not a part", QStringLiteral("pest"), QStringLiteral(""), 0,
             1e9, false},
            {"no settlement: any settlement", QString(), QStringLiteral("Családi ház"), 0, 40000000,
             true},
            {"no type: any type", QStringLiteral("Szeged"), QString(), 0, 0, true},
            {"type is a prefix: Lakás is not Panellakás", QStringLiteral("Szeged"),
             QStringLiteral("Lakás"), 0, 0, false},
            {"upper left at 0 fits a price of 0 only", QString(), QStringLiteral("Pan"), 0, 0,
             true},
            {"upper left at 0 fits nothing else", QString(), QStringLiteral("Lak"), 0, 0, false},
            {"lower above upper fits nothing", QString(), QString(), 20000000, 10000000, false},
            {"county and text ignored", QStringLiteral("Budaörs"), QStringLiteral("Csa"), 30000000,
             30000000, true, QStringLiteral("Zala"), QStringLiteral("csak Szegeden, lakást")},
            {"an apostrophe that matches nothing", QStringLiteral("O'Brien"), QString(), 0, 1e9,
             false},
            {"settlement unknown", QStringLiteral("Zsámbék"), QString(), 0, 1e9, false},
        };
        for (const Case &c : cases)
            addRequest(requests, c.telepules, c.tipus, c.artol, c.arig, c.megye, c.szoveg);

        matching::utkoztet(requests, properties);
        const QList<bool> got = flags(requests);
        QCOMPARE(got.size(), cases.size());
        for (int i = 0; i < cases.size(); ++i) {
            QVERIFY2(got[i] == cases[i].fits, cases[i].why);
            QCOMPARE(fitsByFilter(properties, requests.recordAt(i)), cases[i].fits);
        }
    }

    void cursorsAfterRun()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor properties(db, tables::egyszeru, true);
        Cursor requests(db, tables::erdeklodes, false);
        addProperty(properties, QStringLiteral("Eger"), QStringLiteral("Lakás"), 100);
        addProperty(properties, QStringLiteral("Pécs"), QStringLiteral("Lakás"), 200);

        // With no requests the register stays unfiltered.
        properties.setFilterText(QStringLiteral("Ar = 100"));
        properties.setFiltered(true);
        matching::utkoztet(requests, properties);
        QVERIFY(!properties.filtered());
        QCOMPARE(properties.recordCount(), 2);
        QVERIFY(requests.isOpen());

        addRequest(requests, QStringLiteral("Eger"), QStringLiteral("Lakás"), 0, 1000);
        addRequest(requests, QStringLiteral("Pécs"), QString(), 0, 1000);
        addRequest(requests, QString(), QStringLiteral("Lak"), 150, 1000);
        requests.close();
        matching::utkoztet(requests, properties);
        QCOMPARE(flags(requests), (QList<bool> {true, true, true}));
        // The last request's expression stays in force on the register; the requests are left on
        // the last one, and nothing but the flag changed.
        QVERIFY(properties.filtered());
        QCOMPARE(properties.filterText(),
                 QStringLiteral("Ar >= 150 and Ar <= 1000 and TipusText = 'Lak*'"));
        QCOMPARE(properties.recordCount(), 1);
        QCOMPARE(properties.text(QStringLiteral("CimVaros")), QStringLiteral("Pécs"));
        QCOMPARE(requests.position(), 2);
        QCOMPARE(requests.recordAt(0).text(QStringLiteral("Mikor")),
                 QStringLiteral("2026. 03. 01. 10:00:00"));
        QCOMPARE(requests.valueOf(requests.recordAt(0), QStringLiteral("UtkozesText")).toString(),
                 QStringLiteral("X"));
        QCOMPARE(requests.text(QStringLiteral("UtkozesText")), QStringLiteral("X"));

        // A request edited and not yet posted is stored first and matched as edited; a flag goes
        // back to false once nothing fits any more.
        requests.moveTo(0);
        requests.setValue(QStringLiteral("Telepules"), QStringLiteral("Győr"));
        properties.setFiltered(false);
        properties.locate(QStringLiteral("CimVaros = 'Pécs'"));
        properties.remove();
        matching::utkoztet(requests, properties);
        QCOMPARE(requests.state(), Cursor::State::Browse);
        QCOMPARE(requests.recordAt(0).text(QStringLiteral("Telepules")), QStringLiteral("Győr"));
        QCOMPARE(flags(requests), (QList<bool> {false, false, false}));
        QCOMPARE(properties.recordCount(), 0);
    }

    // The shared work must answer every request exactly as one filtered count would, over names
    // that differ in case, accents and length.
    void sameAsOneCountPerRequest()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor properties(db, tables::egyszeru, true);
        Cursor requests(db, tables::erdeklodes, false);
        const QStringList places {
            QStringLiteral("Budapest"), QStringLiteral("Budaörs"), QStringLiteral("Buda"),
            QStringLiteral("ÉRD"),      QStringLiteral("Érd"),     QStringLiteral("Őrbottyán"),
            QStringLiteral("Ócsa"),     QStringLiteral("O'Brien"), QString()};
        const QStringList types {QStringLiteral("Lakás"),
                                 QStringLiteral("Lak"),
                                 QStringLiteral("Panellakás"),
                                 QStringLiteral("Családi ház"),
                                 QStringLiteral("ÜZLET"),
                                 QStringLiteral("Kúria 'A'"),
                                 QString()};
        const QStringList wanted {QString(),
                                  QStringLiteral("b"),
                                  QStringLiteral("BUDA"),
                                  QStringLiteral("budaö"),
                                  QStringLiteral("érd"),
                                  QStringLiteral("ő"),
                                  QStringLiteral("o"),
                                  QStringLiteral("o'"),
                                  QStringLiteral("lak"),
                                  QStringLiteral("LAKÁS"),
                                  QStringLiteral("ü"),
                                  QStringLiteral("kúria '"),
                                  QStringLiteral("x")};
        QRandomGenerator random(5);
        {
            Database::Transaction unit(db);
            for (int i = 0; i < 150; ++i) {
                addProperty(properties, places[random.bounded(static_cast<int>(places.size()))],
                            types[random.bounded(static_cast<int>(types.size()))],
                            1000.0 * random.bounded(0, 50));
            }
            for (int i = 0; i < 250; ++i) {
                const double a = 1000.0 * random.bounded(0, 50);
                const double b = 1000.0 * random.bounded(0, 50);
                addRequest(requests, wanted[random.bounded(static_cast<int>(wanted.size()))],
                           wanted[random.bounded(static_cast<int>(wanted.size()))], a, b);
            }
            unit.commit();
        }
        matching::utkoztet(requests, properties);
        int fitting = 0;
        for (int i = 0; i < requests.recordCount(); ++i) {
            const Record request = requests.recordAt(i);
            const bool expected = fitsByFilter(properties, request);
            fitting += expected;
            QVERIFY2(request.boolean(QStringLiteral("Utkozes")) == expected,
                     qPrintable(matching::matchExpression(matching::criteriaOf(request))));
        }
        QVERIFY(fitting > 20 && fitting < 230);
    }
};

QTEST_GUILESS_MAIN(TestMatching)
#include "test_matching.moc"
