#include "print/printarchiv.h"

#include "print/propertysections.h"
#include "store/cursorstate.h"
#include "store/filter.h"
#include "store/registerstate.h"

using sheet::cell;

namespace {

Band ownerBlock(Report &report, const RowValues &o)
{
    const QString cim = o.text(QStringLiteral("Irsz")) + QLatin1Char(' ') +
        o.text(QStringLiteral("Varos")) + QLatin1Char('\n') + o.text(QStringLiteral("Utca"));
    return sheet::framed(report, {}, [&] {
        return std::vector<Band> {
            sheet::row(report, {cell(QStringLiteral("Név:"), o.text(QStringLiteral("Nev")), 32)}),
            sheet::row(report, {cell(QStringLiteral("Cím:"), cim, 32)}),
            sheet::row(report,
                       {cell(QStringLiteral("Anyja neve:"), o.text(QStringLiteral("Anyja")), 32)}),
            sheet::row(report,
                       {cell(QStringLiteral("Szigsz.:"), o.text(QStringLiteral("Szigsz")), 32)}),
            sheet::row(
                report,
                {cell(QStringLiteral("Tulajdoni hányad:"), o.text(QStringLiteral("Hanyad")), 32)}),
        };
    });
}

} // namespace

TfPrintArchiv::TfPrintArchiv(RegisterState &cursors)
    : m_c(cursors)
{ }

void TfPrintArchiv::paint(PrintCanvas &canvas)
{
    const RowValues p = RowValues::current(m_c.tEgyszeru);
    Report report(canvas, CompanyHeader::read(m_c.tDefaults),
                  {QStringLiteral("Ingatlan adatai"),
                   p.text(QStringLiteral("Azonosito")),
                   {},
                   QStringLiteral("(Archív)")});
    report.begin();
    propertysections::address(report, p);
    propertysections::general(report, p, true);
    propertysections::principal(report, p);
    report.add(sheet::heading(report, QStringLiteral("Tulajdonosok"), 11));

    CursorState keep(m_c.tTulajdonos);
    Cursor &owners = m_c.tTulajdonos;
    owners.open();
    owners.setFilterText(filters::ofProperty(p.number(QStringLiteral("Id"))));
    owners.setFiltered(true);
    const int count = owners.recordCount();
    for (int i = 0; i < count; ++i) {
        report.add(ownerBlock(report, RowValues::at(owners, i)));
        report.addSpace(1.5);
    }
    report.finish();
}
