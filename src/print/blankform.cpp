#include "print/blankform.h"

#include "print/sheetkit.h"

#include <QPainter>
#include <memory>

namespace blankform {

namespace {

constexpr double boxHeight = 6.5; // mm
constexpr double optionLine = 4.6; // mm
constexpr double square = 2.8; // mm

double textWidth(Report &report, const QString &text, const QFont &font)
{
    return text.isEmpty()
        ? 0
        : TextBlock(report.device(), report.width(), {{text, font}}).naturalWidth();
}

} // namespace

Band boxes(Report &report, const QList<Box> &boxes, int columns)
{
    const double gap = report.mm(3);
    const double share = (report.width() - gap * (columns - 1)) / columns;
    const double height = report.mm(boxHeight);
    const double pen = report.mm(0.25);
    const double spacing = report.mm(1.5);
    struct Placed
    {
        QRectF label;
        QRectF box;
        QRectF unit;
        Box text;
    };
    auto placed = std::make_shared<std::vector<Placed>>();
    for (int i = 0; i < boxes.size(); ++i) {
        const double x = i * (share + gap);
        const double labelWidth = textWidth(report, boxes[i].label, sheet::labelFont()) + spacing;
        const double unitWidth = boxes[i].unit.isEmpty()
            ? 0
            : textWidth(report, boxes[i].unit, sheet::labelFont()) + spacing;
        const double boxWidth = std::max(share - labelWidth - unitWidth, report.mm(8));
        placed->push_back(
            {QRectF(x, 0, labelWidth, height), QRectF(x + labelWidth, 0, boxWidth, height),
             QRectF(x + labelWidth + boxWidth + spacing, 0, unitWidth, height), boxes[i]});
    }
    return {height + report.mm(1.5), [placed, pen](QPainter &painter, const QRectF &rect) {
                painter.save();
                painter.setFont(sheet::labelFont());
                for (const Placed &p : *placed) {
                    const QPointF at = rect.topLeft();
                    painter.drawText(p.label.translated(at), Qt::AlignLeft | Qt::AlignVCenter,
                                     p.text.label);
                    PrintCanvas::drawFrame(painter, p.box.translated(at), pen);
                    if (!p.text.unit.isEmpty())
                        painter.drawText(p.unit.translated(at), Qt::AlignLeft | Qt::AlignVCenter,
                                         p.text.unit);
                }
                painter.restore();
            }};
}

Band largeBoxes(Report &report, const QStringList &labels, double heightMm)
{
    const double gap = report.mm(3);
    const int n = static_cast<int>(labels.size());
    const double share = (report.width() - gap * (n - 1)) / n;
    const double labelHeight = report.mm(5);
    const double boxHeightDevice = report.mm(heightMm);
    const double pen = report.mm(0.25);
    return {labelHeight + boxHeightDevice + report.mm(1.5),
            [=](QPainter &painter, const QRectF &rect) {
                painter.save();
                painter.setFont(sheet::labelFont());
                for (int i = 0; i < n; ++i) {
                    const double x = rect.left() + i * (share + gap);
                    painter.drawText(QRectF(x, rect.top(), share, labelHeight),
                                     Qt::AlignLeft | Qt::AlignVCenter, labels[i]);
                    PrintCanvas::drawFrame(
                        painter, QRectF(x, rect.top() + labelHeight, share, boxHeightDevice), pen);
                }
                painter.restore();
            }};
}

namespace {

// Lays out one group from `top` in a column; returns the height it took. Paints only when a
// painter is given, so the same code measures.
double layoutGroup(Report &report, QPainter *painter, const OptionGroup &group,
                   const QPointF &origin, double width)
{
    const double line = report.mm(optionLine);
    const double side = report.mm(square);
    double y = origin.y();
    if (painter) {
        painter->setFont(PrintCanvas::font(8.5, true));
        painter->drawText(QRectF(origin.x(), y, width, line), Qt::AlignLeft | Qt::AlignVCenter,
                          group.heading);
    }
    y += line;
    int index = 0;
    bool firstRow = true;
    while (index < group.options.size()) {
        const int inRow = firstRow && group.firstRow > 0 ? group.firstRow : group.perRow;
        const double cellWidth = width / inRow;
        for (int c = 0; c < inRow && index < group.options.size(); ++c, ++index) {
            if (!painter)
                continue;
            const double x = origin.x() + report.mm(2) + c * cellWidth;
            sheet::tickSquare(*painter, QRectF(x, y + (line - side) / 2, side, side));
            painter->setFont(PrintCanvas::font(7.5));
            painter->drawText(
                QRectF(x + side + report.mm(1.2), y, cellWidth - side - report.mm(1.2), line),
                Qt::AlignLeft | Qt::AlignVCenter, group.options[index]);
        }
        y += line;
        firstRow = false;
    }
    return y - origin.y() + report.mm(1);
}

} // namespace

Band groupColumns(Report &report, const QList<QList<OptionGroup>> &columns,
                  const QList<double> &shares)
{
    const double gap = report.mm(3);
    const double usable = report.width() - gap * (columns.size() - 1);
    double total = 0;
    for (double s : shares)
        total += s;
    double height = 0;
    for (int c = 0; c < columns.size(); ++c) {
        double columnHeight = 0;
        for (const OptionGroup &group : columns[c])
            columnHeight +=
                layoutGroup(report, nullptr, group, QPointF(), usable * shares[c] / total);
        height = std::max(height, columnHeight);
    }
    return {height,
            [&report, columns, shares, gap, usable, total](QPainter &painter, const QRectF &rect) {
                painter.save();
                double x = rect.left();
                for (int c = 0; c < columns.size(); ++c) {
                    const double width = usable * shares[c] / total;
                    double y = rect.top();
                    for (const OptionGroup &group : columns[c])
                        y += layoutGroup(report, &painter, group, QPointF(x, y), width);
                    x += width + gap;
                }
                painter.restore();
            }};
}

} // namespace blankform
