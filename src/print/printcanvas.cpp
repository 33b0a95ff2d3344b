#include "printcanvas.h"

#include <QPageLayout>
#include <QPrinter>

PrintCanvas::PrintCanvas(QPrinter *printer)
    : m_printer(printer)
{
    prepare(printer);
    const int resolution = printer->resolution();
    m_unitsPerMm = resolution / 25.4;
    const QRect paint = printer->pageLayout().paintRectPixels(resolution);
    m_page = QRectF(0, 0, paint.width(), paint.height());
    m_painter.begin(printer);
}

PrintCanvas::~PrintCanvas()
{
    finish();
}

QPaintDevice *PrintCanvas::device() const
{
    return m_printer;
}

void PrintCanvas::prepare(QPrinter *printer)
{
    printer->setFullPage(false);
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

QFont PrintCanvas::font(double pointSize, bool bold, bool italic)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void PrintCanvas::drawFrame(QPainter &painter, const QRectF &rect, double pen)
{
    painter.save();
    painter.setPen(QPen(Qt::black, pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
    painter.restore();
}

void PrintCanvas::startPage()
{
    if (m_pageStarted)
        m_printer->newPage();
    m_pageStarted = true;
}

bool PrintCanvas::finish()
{
    if (m_finished)
        return true;
    m_finished = true;
    if (!m_painter.isActive())
        return false;
    const bool ended = m_painter.end();
    return ended && m_printer->printerState() != QPrinter::Error;
}
