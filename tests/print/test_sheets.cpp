#include "print/adatlap1.h"
#include "print/adatlap2.h"
#include "print/printarchiv.h"
#include "print/printteljes.h"
#include "store/textformat.h"
#include "tests/print/printfixture.h"

#include <QtTest>

#include <optional>

// The data sheet, the archive sheet and the blank intake sheets, printed to PDF and read back.
class TestSheets : public QObject
{
    Q_OBJECT

private:
    static const QStringList &header()
    {
        static const QStringList parts {"Ősi Ügynökség Kft.", "6720 Szeged, Fő utca 1.",
                                        "62/123-456", "iroda@ugynokseg.hu", "www.ugynokseg.hu"};
        return parts;
    }
    static void agency(PrintFixture &f)
    {
        f.setSettings({{"Name", header()[0]},
                       {"Irsz", "6720"},
                       {"Varos", "Szeged"},
                       {"Utca", "Fő utca 1."},
                       {"Telefon", header()[2]},
                       {"Email", header()[3]},
                       {"Web", header()[4]}});
    }
    static int property(PrintFixture &f, bool reszletes)
    {
        // Identifiers are unique on the office server too: a later property is another one.
        const int before = f.cursors.tEgyszeru.recordCount();
        return f.addProperty({{"Azonosito", QStringLiteral("SZ-%1").arg(101 + before)},
                              {"TipusText", "Családi ház"},
                              {"Ar", 25500000},
                              {"MinimumAr", 24000000},
                              {"EpitesEve", 1975},
                              {"FelujitasEve", 2001},
                              {"EpuletTerulet", 120},
                              {"TelekTerulet", 800},
                              {"TelekTeruletMertek", "négyszögöl"},
                              {"OsszesHelyseg", 5},
                              {"Szoba", 3},
                              {"Garazs", 1},
                              {"CimIrsz", "6720"},
                              {"CimVaros", "Szeged"},
                              {"CimUtca", "Kossuth utca"},
                              {"CimHazszam", "12"},
                              {"Hrsz", "1234/5"},
                              {"Reszletes", reszletes},
                              {"MegbizoNev", "Szőke Előd"},
                              {"MegbizoIrsz", "6725"},
                              {"MegbizoVaros", "Szeged"},
                              {"MegbizoUtca", "Tisza Lajos krt. 5."},
                              {"MegbizoTelefon", "62/555-111"}});
    }
    // The printing time is one of the seconds the run took.
    static bool printedBetween(const QString &text, const QDateTime &before, const QDateTime &after)
    {
        for (QDateTime t = before; t <= after; t = t.addSecs(1))
            if (text.contains(textformat::timestampText(t)))
                return true;
        return false;
    }

    // A blank sheet printed for the agency, as text.
    template<class Sheet>
    static QString renderBlank()
    {
        PrintFixture f;
        agency(f);
        Sheet sheet(f.cursors.tDefaults);
        return f.render([&](PrintCanvas &c) { sheet.paint(c); });
    }

    // The boxes of the first blank sheet, with their units.
    static QStringList firstSheetBoxes()
    {
        return {"Teljes cím:",
                "Helyrajzi szám:",
                "Típus:",
                "Építés éve:",
                "Épület területe:",
                "m²",
                "Ár:",
                "Forint",
                "Felújítás éve:",
                "Telek területe:",
                "Minimum ár:",
                "Forint",
                "Összes helység:",
                "darab",
                "Szobák száma",
                "darab",
                "Garázsok:",
                "darab",
                "Megbízó:",
                "Tulajdonos:"};
    }
    // The first blank sheet's choices for the plot and its services.
    static QStringList firstSheetSiteChoices()
    {
        return {"Telek alakja:", "négyzet",         "L alak",        "háromszög",
                "téglalap",      "T alak",          "egyéb",         "trapéz",
                "szabálytalan",  "Fekvés:",         "dél-nyugati",   "Komfort:",
                "összkonfortos", "komfort nélküli", "Övezet:",       "kereskedelmi",
                "Telek állaga:", "elhanyagolt",     "Udvar:",        "szilárd burkolat",
                "Parkolás",      "garázs",          "nincs",         "beálló",
                "egyéb",         "Közművek:",       "vezetékes víz", "tartályos gáz",
                "ülepítő"};
    }
    // The first blank sheet's choices for the building.
    static QStringList firstSheetBuildingChoices()
    {
        return {"Felszereltség:",
                "medence",
                "konyhai bútorokkal",
                "szauna",
                "konyhai berendezésekkel",
                "jacuzzi",
                "világítótestekkel",
                "bútorozott",
                "egyéb:",
                "részben bútorozott",
                "Ingatlan állaga:",
                "újszerű",
                "felújítandó",
                "egyéb",
                "elfogadható",
                "befejezetlen",
                "Falak anyaga:",
                "tégla",
                "szerelt szakipari",
                "Fűtés típusa:",
                "cirko",
                "Fűtés módja:",
                "cserépkályha",
                "Fűtőanyag:",
                "vezetékes gáz",
                "olaj",
                "tarályos gáz",
                "villany",
                "szén-fa",
                "Tető:",
                "bitumenes zsindely",
                "Burkolat:",
                "parketta",
                "pvc",
                "járólap",
                "linóleum",
                "kő",
                "beton",
                "műkő",
                "egyéb:",
                "szőnyegpadló"};
    }

    // A property with its principal and a detailed description, and the full sheet over it.
    struct DetailedProperty
    {
        PrintFixture f;
        std::optional<TfPrintTeljes> sheet;

        DetailedProperty()
        {
            agency(f);
            const int id = property(f, true);
            f.addDetails(id,
                         {{"AlakText", "téglalap"},
                          {"OvezetText", "lakó, üdülő"},
                          {"TetoText", "cserép"},
                          {"TetoEgyeb", "nád a fészeren"},
                          {"FalakAnyagaText", "tégla, kő"},
                          {"FutoAnyagText", "vezetékes gáz"},
                          {"Wc", 2},
                          {"GarazsFerohely", 2},
                          {"KonyhaText", "amerikai"},
                          {"EgyebText", "műhely"},
                          {"Szintekszama", 2},
                          {"LakhatoSzint", 1},
                          {"WcFurdo", true},
                          {"Megjegyzes", "Első sor\r\nMásodik sor"}});
            sheet.emplace(f.cursors);
        }
        QString render(bool principal, bool details)
        {
            return f.render([&](PrintCanvas &c) { sheet->paint(c, {principal, details}); });
        }
    };

private slots:
    void fullSheetPrintsEverySectionInOrder()
    {
        DetailedProperty d;

        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const QString text = d.render(true, true);
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        QCOMPARE(pageCount(text), 1);
        QVERIFY(printedBetween(text, before, after));
        QVERIFY(inOrder(text,
                        QStringList {"Pelmora Ingatlan Nyilvántartás", "Ingatlan adatai", "SZ-101",
                                     "Családi ház"} +
                            header()));
        QVERIFY(inOrder(text,
                        {"Cím",
                         "Teljes cím:",
                         "6720 Szeged, Kossuth utca 12",
                         "Helyrajzi szám:",
                         "1234/5",
                         "Általános adatok",
                         "Építés éve:",
                         "1975",
                         "Épület területe:",
                         "120 m²",
                         "Ár:",
                         "25500000 Forint",
                         "Felújítás éve:",
                         "2001",
                         "Telek területe:",
                         "800 négyszögöl",
                         "Összes helység:",
                         "5 darab",
                         "Szobák száma",
                         "3 darab",
                         "Garázsok:",
                         "1 darab",
                         "Megbízó",
                         "Név:",
                         "Szőke Előd",
                         "Cím:",
                         "6725 Szeged",
                         "Tisza Lajos krt. 5.",
                         "Telefon:",
                         "62/555-111",
                         "Részletes adatok",
                         "Ingatlan alakja:",
                         "téglalap",
                         "Övezet:",
                         "lakó, üdülő",
                         "Falak anyaga:",
                         "tégla, kő",
                         "Tető:",
                         "cserép",
                         "nád a fészeren",
                         "Fűtőanyag:",
                         "vezetékes gáz",
                         "WC:",
                         "2 darab",
                         "Garázs férőhely:",
                         "2 darab",
                         "Típusa:",
                         "amerikai",
                         "mégpedig:",
                         "műhely",
                         "A WC egybe van a fürdőszobával:",
                         "x",
                         "Szintek száma:",
                         "2 darab",
                         "Ebből lakható:",
                         "1 darab",
                         "Megjegyzés:",
                         "Első sor\nMásodik sor"}));
        QVERIFY(!text.contains(QStringLiteral("Minimum ár")));
    }

    void principalSectionCanBeLeftOut()
    {
        DetailedProperty d;
        // The principal's section off: the detailed data follow the general data directly.
        const QString noPrincipal = d.render(false, true);
        QVERIFY(!noPrincipal.contains(QStringLiteral("Szőke Előd")));
        QVERIFY(inOrder(noPrincipal, {"1 darab", "Részletes adatok"}));
        QVERIFY(noPrincipal.indexOf(QStringLiteral("Részletes adatok")) -
                    noPrincipal.indexOf(QStringLiteral("Garázsok:")) <
                30);
    }

    void detailedSectionOnlyWhenAskedFor()
    {
        DetailedProperty d;
        // The detailed section only when asked for, and the WC mark exactly when it is so.
        const QString plain = d.render(true, false);
        QVERIFY(plain.contains(QStringLiteral("Szőke Előd")));
        QVERIFY(!plain.contains(QStringLiteral("Részletes adatok")));
        QVERIFY(!plain.contains(QStringLiteral("fürdőszobával")));
    }

    // The WC mark stands exactly when the WC is in the bathroom.
    void wcMarkFollowsTheDescription()
    {
        DetailedProperty d;
        const QString text = d.render(true, true);
        d.f.cursors.tReszletes.open();
        d.f.cursors.tReszletes.first();
        d.f.cursors.tReszletes.setValue(QStringLiteral("WcFurdo"), false);
        d.f.cursors.tReszletes.post();
        const QString noWc = d.render(true, true);
        QVERIFY(noWc.contains(QRegularExpression(QStringLiteral("fürdőszobával:\\s*Szintek"))));
        QVERIFY(
            text.contains(QRegularExpression(QStringLiteral("fürdőszobával:\\s*x\\s*Szintek"))));
    }

    void propertyWithoutDescriptionPrintsNone()
    {
        DetailedProperty d;
        // A property without a detailed description prints none, even when it is asked for.
        property(d.f, false);
        const QString second = d.render(true, true);
        QVERIFY(second.contains(QStringLiteral("Szőke Előd")));
        QVERIFY(!second.contains(QStringLiteral("Részletes adatok")));
        // The sheet borrowed the detailed table and left it as it was.
        QVERIFY(!d.f.cursors.tReszletes.filtered());
    }

    void longRemarkAndCopies()
    {
        PrintFixture f;
        agency(f);
        const int id = property(f, true);
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines << QStringLiteral("Megjegyzés sora %1.").arg(i, 3, 10, QLatin1Char('0'));
        f.addDetails(id, {{"Megjegyzes", lines.join(QStringLiteral("\r\n"))}});
        TfPrintTeljes sheet(f.cursors);
        const QString text = f.render([&](PrintCanvas &c) { sheet.paint(c, {true, true}); });
        const int pages = pageCount(text);
        QVERIFY(pages >= 3);
        QVERIFY(inOrder(text, lines));
        for (int p = 0; p < pages; ++p)
            QVERIFY(
                inOrder(pageText(text, p), QStringList {"Ingatlan adatai", "SZ-101"} + header()));

        // A PDF makes no copies itself: the sheet is painted that many times, each from its own
        // first page.
        const QString three = f.render([&](PrintCanvas &c) { sheet.paint(c, {true, true}); }, 3);
        QCOMPARE(pageCount(three), 3 * pages);
        QCOMPARE(three.count(QStringLiteral("Megjegyzés sora 150.")), 3);
        QCOMPARE(three.count(QStringLiteral("Teljes cím:")), 3);
    }

    void archiveSheet()
    {
        PrintFixture f;
        agency(f);
        const int id = property(f, true);
        f.addOwner(id,
                   {{"Nev", "Kiss Ödön"},
                    {"Irsz", "1011"},
                    {"Varos", "Budapest"},
                    {"Utca", "Fő u. 2."},
                    {"Anyja", "Nagy Ilona"},
                    {"Szigsz", "111111AA"},
                    {"Hanyad", "1/2"}});
        f.addOwner(id,
                   {{"Nev", "Kiss Ünőke"},
                    {"Irsz", "9021"},
                    {"Varos", "Győr"},
                    {"Utca", "Rába u. 3."},
                    {"Anyja", "Tóth Éva"},
                    {"Szigsz", "222222BB"},
                    {"Hanyad", "1/2"}});
        const int other = property(f, false);
        f.addOwner(other, {{"Nev", "Idegen Tulajdonos"}});
        f.cursors.tEgyszeru.first();
        TfPrintArchiv sheet(f.cursors);
        const QString text = f.render([&](PrintCanvas &c) { sheet.paint(c); });
        QCOMPARE(pageCount(text), 1);
        QVERIFY(inOrder(text,
                        QStringList {"Pelmora Ingatlan Nyilvántartás", "(Archív)",
                                     "Ingatlan adatai", "SZ-101"} +
                            header()));
        QVERIFY(inOrder(text,
                        {"Cím",
                         "6720 Szeged, Kossuth utca 12",
                         "Általános adatok",
                         "Ár:",
                         "25500000 Forint",
                         "Telek területe:",
                         "Minimum ár:",
                         "24000000 Forint",
                         "Garázsok:",
                         "Megbízó",
                         "Szőke Előd",
                         "Tulajdonosok",
                         "Név:",
                         "Kiss Ödön",
                         "Cím:",
                         "1011 Budapest",
                         "Fő u. 2.",
                         "Anyja neve:",
                         "Nagy Ilona",
                         "Szigsz.:",
                         "111111AA",
                         "Tulajdoni hányad:",
                         "1/2",
                         "Név:",
                         "Kiss Ünőke",
                         "9021 Győr",
                         "Rába u. 3.",
                         "Tóth Éva",
                         "222222BB"}));
        QVERIFY(!text.contains(QStringLiteral("Idegen")));
        QVERIFY(!text.contains(QStringLiteral("Részletes adatok")));
        QVERIFY(
            !text.contains(QStringLiteral("Családi ház\n"))); // no type line under the identifier

        // Without owners the heading stands alone at the end.
        property(f, false);
        const QString none = f.render([&](PrintCanvas &c) { sheet.paint(c); });
        QVERIFY(none.trimmed().endsWith(QStringLiteral("Tulajdonosok")));
        QVERIFY(!f.cursors.tTulajdonos.isOpen());
    }

    // The first blank sheet: one page of empty boxes, then every choice in its group.
    void firstBlankSheetIsOnePage() { QCOMPARE(pageCount(renderBlank<TfAdatlap1>()), 1); }

    void firstBlankSheetOpensWithTheAgencyHeader()
    {
        QVERIFY(
            inOrder(renderBlank<TfAdatlap1>(),
                    QStringList {"Pelmora Ingatlan Nyilvántartás", "Adatlap (1/2)"} + header()));
    }

    void firstBlankSheetListsEveryBoxAndChoiceInOrder()
    {
        QVERIFY(inOrder(renderBlank<TfAdatlap1>(),
                        firstSheetBoxes() + firstSheetSiteChoices() + firstSheetBuildingChoices()));
    }

    // The second blank sheet: one page of counts, the kitchen and the site, then the remark.
    void secondBlankSheetListsEveryCountAndChoice()
    {
        const QString two = renderBlank<TfAdatlap2>();
        QCOMPARE(pageCount(two), 1);
        QVERIFY(inOrder(
            two, QStringList {"Pelmora Ingatlan Nyilvántartás", "Adatlap (2/2)"} + header()));
        QVERIFY(inOrder(two,
                        {"Összes helység:",
                         "Szobák száma",
                         "Félszoba:",
                         "Nappali:",
                         "Hall:",
                         "Étkező:",
                         "Terasz:",
                         "Fürdőszoba:",
                         "WC:",
                         "Kamra",
                         "Tároló:",
                         "Pince:",
                         "Melléképület:",
                         "Szuterén:",
                         "Garázsok:",
                         "Garázs férőhely:",
                         "Konyha:",
                         "Egyéb:",
                         "mégpedig:",
                         "A WC egybe van a fürdőszobával:",
                         "Konyha típusa:",
                         "hagyományos",
                         "főzőfülke",
                         "amerikai",
                         "egyéb",
                         "Elhelyezkedés:",
                         "főút mellett",
                         "panoráma",
                         "vízparton",
                         "Szintek száma:",
                         "darab",
                         "Ebből lakható:",
                         "darab",
                         "Megjegyzés:"}));
    }
};

QTEST_MAIN(TestSheets)
#include "test_sheets.moc"
