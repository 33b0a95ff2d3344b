#include "print/printapro.h"

#include "print/sheetkit.h"
#include "store/registerstate.h"
#include "store/textformat.h"

TfPrintApro::TfPrintApro(RegisterState &cursors)
    : m_c(cursors)
{ }

void TfPrintApro::paint(PrintCanvas &canvas)
{
    Report report(canvas, CompanyHeader::read(m_c.tDefaults),
                  {QStringLiteral("Hírdetési szöveg"), {}, {}, {}});
    report.begin();
    const QFont strong = PrintCanvas::font(10, true, true);
    const Cursor &view = m_c.tEgyszeru;
    // One pass over the view: reading it by position would fetch it a chunk at a time.
    view.scan({}, [&](const Record &record) {
        const RowValues p {view, record};
        report.beginFrame();
        report.addText(TextBlock(report.device(), report.width(),
                                 {{textformat::memoToEdit(p.text(QStringLiteral("LeirasApro"))),
                                   PrintCanvas::font(10)}}));
        report.addSpace(1.5);
        sheet::Cell price {{}, {{p.text(QStringLiteral("ArText")), strong}}, 0, Qt::AlignRight};
        report.add(sheet::row(report,
                              {sheet::cell(QStringLiteral("Azonosító:"),
                                           p.text(QStringLiteral("Azonosito")), 0, strong),
                               price}));
        report.endFrame();
        report.addSpace(3);
    });
    report.finish();
}
