#include "print/report.h"

#include "store/cursor.h"
#include "store/textformat.h"

#include <QPainter>
#include <algorithm>
#include <optional>

namespace {

constexpr double framePadding = 2.0; // mm inside a frame, on every side
constexpr double footerHeight = 9.0; // mm
constexpr double gapUnderHeader = 3.0; // mm

} // namespace

CompanyHeader CompanyHeader::read(Cursor &tDefaults)
{
    tDefaults.open();
    return {tDefaults.text(QStringLiteral("Name")), tDefaults.text(QStringLiteral("Cim")),
            tDefaults.text(QStringLiteral("Telefon")), tDefaults.text(QStringLiteral("Email")),
            tDefaults.text(QStringLiteral("Web"))};
}

Report::Report(PrintCanvas &canvas, CompanyHeader company, PageHeading heading,
               const QDateTime &printedAt)
    : m_canvas(canvas)
    , m_company(std::move(company))
    , m_heading(std::move(heading))
    , m_printedAt(textformat::timestampText(printedAt))
{ }

double Report::inset() const
{
    return mm(framePadding) * static_cast<double>(m_frames.size());
}

double Report::width() const
{
    return m_canvas.pageRect().width() - 2 * inset() - 2 * m_narrowing;
}

Report::Narrowing::Narrowing(Report &report, double margin)
    : m_report(report)
    , m_margin(margin)
{
    m_report.m_narrowing += margin;
}

Report::Narrowing::~Narrowing()
{
    m_report.m_narrowing -= m_margin;
}

double Report::bottom() const
{
    // Room is kept for the bottom edges of the open frames and for the footer.
    double limit = m_canvas.pageRect().height() - inset();
    if (m_footer)
        limit -= mm(footerHeight);
    return limit;
}

void Report::begin()
{
    startPage();
}

void Report::startPage()
{
    m_canvas.startPage();
    ++m_pages;
    m_y = 0;
    paintHeader();
    m_y += mm(gapUnderHeader);
    QPainter &painter = m_canvas.painter();
    const double pageWidth = m_canvas.pageRect().width();
    for (const Band &band : m_pageTop) {
        band.paint(painter, QRectF(0, m_y, pageWidth, band.height));
        m_y += band.height;
    }
    // Frames broken by the previous page end go on here.
    for (OpenFrame &frame : m_frames) {
        frame.top = m_y;
        m_y += mm(framePadding);
    }
    m_contentTop = m_y;
}

void Report::endPage()
{
    QPainter &painter = m_canvas.painter();
    const double pageWidth = m_canvas.pageRect().width();
    double frameBottom = m_y + inset();
    for (size_t i = 0; i < m_frames.size(); ++i) {
        const double left = mm(framePadding) * static_cast<double>(i);
        PrintCanvas::drawFrame(
            painter,
            QRectF(left, m_frames[i].top, pageWidth - 2 * left, frameBottom - m_frames[i].top),
            mm(0.25));
        frameBottom -= mm(framePadding);
    }
    if (m_footer)
        paintFooter();
}

void Report::ensureRoom(double height)
{
    if (m_y + height > bottom() && m_y > m_contentTop) {
        endPage();
        startPage();
    }
}

void Report::add(const Band &band)
{
    ensureRoom(band.height);
    band.paint(m_canvas.painter(), QRectF(inset(), m_y, width(), band.height));
    m_y += band.height;
}

void Report::addSpace(double millimetres)
{
    if (m_y > m_contentTop)
        m_y = std::min(m_y + mm(millimetres), bottom());
}

void Report::addText(const TextBlock &text)
{
    int line = 0;
    const int lines = text.lineCount();
    while (line < lines) {
        int fitting = text.linesFitting(line, bottom() - m_y, m_y <= m_contentTop);
        if (fitting == 0) {
            endPage();
            startPage();
            continue;
        }
        text.paintLines(m_canvas.painter(), QPointF(inset(), m_y), line, line + fitting);
        m_y += text.heightOf(line, line + fitting);
        line += fitting;
    }
}

void Report::beginFrame(const QString &title)
{
    std::optional<TextBlock> heading;
    double needed = mm(2 * framePadding);
    if (!title.isEmpty()) {
        heading.emplace(device(), width() - mm(2 * framePadding),
                        QList<Span> {{title, PrintCanvas::font(10, true)}});
        needed += heading->height();
    }
    // A frame heading never stands alone at the foot of a page.
    ensureRoom(needed + mm(6));
    m_frames.push_back({m_y});
    m_y += mm(framePadding);
    if (heading) {
        heading->paint(m_canvas.painter(), QPointF(inset(), m_y));
        m_y += heading->height() + mm(1);
    }
}

void Report::endFrame()
{
    if (m_frames.empty())
        return;
    m_y += mm(framePadding);
    const double left = mm(framePadding) * static_cast<double>(m_frames.size() - 1);
    PrintCanvas::drawFrame(m_canvas.painter(),
                           QRectF(left, m_frames.back().top, m_canvas.pageRect().width() - 2 * left,
                                  m_y - m_frames.back().top),
                           mm(0.25));
    m_frames.pop_back();
}

void Report::finish()
{
    while (!m_frames.empty())
        endFrame();
    if (m_footer)
        paintFooter();
}

void Report::paintHeader()
{
    QPainter &painter = m_canvas.painter();
    const double pageWidth = m_canvas.pageRect().width();
    const double pad = mm(2);
    const double sideWidth = mm(58);
    const double middleWidth = pageWidth - 2 * sideWidth - 4 * pad;
    QPaintDevice *pd = device();

    std::vector<TextBlock> left;
    left.emplace_back(pd, sideWidth,
                      QList<Span> {{QStringLiteral("Pelmora Ingatlan Nyilvántartás"),
                                    PrintCanvas::font(10, true, true)}});
    left.emplace_back(pd, sideWidth, QList<Span> {{m_printedAt, PrintCanvas::font(8)}});
    if (!m_heading.leftNote.isEmpty())
        left.emplace_back(pd, sideWidth,
                          QList<Span> {{m_heading.leftNote, PrintCanvas::font(10, false, true)}});

    std::vector<TextBlock> middle;
    middle.emplace_back(pd, middleWidth,
                        QList<Span> {{m_heading.title, PrintCanvas::font(16, true)}},
                        Qt::AlignHCenter);
    if (!m_heading.azonosito.isEmpty())
        middle.emplace_back(pd, middleWidth,
                            QList<Span> {{m_heading.azonosito, PrintCanvas::font(12, true)}},
                            Qt::AlignHCenter);
    if (!m_heading.subline.isEmpty())
        middle.emplace_back(pd, middleWidth,
                            QList<Span> {{m_heading.subline, PrintCanvas::font(10)}},
                            Qt::AlignHCenter);

    std::vector<TextBlock> right;
    right.emplace_back(pd, sideWidth, QList<Span> {{m_company.name, PrintCanvas::font(9, true)}},
                       Qt::AlignRight);
    for (const QString &line : {m_company.cim, m_company.telefon, m_company.email, m_company.web})
        right.emplace_back(pd, sideWidth, QList<Span> {{line, PrintCanvas::font(8)}},
                           Qt::AlignRight);

    auto columnHeight = [](const std::vector<TextBlock> &blocks) {
        double height = 0;
        for (const TextBlock &block : blocks)
            height += block.height();
        return height;
    };
    const double height =
        std::max({columnHeight(left), columnHeight(middle), columnHeight(right)}) + 2 * pad;
    auto paintColumn = [&](const std::vector<TextBlock> &blocks, double x) {
        double y = m_y + pad;
        for (const TextBlock &block : blocks) {
            block.paint(painter, QPointF(x, y));
            y += block.height();
        }
    };
    paintColumn(left, pad);
    paintColumn(middle, sideWidth + 2 * pad);
    paintColumn(right, pageWidth - sideWidth - pad);

    PrintCanvas::drawFrame(painter, QRectF(0, m_y, pageWidth, height), mm(0.4));
    m_y += height;
}

void Report::paintFooter()
{
    QPainter &painter = m_canvas.painter();
    const QRectF page = m_canvas.pageRect();
    const QRectF strip(0, page.height() - mm(footerHeight - 2), page.width(), mm(footerHeight - 2));
    PrintCanvas::drawFrame(painter, strip, mm(0.25));
    painter.save();
    painter.setFont(PrintCanvas::font(9));
    painter.drawText(strip, Qt::AlignCenter, QString::number(m_pages));
    painter.restore();
}
