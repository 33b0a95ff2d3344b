#include "buyers/erdeklodo.h"
#include "print/printapro.h"
#include "print/printcimlista.h"
#include "print/printerdeklodo.h"
#include "store/tables.h"
#include "store/textformat.h"
#include "tests/print/printfixture.h"

#include <QtTest>

// The address list, the classified-ad list and the buyers' list, printed to PDF and read back.
class TestLists : public QObject
{
    Q_OBJECT

private:
    static QString azonosito(int i)
    {
        return QStringLiteral("CIM-%1").arg(i, 2, 10, QLatin1Char('0'));
    }

    static void addListed(PrintFixture &f, int count)
    {
        for (int i = 1; i <= count; ++i)
            f.addProperty({{"Azonosito", azonosito(i)},
                           {"Ar", 1000000.0 * i},
                           {"CimIrsz", "7621"},
                           {"CimVaros", "Pécs"},
                           {"CimUtca", "Király utca"},
                           {"CimHazszam", QString::number(i)},
                           {"MegbizoNev", QStringLiteral("Megbízó %1").arg(i)},
                           {"MegbizoVaros", "Pécs"},
                           {"MegbizoUtca", "Ág u. 1."},
                           {"MegbizoTelefon", "72/100"},
                           {"Print", true},
                           {"LeirasApro",
                            QStringLiteral("Hirdetés %1: napfényes, felújított lakás.").arg(i)}});
    }

    static Record handout(Cursor &handouts, double id)
    {
        ErdeklodoFelvitel(handouts, id, QStringLiteral("CIM-01"),
                          {QStringLiteral("Vevő Győző"), QStringLiteral("Eger, Dobó tér 1."),
                           QStringLiteral("36/222"), QStringLiteral("ŰŐ-77")},
                          QDateTime(QDate(2024, 5, 6), QTime(9, 15, 0)));
        return latestHandout(handouts, id);
    }

private slots:
    void addressList()
    {
        PrintFixture f;
        f.setSettings({{"Name", "Ősi Ügynökség"},
                       {"Elvitel", "Az első feltétel.\r\nA második feltétel: jutalék 3%."}});
        addListed(f, 60);
        f.cursors.tEgyszeru.setFilterText(QStringLiteral("Print = True"));
        f.cursors.tEgyszeru.setFiltered(true);
        Cursor handouts(f.db, tables::erdeklodok, false);
        TfPrintCimlista list(f.cursors);
        const CimlistaRun run {handout(handouts, f.cursors.tEgyszeru.number(QStringLiteral("Id"))),
                               true, true};

        const QString text = f.render([&](PrintCanvas &c) { list.paint(c, run); });
        const int pages = pageCount(text);
        QVERIFY(pages >= 3);
        const QString when =
            textformat::timestampText(QDateTime(QDate(2024, 5, 6), QTime(9, 15, 0)));
        for (int p = 0; p < pages; ++p)
            QVERIFY(inOrder(pageText(text, p),
                            {"Címlista kiadás", "Ősi Ügynökség", "Érdeklődő adatai", "Érdeklődő:",
                             "Vevő Győző", "Címe:", "Eger, Dobó tér 1.", "Telefonszáma:", "36/222",
                             "Szig.szám:", "ŰŐ-77", "Időpont:", when, "Elvitt címek"}));
        QStringList entries;
        for (int i = 1; i <= 60; ++i)
            entries << QStringLiteral("%1.,").arg(i) << azonosito(i)
                    << QStringLiteral("7621 Pécs, Király utca %1").arg(i)
                    << printedMoney(1000000.0 * i)
                    << QStringLiteral("Megbízó: Megbízó %1, Pécs, Ág u. 1. Tel.: 72/100").arg(i);
        QVERIFY(inOrder(text, entries));
        QVERIFY(inOrder(
            text,
            {"60.,", "Elvitel feltételei", "Az első feltétel.\nA második feltétel: jutalék 3%."}));

        // Without the principal the third line stays empty; without terms the list ends with the
        // last address; a second run numbers from 1 again.
        const QString bare = f.render([&](PrintCanvas &c) {
            list.paint(c, {run.handout, false, false});
        });
        QVERIFY(!bare.contains(QStringLiteral("Megbízó:")));
        QVERIFY(!bare.contains(QStringLiteral("Elvitel feltételei")));
        QVERIFY(inOrder(bare, {"1.,", azonosito(1), "2.,", azonosito(2)}));
        QVERIFY(bare.trimmed().endsWith(printedMoney(60000000)));
        // The list reads the view and leaves it where it was.
        QCOMPARE(f.cursors.tEgyszeru.position(), 0);
    }

    void adList()
    {
        PrintFixture f;
        addListed(f, 3);
        QStringList longAd;
        for (int i = 1; i <= 180; ++i)
            longAd
                << QStringLiteral("Hosszú hirdetés %1. sora, őszi árvíztűrő tükörfúrógép.").arg(i);
        f.cursors.tEgyszeru.moveTo(1);
        f.cursors.tEgyszeru.setValue(QStringLiteral("LeirasApro"),
                                     longAd.join(QStringLiteral("\r\n")));
        f.cursors.tEgyszeru.post();
        TfPrintApro list(f.cursors);
        const QString text = f.render([&](PrintCanvas &c) { list.paint(c); });
        const int pages = pageCount(text);
        QVERIFY(pages >= 3);
        for (int p = 0; p < pages; ++p)
            QVERIFY(pageText(text, p).contains(QStringLiteral("Hírdetési szöveg")));
        QVERIFY(inOrder(text,
                        QStringList {"Hirdetés 1: napfényes, felújított lakás.",
                                     "Azonosító:", azonosito(1), printedMoney(1000000)} +
                            longAd +
                            QStringList {"Azonosító:", azonosito(2), printedMoney(2000000),
                                         "Hirdetés 3: napfényes", "Azonosító:", azonosito(3),
                                         printedMoney(3000000)}));
    }

    void buyersList()
    {
        PrintFixture f;
        f.setSettings({{"Name", "Ősi Ügynökség"}});
        addListed(f, 2);
        Cursor &view = f.cursors.tEgyszeru;
        view.first();
        view.setValue(QStringLiteral("TipusText"), QStringLiteral("Sorház"));
        view.setValue(QStringLiteral("EpuletTerulet"), 95);
        view.setValue(QStringLiteral("TelekTerulet"), 300);
        view.setValue(QStringLiteral("TelekTeruletMertek"), QStringLiteral("négyzetméter"));
        view.post();
        const double id = view.number(QStringLiteral("Id"));
        TfErdeklodo window(f.cursors);
        Cursor &handouts = window.tErdeklodo();
        const QDateTime when(QDate(2024, 1, 2), QTime(10, 0, 0));
        for (int i = 1; i <= 40; ++i) {
            ErdeklodoFelvitel(handouts, id, azonosito(1),
                              {QStringLiteral("Vevő %1 Ődön").arg(i, 2, 10, QLatin1Char('0')),
                               QStringLiteral("Cím %1").arg(i), QStringLiteral("tel %1").arg(i),
                               QStringLiteral("szig %1").arg(i)},
                              when.addDays(i));
            if (i % 10 == 0)
                ErdeklodoFelvitel(handouts, id + 1, azonosito(2),
                                  {QStringLiteral("Másik Vevő"), {}, {}, {}}, when);
        }
        handouts.close();
        TfPrintErdeklodo list(f.cursors, handouts);
        const QString text = f.render([&](PrintCanvas &c) { list.paint(c); });
        const int pages = pageCount(text);
        QVERIFY(pages >= 3);
        for (int p = 0; p < pages; ++p) {
            const QString page = pageText(text, p);
            QVERIFY(inOrder(page,
                            {"Érdeklődők listája", azonosito(1), "Ősi Ügynökség", "Azonosító:",
                             azonosito(1), "Ár:", printedMoney(1000000), "Típus:", "Sorház",
                             "Épület terület:", "95 m²", "Cím:", "7621 Pécs, Király utca 1",
                             "Telek terület:", "300 négyzetméter", "Érdeklődők:"}));
            QVERIFY2(page.trimmed().endsWith(QString::number(p + 1)), qPrintable(page.right(40)));
        }
        QStringList entries;
        for (int i = 1; i <= 40; ++i)
            entries << QStringLiteral("%1.,").arg(i) << QStringLiteral("Érdeklődő:")
                    << QStringLiteral("Vevő %1 Ődön").arg(i, 2, 10, QLatin1Char('0'))
                    << QStringLiteral("Címe:") << QStringLiteral("Cím %1").arg(i)
                    << QStringLiteral("Telefonszáma:") << QStringLiteral("tel %1").arg(i)
                    << QStringLiteral("Szig.szám:") << QStringLiteral("szig %1").arg(i)
                    << QStringLiteral("Időpont:") << textformat::timestampText(when.addDays(i));
        QVERIFY(inOrder(text, entries));
        QVERIFY(!text.contains(QStringLiteral("41.,")));
        QVERIFY(!text.contains(QStringLiteral("Másik Vevő")));
        QVERIFY(!handouts.isOpen());

        // The other property: only its own handouts; a property with none prints no entries.
        view.next();
        const QString other = f.render([&](PrintCanvas &c) { list.paint(c); });
        QCOMPARE(other.count(QStringLiteral("Másik Vevő")), 4);
        QVERIFY(inOrder(other, {"1.,", "2.,", "3.,", "4.,"}));
        f.addProperty({{"Azonosito", "URES-1"}});
        const QString empty = f.render([&](PrintCanvas &c) { list.paint(c); });
        QCOMPARE(pageCount(empty), 1);
        QVERIFY(inOrder(empty, {"Érdeklődők listája", "URES-1", "Érdeklődők:", "1"}));
        QVERIFY(!empty.contains(QStringLiteral("Érdeklődő:")));
    }
};

QTEST_MAIN(TestLists)
#include "test_lists.moc"
