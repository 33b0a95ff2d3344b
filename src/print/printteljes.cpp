#include "print/printteljes.h"

#include "print/propertysections.h"
#include "store/cursorstate.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "store/textformat.h"

using sheet::cell;
using sheet::listFont;
using sheet::withUnit;

namespace {

const QString darab = QStringLiteral("darab");

// A caption list with the free text that goes with it on a second line.
QString withOther(const RowValues &d, const char *list, const char *other)
{
    return d.text(QLatin1String(list)) + QLatin1Char('\n') + d.text(QLatin1String(other));
}

sheet::Cell listCell(const QString &label, const QString &value)
{
    return cell(label, value, 30, listFont());
}

sheet::Cell count(const RowValues &d, const QString &label, const char *field)
{
    return withUnit(label, d.numberText(QLatin1String(field)), darab, 27);
}

void conditionPairs(Report &report, const RowValues &d)
{
    auto pair = [&](const QString &leftLabel, const QString &left, const QString &rightLabel,
                    const QString &right) {
        report.add(sheet::row(report, {listCell(leftLabel, left), listCell(rightLabel, right)}));
    };
    pair(QStringLiteral("Ingatlan alakja:"), d.text(QStringLiteral("AlakText")),
         QStringLiteral("Övezet:"), d.text(QStringLiteral("OvezetText")));
    pair(QStringLiteral("Ingatlan állaga:"), d.text(QStringLiteral("AllagText")),
         QStringLiteral("Udvar:"), d.text(QStringLiteral("UdvarText")));
    pair(QStringLiteral("Telek állaga:"), d.text(QStringLiteral("TelekAllagText")),
         QStringLiteral("Falak anyaga:"), d.text(QStringLiteral("FalakAnyagaText")));
    pair(QStringLiteral("Fekvés:"), d.text(QStringLiteral("FekvesText")),
         QStringLiteral("Parkolás:"), d.text(QStringLiteral("ParkolasText")));
    pair(QStringLiteral("Komfort:"), d.text(QStringLiteral("KomfortText")), QStringLiteral("Tető:"),
         withOther(d, "TetoText", "TetoEgyeb"));
}

void servicesList(Report &report, const RowValues &d)
{
    for (const auto &[label, value] : std::initializer_list<std::pair<QString, QString>> {
             {QStringLiteral("Fűtés típusa:"), d.text(QStringLiteral("FutesTipusText"))},
             {QStringLiteral("Fűtés módja:"), d.text(QStringLiteral("FutesModjaText"))},
             {QStringLiteral("Fűtőanyag:"), d.text(QStringLiteral("FutoAnyagText"))},
             {QStringLiteral("Közművek:"), d.text(QStringLiteral("KozmuvekText"))},
             {QStringLiteral("Felszereltség:"),
              withOther(d, "FelszereltsegText", "FelszereltsegEgyeb")},
             {QStringLiteral("Burkolat:"), withOther(d, "BurkolatText", "BurkolatEgyeb")},
         })
        report.add(sheet::row(report, {listCell(label, value)}));
}

void roomCounts(Report &report, const RowValues &d)
{
    auto counts = [&](const QList<sheet::Cell> &cells) {
        report.add(sheet::row(report, cells, 3));
    };
    counts({count(d, QStringLiteral("Összes helység:"), "OsszHelyseg"),
            count(d, QStringLiteral("Szobák száma"), "Szoba"),
            count(d, QStringLiteral("Félszoba:"), "Felszoba")});
    counts({count(d, QStringLiteral("Nappali:"), "Nappali"),
            count(d, QStringLiteral("Hall:"), "Hall"),
            count(d, QStringLiteral("Étkező:"), "Etkezo")});
    counts({count(d, QStringLiteral("Terasz:"), "Terasz"),
            count(d, QStringLiteral("Fürdőszoba:"), "Furdoszoba"),
            count(d, QStringLiteral("WC:"), "Wc")});
    counts({count(d, QStringLiteral("Kamra"), "Kamra"),
            count(d, QStringLiteral("Tároló:"), "Tarolo"),
            count(d, QStringLiteral("Pince:"), "Pince")});
    counts({count(d, QStringLiteral("Melléképület:"), "Mellekepulet"),
            count(d, QStringLiteral("Szuterén:"), "Szuterin")});
    counts({count(d, QStringLiteral("Garázsok:"), "Garazs"),
            count(d, QStringLiteral("Garázs férőhely:"), "GarazsFerohely")});
    report.add(
        sheet::row(report,
                   {count(d, QStringLiteral("Konyha:"), "Konyha"),
                    listCell(QStringLiteral("Típusa:"), d.text(QStringLiteral("KonyhaText")))}));
    report.add(
        sheet::row(report,
                   {count(d, QStringLiteral("Egyéb:"), "Egyeb"),
                    listCell(QStringLiteral("mégpedig:"), d.text(QStringLiteral("EgyebText")))}));
    report.add(sheet::labelledSquare(report, QStringLiteral("A WC egybe van a fürdőszobával:"),
                                     d.boolean(QStringLiteral("WcFurdo")) ? QStringLiteral("x")
                                                                          : QString()));
    report.add(sheet::row(report,
                          {count(d, QStringLiteral("Szintek száma:"), "Szintekszama"),
                           count(d, QStringLiteral("Ebből lakható:"), "LakhatoSzint")},
                          3));
}

void remarkBox(Report &report, const RowValues &d)
{
    report.add(sheet::textLine(report, {{QStringLiteral("Megjegyzés:"), sheet::labelFont()}}));
    report.beginFrame();
    report.addText(TextBlock(
        report.device(), report.width(),
        {{textformat::memoToEdit(d.text(QStringLiteral("Megjegyzes"))), sheet::labelFont()}}));
    report.endFrame();
}

void detailedSection(Report &report, const RowValues &d)
{
    report.beginFrame(QStringLiteral("Részletes adatok"));
    conditionPairs(report, d);
    report.addSpace(1);
    servicesList(report, d);
    report.addSpace(1);
    roomCounts(report, d);
    remarkBox(report, d);
    report.endFrame();
}

} // namespace

TfPrintTeljes::TfPrintTeljes(RegisterState &cursors)
    : m_c(cursors)
{ }

void TfPrintTeljes::paint(PrintCanvas &canvas, const SheetOptions &options)
{
    const RowValues p = RowValues::current(m_c.tEgyszeru);
    const bool qMegbizo = options.megbizoAdataival;
    const bool qReszletes = options.reszletesAdatokkal && p.boolean(QStringLiteral("Reszletes"));

    Report report(canvas, CompanyHeader::read(m_c.tDefaults),
                  {QStringLiteral("Ingatlan adatai"),
                   p.text(QStringLiteral("Azonosito")),
                   p.text(QStringLiteral("TipusText")),
                   {}});
    report.begin();
    propertysections::address(report, p);
    propertysections::general(report, p, false);
    if (qMegbizo)
        propertysections::principal(report, p);
    if (qReszletes) {
        CursorState keep(m_c.tReszletes);
        m_c.tReszletes.open();
        m_c.tReszletes.setFilterText(filters::ofProperty(p.number(QStringLiteral("Id"))));
        m_c.tReszletes.setFiltered(true);
        m_c.tReszletes.first();
        detailedSection(report, RowValues::current(m_c.tReszletes));
    }
    report.finish();
}
