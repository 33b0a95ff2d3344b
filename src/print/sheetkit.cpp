#include "print/sheetkit.h"

#include "store/textformat.h"

#include <QPainter>
#include <memory>

namespace sheet {

QFont labelFont()
{
    return PrintCanvas::font(9);
}

QFont valueFont()
{
    return PrintCanvas::font(9, true);
}

QFont listFont()
{
    return PrintCanvas::font(8, true);
}

Cell cell(const QString &label, const QString &value, double labelWidth, const QFont &font)
{
    return {label, {{value, font}}, labelWidth};
}

Cell withUnit(const QString &label, const QString &value, const QString &unit, double labelWidth)
{
    return {label, {{value, valueFont()}, {QStringLiteral(" ") + unit, labelFont()}}, labelWidth};
}

Band row(Report &report, const QList<Cell> &cells, int columns)
{
    if (columns <= 0)
        columns = static_cast<int>(cells.size());
    const double gap = report.mm(2);
    const double share = (report.width() - gap * (columns - 1)) / columns;
    struct Placed
    {
        double x;
        std::shared_ptr<TextBlock> label;
        std::shared_ptr<TextBlock> value;
        double valueX;
    };
    auto placed = std::make_shared<std::vector<Placed>>();
    double height = 0;
    for (int i = 0; i < cells.size(); ++i) {
        const Cell &c = cells[i];
        const double x = i * (share + gap);
        Placed p {x, nullptr, nullptr, x};
        if (!c.label.isEmpty()) {
            const double labelWidth = c.labelWidth > 0 ? report.mm(c.labelWidth) : share;
            p.label = std::make_shared<TextBlock>(report.device(), labelWidth,
                                                  QList<Span> {{c.label, labelFont()}});
            const double used =
                c.labelWidth > 0 ? labelWidth : p.label->naturalWidth() + report.mm(1.5);
            p.valueX = x + std::min(used, share * 0.6);
            height = std::max(height, p.label->height());
        }
        const double valueWidth = std::max(share - (p.valueX - x), report.mm(5));
        p.value = std::make_shared<TextBlock>(report.device(), valueWidth, c.value, c.alignment);
        height = std::max(height, p.value->height());
        placed->push_back(p);
    }
    height += report.mm(0.8);
    return {height, [placed](QPainter &painter, const QRectF &rect) {
                for (const Placed &p : *placed) {
                    if (p.label)
                        p.label->paint(painter, rect.topLeft() + QPointF(p.x, 0));
                    p.value->paint(painter, rect.topLeft() + QPointF(p.valueX, 0));
                }
            }};
}

Band textLine(Report &report, const QList<Span> &spans, Qt::Alignment alignment)
{
    auto block = std::make_shared<TextBlock>(report.device(), report.width(), spans, alignment);
    return {block->height() + report.mm(0.8), [block](QPainter &painter, const QRectF &rect) {
                block->paint(painter, rect.topLeft());
            }};
}

Band heading(Report &report, const QString &text, double pointSize, bool underline)
{
    QFont font = PrintCanvas::font(pointSize, true);
    font.setUnderline(underline);
    auto block =
        std::make_shared<TextBlock>(report.device(), report.width(), QList<Span> {{text, font}});
    const double before = report.mm(1);
    return {block->height() + before + report.mm(1),
            [block, before](QPainter &painter, const QRectF &rect) {
                block->paint(painter, rect.topLeft() + QPointF(0, before));
            }};
}

Band rule(Report &report)
{
    const double pen = report.mm(0.3);
    return {report.mm(2), [pen](QPainter &painter, const QRectF &rect) {
                painter.save();
                painter.setPen(QPen(Qt::black, pen));
                const double y = rect.center().y();
                painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
                painter.restore();
            }};
}

Band framed(Report &report, const QString &title, const std::function<std::vector<Band>()> &build)
{
    const double pad = report.mm(2);
    std::vector<Band> inner;
    {
        Report::Narrowing inside(report, pad);
        inner = build();
    }
    std::shared_ptr<TextBlock> heading;
    double height = 2 * pad;
    if (!title.isEmpty()) {
        heading = std::make_shared<TextBlock>(report.device(), report.width() - 2 * pad,
                                              QList<Span> {{title, PrintCanvas::font(10, true)}});
        height += heading->height() + report.mm(1);
    }
    for (const Band &band : inner)
        height += band.height;
    const double pen = report.mm(0.25);
    return {height + report.mm(1),
            [heading, inner, pad, pen](QPainter &painter, const QRectF &rect) {
                QRectF frame = rect.adjusted(0, 0, 0, -pad / 2);
                double y = rect.top() + pad;
                if (heading) {
                    heading->paint(painter, QPointF(rect.left() + pad, y));
                    y += heading->height() + pad / 2;
                }
                for (const Band &band : inner) {
                    band.paint(painter,
                               QRectF(rect.left() + pad, y, rect.width() - 2 * pad, band.height));
                    y += band.height;
                }
                PrintCanvas::drawFrame(painter, frame, pen);
            }};
}

Band labelledSquare(Report &report, const QString &label, const QString &mark)
{
    auto block = std::make_shared<TextBlock>(report.device(), report.width() - report.mm(8),
                                             QList<Span> {{label, labelFont()}});
    const double side = report.mm(4);
    const double gap = report.mm(2);
    const double height = std::max(block->height(), side) + report.mm(1.5);
    return {height, [block, side, gap, mark](QPainter &painter, const QRectF &rect) {
                block->paint(painter, rect.topLeft());
                const double x = rect.left() + block->naturalWidth() + gap;
                tickSquare(painter, QRectF(x, rect.top(), side, side), mark);
            }};
}

Band numberedEntry(Report &report, int number, const QList<QList<Span>> &lines)
{
    const double numberWidth = report.mm(12);
    const double indent = numberWidth + report.mm(2);
    auto numberBlock = std::make_shared<TextBlock>(
        report.device(), numberWidth,
        QList<Span> {{QString::number(number) + QStringLiteral(".,"), valueFont()}},
        Qt::AlignRight);
    auto blocks = std::make_shared<std::vector<TextBlock>>();
    double height = 0;
    for (const QList<Span> &line : lines) {
        blocks->emplace_back(report.device(), report.width() - indent, line);
        height += blocks->back().height();
    }
    height = std::max(height, numberBlock->height()) + report.mm(1.5);
    return {height, [numberBlock, blocks, indent](QPainter &painter, const QRectF &rect) {
                numberBlock->paint(painter, rect.topLeft());
                double y = rect.top();
                for (const TextBlock &block : *blocks) {
                    block.paint(painter, QPointF(rect.left() + indent, y));
                    y += block.height();
                }
            }};
}

void tickSquare(QPainter &painter, const QRectF &square, const QString &mark)
{
    PrintCanvas::drawFrame(painter, square, square.width() / 14);
    if (!mark.isEmpty()) {
        painter.save();
        painter.setFont(PrintCanvas::font(8, true));
        painter.drawText(square, Qt::AlignCenter, mark);
        painter.restore();
    }
}

QString number(double value)
{
    return textformat::numberText(value);
}

QString timestamp(const QDateTime &when)
{
    return when.isValid() ? textformat::timestampText(when) : QString();
}

} // namespace sheet

QString RowValues::text(const QString &field) const
{
    return cursor.valueOf(record, field).toString();
}

double RowValues::number(const QString &field) const
{
    return cursor.valueOf(record, field).toDouble();
}

bool RowValues::boolean(const QString &field) const
{
    return cursor.valueOf(record, field).toBool();
}
