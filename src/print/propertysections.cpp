#include "print/propertysections.h"

using sheet::cell;
using sheet::withUnit;

namespace propertysections {

namespace {

const QString darab = QStringLiteral("darab");
const QString forint = QStringLiteral("Forint");
const QString squareMetre = QStringLiteral("m²");

} // namespace

void address(Report &report, const RowValues &p)
{
    report.add(sheet::framed(report, QStringLiteral("Cím"), [&] {
        return std::vector<Band> {
            sheet::row(
                report,
                {cell(QStringLiteral("Teljes cím:"), p.text(QStringLiteral("CimTeljes")), 32)}),
            sheet::row(
                report,
                {cell(QStringLiteral("Helyrajzi szám:"), p.text(QStringLiteral("Hrsz")), 32)}),
        };
    }));
}

void general(Report &report, const RowValues &p, bool withMinimumPrice)
{
    report.add(sheet::framed(report, QStringLiteral(" Általános adatok "), [&] {
        QList<sheet::Cell> second {
            cell(QStringLiteral("Felújítás éve:"), p.numberText(QStringLiteral("FelujitasEve")),
                 28),
            withUnit(QStringLiteral("Telek területe:"),
                     p.numberText(QStringLiteral("TelekTerulet")),
                     p.text(QStringLiteral("TelekTeruletMertek")), 28),
        };
        if (withMinimumPrice)
            second.append(withUnit(QStringLiteral("Minimum ár:"),
                                   p.numberText(QStringLiteral("MinimumAr")), forint, 22));
        return std::vector<Band> {
            sheet::row(
                report,
                {cell(QStringLiteral("Építés éve:"), p.numberText(QStringLiteral("EpitesEve")), 28),
                 withUnit(QStringLiteral("Épület területe:"),
                          p.numberText(QStringLiteral("EpuletTerulet")), squareMetre, 28),
                 withUnit(QStringLiteral("Ár:"), p.numberText(QStringLiteral("Ar")), forint, 22)}),
            sheet::row(report, second, 3),
            sheet::row(report,
                       {withUnit(QStringLiteral("Összes helység:"),
                                 p.numberText(QStringLiteral("OsszesHelyseg")), darab, 28),
                        withUnit(QStringLiteral("Szobák száma"),
                                 p.numberText(QStringLiteral("Szoba")), darab, 28),
                        withUnit(QStringLiteral("Garázsok:"),
                                 p.numberText(QStringLiteral("Garazs")), darab, 22)}),
        };
    }));
}

void principal(Report &report, const RowValues &p)
{
    const QString cim = p.text(QStringLiteral("MegbizoIrsz")) + QLatin1Char(' ') +
        p.text(QStringLiteral("MegbizoVaros")) + QLatin1Char('\n') +
        p.text(QStringLiteral("MegbizoUtca"));
    report.add(sheet::framed(report, QStringLiteral("Megbízó"), [&] {
        return std::vector<Band> {
            sheet::row(report,
                       {cell(QStringLiteral("Név:"), p.text(QStringLiteral("MegbizoNev")), 32)}),
            sheet::row(report, {cell(QStringLiteral("Cím:"), cim, 32)}),
            sheet::row(
                report,
                {cell(QStringLiteral("Telefon:"), p.text(QStringLiteral("MegbizoTelefon")), 32)}),
        };
    }));
}

} // namespace propertysections
