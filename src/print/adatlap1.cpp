#include "print/adatlap1.h"

#include "print/blankform.h"

using blankform::Box;
using blankform::OptionGroup;

namespace {

QStringList words(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *word : list)
        result.append(QString::fromUtf8(word));
    return result;
}

void dataBoxes(Report &report)
{
    const QString darab = QStringLiteral("darab");
    const QString forint = QStringLiteral("Forint");
    report.add(blankform::boxes(report, {{QStringLiteral("Teljes cím:"), {}}}, 1));
    report.add(blankform::boxes(
        report, {{QStringLiteral("Helyrajzi szám:"), {}}, {QStringLiteral("Típus:"), {}}}, 2));
    report.add(blankform::boxes(report,
                                {{QStringLiteral("Építés éve:"), {}},
                                 {QStringLiteral("Épület területe:"), QStringLiteral("m²")},
                                 {QStringLiteral("Ár:"), forint}},
                                3));
    report.add(blankform::boxes(report,
                                {{QStringLiteral("Felújítás éve:"), {}},
                                 {QStringLiteral("Telek területe:"), {}},
                                 {QStringLiteral("Minimum ár:"), forint}},
                                3));
    report.add(blankform::boxes(report,
                                {{QStringLiteral("Összes helység:"), darab},
                                 {QStringLiteral("Szobák száma"), darab},
                                 {QStringLiteral("Garázsok:"), darab}},
                                3));
    report.addSpace(1);
    report.add(blankform::largeBoxes(
        report, {QStringLiteral("Megbízó:"), QStringLiteral("Tulajdonos:")}, 22));
    report.addSpace(1);
}

QList<OptionGroup> leftGroups()
{
    return {
        {QStringLiteral("Telek alakja:"),
         words({"négyzet", "L alak", "háromszög", "téglalap", "T alak", "egyéb", "trapéz",
                "szabálytalan"})},
        {QStringLiteral("Fekvés:"),
         words({"déli", "észak-nyugati", "észak-keleti", "dél-keleti", "nyugati", "északi",
                "keleti", "dél-nyugati"})},
        {QStringLiteral("Komfort:"),
         words({"összkonfortos", "félkomfortos", "luxus", "komfortos", "komfort nélküli"})},
        {QStringLiteral("Övezet:"),
         words({"lakó", "üdülő", "külterület", "belvárosi", "vegyes", "ipari", "zöldövezeti",
                "zárt kert", "kereskedelmi"})},
        {QStringLiteral("Telek állaga:"),
         words({"rendezett", "részben rendezett", "parkosított", "egyéb", "elhanyagolt"})},
        {QStringLiteral("Udvar:"),
         words({"nincs", "parkosított", "gyümölcsös", "füvesített", "konyhakert",
                "szilárd burkolat"})},
        {QStringLiteral("Parkolás"), words({"garázs", "nincs", "beálló", "egyéb"})},
        {QStringLiteral("Közművek:"),
         words({"vezetékes víz", "vezetékes gáz", "telefon", "kúti víz", "tartályos gáz",
                "kábel TV", "ciszterna", "csatorna", "telefonközpont", "villany", "ülepítő"})},
        {QStringLiteral("Felszereltség:"),
         words({"medence", "konyhai bútorokkal", "szauna", "konyhai berendezésekkel", "jacuzzi",
                "világítótestekkel", "bútorozott", "egyéb:", "részben bútorozott"})},
    };
}

QList<OptionGroup> rightGroups()
{
    return {
        {QStringLiteral("Ingatlan állaga:"),
         words({"újszerű", "felújítandó", "egyéb", "elfogadható", "befejezetlen"}), 2, 3},
        {QStringLiteral("Falak anyaga:"),
         words({"tégla", "kő", "falazó elem", "könnyűszerkezet", "panel", "vályogtégla", "beton",
                "vegyes", "fémszerkezet", "tömés", "fa", "szerelt szakipari"}),
         2},
        {QStringLiteral("Fűtés típusa:"),
         words({"hagyományos", "központi", "gáz", "elektromos", "távfűtés", "nincs", "cirko",
                "egyéb"}),
         2},
        {QStringLiteral("Fűtés módja:"),
         words({"padló", "konvektor", "radiátor", "egyéb", "kandalló", "cserépkályha"}), 2},
        {QStringLiteral("Fűtőanyag:"),
         words({"vezetékes gáz", "olaj", "tarályos gáz", "villany", "szén-fa", "nincs", "vegyes",
                "egyéb"}),
         2},
        {QStringLiteral("Tető:"),
         words({"cserép", "egyéb:", "pala", "hullámpala", "zsindely", "bitumenes zsindely"}), 2},
        {QStringLiteral("Burkolat:"),
         words({"parketta", "pvc", "járólap", "linóleum", "kő", "beton", "műkő",
                "egyéb:", "szőnyegpadló"}),
         2},
    };
}

} // namespace

TfAdatlap1::TfAdatlap1(Cursor &tDefaults)
    : m_tDefaults(tDefaults)
{ }

void TfAdatlap1::paint(PrintCanvas &canvas)
{
    Report report(canvas, CompanyHeader::read(m_tDefaults),
                  {QStringLiteral("Adatlap (1/2)"), {}, {}, {}});
    report.begin();
    dataBoxes(report);
    report.add(blankform::groupColumns(report, {leftGroups(), rightGroups()}, {58, 42}));
    report.finish();
}
