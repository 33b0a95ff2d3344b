#include "print/printcimlista.h"

#include "print/sheetkit.h"
#include "store/registerstate.h"
#include "store/textformat.h"

using sheet::cell;

namespace {

QString principalLine(const RowValues &p)
{
    return QStringLiteral("Megbízó: ") + p.text(QStringLiteral("MegbizoNev")) +
        QStringLiteral(", ") + p.text(QStringLiteral("MegbizoVaros")) + QStringLiteral(", ") +
        p.text(QStringLiteral("MegbizoUtca")) + QStringLiteral(" Tel.: ") +
        p.text(QStringLiteral("MegbizoTelefon"));
}

} // namespace

TfPrintCimlista::TfPrintCimlista(RegisterState &cursors)
    : m_c(cursors)
{ }

void TfPrintCimlista::paint(PrintCanvas &canvas, const CimlistaRun &run)
{
    Report report(canvas, CompanyHeader::read(m_c.tDefaults),
                  {QStringLiteral("Címlista kiadás"), {}, {}, {}});
    const Record &buyer = run.handout;
    report.setPageTop({
        sheet::framed(
            report, QStringLiteral("Érdeklődő adatai"),
            [&] {
                return std::vector<Band> {
                    sheet::row(report,
                               {cell(QStringLiteral("Érdeklődő:"),
                                     buyer.text(QStringLiteral("Name")), 28)}),
                    sheet::row(
                        report,
                        {cell(QStringLiteral("Címe:"), buyer.text(QStringLiteral("Address")), 28)}),
                    sheet::row(report,
                               {cell(QStringLiteral("Telefonszáma:"),
                                     buyer.text(QStringLiteral("Telefon")), 28)}),
                    sheet::row(report,
                               {cell(QStringLiteral("Szig.szám:"),
                                     buyer.text(QStringLiteral("Szigsz")), 28)}),
                    sheet::row(
                        report,
                        {cell(QStringLiteral("Időpont:"),
                              sheet::timestamp(buyer.dateTime(QStringLiteral("When"))), 28)}),
                };
            }),
        sheet::heading(report, QStringLiteral("Elvitt címek"), 11),
    });
    report.begin();

    const QFont strong = PrintCanvas::font(10, true, true);
    const QFont plain = PrintCanvas::font(10);
    const QFont small = PrintCanvas::font(8);
    const Cursor &view = m_c.tEgyszeru;
    int number = 0; // every run numbers from 1
    // One pass over the view: reading it by position would fetch it a chunk at a time.
    view.scan({}, [&](const Record &record) {
        const RowValues p {view, record};
        ++number;
        report.add(sheet::numberedEntry(
            report, number,
            {
                {{p.text(QStringLiteral("Azonosito")), strong},
                 {QStringLiteral("  ") + p.text(QStringLiteral("CimTeljes")), plain}},
                {{p.text(QStringLiteral("ArText")), strong}},
                {{run.megbizoAdataival ? principalLine(p) : QString(), small}},
            }));
    });

    if (run.qElvitel) {
        report.addSpace(3);
        report.add(sheet::heading(report, QStringLiteral("Elvitel feltételei"), 11));
        m_c.tDefaults.open();
        report.addText(
            TextBlock(report.device(), report.width(),
                      {{textformat::memoToEdit(m_c.tDefaults.text(QStringLiteral("Elvitel"))),
                        sheet::labelFont()}}));
    }
    report.finish();
}
