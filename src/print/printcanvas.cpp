#include "print/printcanvas.h"

#include <QPageLayout>
#include <QPagedPaintDevice>

namespace {

const QPageLayout a4Layout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

} // namespace

PrintCanvas::PrintCanvas(QPaintDevice *device)
    : m_device(device)
    , m_paged(dynamic_cast<QPagedPaintDevice *>(device))
{
    if (m_paged)
        prepare(m_paged);
    // The painter works in device pixels on every device; a printer's and a PDF writer's page
    // layout places the origin inside the margins, elsewhere the canvas does it itself.
    // A printer's and a PDF writer's logical resolution is the one they print at.
    const int resolution = device->logicalDpiY();
    m_unitsPerMm = resolution / 25.4;
    const QRect paint = a4Layout().paintRectPixels(resolution);
    m_page = QRectF(0, 0, paint.width(), paint.height());
    m_painter.begin(device);
    if (!m_paged && m_painter.isActive())
        m_painter.setWindow(QRect(-paint.left(), -paint.top(), device->width(), device->height()));
}

PrintCanvas::~PrintCanvas()
{
    finish();
}

QPaintDevice *PrintCanvas::device() const
{
    return m_device;
}

void PrintCanvas::prepare(QPagedPaintDevice *device)
{
    device->setPageLayout(a4Layout());
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
    if (m_pageStarted && m_paged)
        m_paged->newPage();
    else if (!m_paged && m_painter.isActive())
        m_painter.fillRect(m_painter.window(), Qt::white);
    m_pageStarted = true;
    ++m_pages;
    if (m_pageHook)
        m_pageHook(m_pages);
}

bool PrintCanvas::finish()
{
    if (m_finished)
        return true;
    m_finished = true;
    if (!m_painter.isActive())
        return false;
    return m_painter.end();
}
