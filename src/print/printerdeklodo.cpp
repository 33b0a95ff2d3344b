#include "print/printerdeklodo.h"

#include "buyers/handouts.h"
#include "print/sheetkit.h"
#include "store/cursorstate.h"
#include "store/registerstate.h"
#include "store/textformat.h"

using sheet::cell;
using sheet::withUnit;

TfPrintErdeklodo::TfPrintErdeklodo(RegisterState &cursors, Cursor &tErdeklodo)
    : m_c(cursors)
    , m_tErdeklodo(tErdeklodo)
{ }

void TfPrintErdeklodo::paint(PrintCanvas &canvas)
{
    const RowValues p = RowValues::current(m_c.tEgyszeru);
    Report report(
        canvas, CompanyHeader::read(m_c.tDefaults),
        {QStringLiteral("Érdeklődők listája"), p.text(QStringLiteral("Azonosito")), {}, {}});
    const QFont italic = PrintCanvas::font(9, false, true);
    auto right = [](const QString &label, const QList<Span> &value) {
        return sheet::Cell {label, value, 0, Qt::AlignRight};
    };
    report.setPageTop({
        sheet::row(report,
                   {cell(QStringLiteral("Azonosító:"), p.text(QStringLiteral("Azonosito")), 22),
                    right(QStringLiteral("Ár:"), {{p.text(QStringLiteral("ArText")), italic}})}),
        sheet::row(report,
                   {cell(QStringLiteral("Típus:"), p.text(QStringLiteral("TipusText")), 22,
                         sheet::labelFont()),
                    right(QStringLiteral("Épület terület:"),
                          {{p.numberText(QStringLiteral("EpuletTerulet")) + QStringLiteral(" m²"),
                            sheet::labelFont()}})}),
        sheet::row(report,
                   {cell(QStringLiteral("Cím:"), p.text(QStringLiteral("CimTeljes")), 22,
                         sheet::labelFont()),
                    right(QStringLiteral("Telek terület:"),
                          {{p.numberText(QStringLiteral("TelekTerulet")) + QLatin1Char(' ') +
                                p.text(QStringLiteral("TelekTeruletMertek")),
                            sheet::labelFont()}})}),
        sheet::rule(report),
        sheet::heading(report, QStringLiteral("Érdeklődők:"), 11, true),
    });
    report.setPageNumberFooter(true);
    report.begin();

    CursorState keep(m_tErdeklodo);
    m_tErdeklodo.open();
    m_tErdeklodo.setFilterText(handoutFilter(p.number(QStringLiteral("Id"))));
    m_tErdeklodo.setFiltered(true);
    const int count = m_tErdeklodo.recordCount();
    const QFont label = sheet::labelFont();
    const QFont value = sheet::valueFont();
    int number = 0; // every run numbers from 1
    for (int i = 0; i < count; ++i) {
        const Record h = m_tErdeklodo.recordAt(i);
        ++number;
        report.add(sheet::numberedEntry(
            report, number,
            {
                {{QStringLiteral("Érdeklődő: "), label}, {h.text(QStringLiteral("Name")), value}},
                {{QStringLiteral("Címe: "), label}, {h.text(QStringLiteral("Address")), label}},
                {{QStringLiteral("Telefonszáma: "), label},
                 {h.text(QStringLiteral("Telefon")), label}},
                {{QStringLiteral("Szig.szám: "), label}, {h.text(QStringLiteral("Szigsz")), label}},
                {{QStringLiteral("Időpont: "), label},
                 {sheet::timestamp(h.dateTime(QStringLiteral("When"))), label}},
            }));
    }
    report.finish();
}
