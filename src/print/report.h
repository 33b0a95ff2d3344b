#pragma once

#include "print/printcanvas.h"
#include "print/textblock.h"

#include <QDateTime>
#include <functional>
#include <vector>

class Cursor;

// The agency's data every page header carries, read from the settings when a run starts.
struct CompanyHeader
{
    QString name;
    QString cim;
    QString telefon;
    QString email;
    QString web;

    static CompanyHeader read(Cursor &tDefaults);
};

// What a report puts into the middle of its page header.
struct PageHeading
{
    QString title;
    QString azonosito; // bold under the title, for reports about one property
    QString subline; // under the identifier
    QString leftNote; // in italics at the left, under the printing time
};

// A horizontal strip of a page: its height, and how to paint it into the rectangle it gets.
struct Band
{
    double height = 0;
    std::function<void(QPainter &, const QRectF &)> paint;
};

// The page flow of one report run: the standard header at the top of every page, the sections
// the report repeats under it, then bands one below the other. A band that does not fit moves to
// a new page; a text that does not fit continues there; framed sections broken by a page end are
// closed there and go on framed on the next page. Nothing is cut off.
class Report
{
public:
    Report(PrintCanvas &canvas, CompanyHeader company, PageHeading heading,
           const QDateTime &printedAt = QDateTime::currentDateTime());

    PrintCanvas &canvas() { return m_canvas; }
    QPaintDevice *device() const { return m_canvas.device(); }
    double mm(double millimetres) const { return m_canvas.mm(millimetres); }
    // The width a band gets at this point (inside any open frames).
    double width() const;

    // While one lives, bands are measured for a place narrower by `margin` on each side (the
    // inside of a frame that a band paints itself).
    class Narrowing
    {
    public:
        Narrowing(Report &report, double margin);
        ~Narrowing();
        Narrowing(const Narrowing &) = delete;
        Narrowing &operator=(const Narrowing &) = delete;

    private:
        Report &m_report;
        double m_margin;
    };

    // Sections repeated under the header on every page; set before begin().
    void setPageTop(std::vector<Band> bands) { m_pageTop = std::move(bands); }
    void setPageNumberFooter(bool on) { m_footer = on; }

    void begin();
    void add(const Band &band);
    void addSpace(double millimetres); // nothing at the top of a page
    void addText(const TextBlock &text);
    void beginFrame(const QString &title = {});
    void endFrame();
    void finish();

    int pageCount() const { return m_pages; }

private:
    struct OpenFrame
    {
        double top;
    };

    void startPage();
    void endPage();
    void ensureRoom(double height);
    double bottom() const;
    double inset() const;
    void paintHeader();
    void paintFooter();

    PrintCanvas &m_canvas;
    CompanyHeader m_company;
    PageHeading m_heading;
    QString m_printedAt;
    std::vector<Band> m_pageTop;
    bool m_footer = false;
    std::vector<OpenFrame> m_frames;
    double m_narrowing = 0;
    double m_y = 0;
    double m_contentTop = 0;
    int m_pages = 0;
};
