#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <functional>

class QPagedPaintDevice;

// One painting session on one device: every report of the program is A4 portrait with 10 mm
// margins, set in Arial. Several report runs may share one session (the copies of a sheet on a
// printer that cannot make copies itself); each starts on a fresh page.
//
// A printer or PDF writer gets real pages. Any other device (an image, say) is one sheet: the A4
// area inside the margins at the device's resolution, from its top left corner; every new page
// starts on a blank sheet again, so the device ends up holding the last page.
class PrintCanvas
{
public:
    explicit PrintCanvas(QPaintDevice *device);
    ~PrintCanvas();
    PrintCanvas(const PrintCanvas &) = delete;
    PrintCanvas &operator=(const PrintCanvas &) = delete;

    // False when the printer or the output file could not be opened.
    bool isActive() const { return m_painter.isActive(); }
    QPainter &painter() { return m_painter; }
    QPaintDevice *device() const;

    // Device units of a length in millimetres.
    double mm(double millimetres) const { return millimetres * m_unitsPerMm; }
    // The area inside the margins, at the origin.
    QRectF pageRect() const { return m_page; }

    // Told the number of every page started; it may throw to end the painting there.
    using PageHook = std::function<void(int page)>;
    void setPageHook(PageHook hook) { m_pageHook = std::move(hook); }

    // The first call paints on the first page, every later one on a new page.
    void startPage();
    // Ends the session. False when the printer reported an error.
    bool finish();

    static void prepare(QPagedPaintDevice *device); // paper, orientation and margins
    // An unfilled black rectangle, the line `pen` device units wide.
    static void drawFrame(QPainter &painter, const QRectF &rect, double pen);
    static QFont font(double pointSize, bool bold = false, bool italic = false);

private:
    QPaintDevice *m_device;
    QPagedPaintDevice *m_paged; // null on a device without pages
    QPainter m_painter;
    double m_unitsPerMm = 1;
    QRectF m_page;
    PageHook m_pageHook;
    int m_pages = 0;
    bool m_pageStarted = false;
    bool m_finished = false;
};
