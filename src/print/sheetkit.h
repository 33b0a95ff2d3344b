#pragma once

#include "print/report.h"

#include <QList>

#include "store/cursor.h"

// The building blocks the sheets and lists are laid out with: labelled values side by side,
// headings, rules and tick squares, all measured before they are painted so a band knows its
// height.
namespace sheet {

QFont labelFont();
QFont valueFont(); // bold
QFont listFont(); // the smaller bold type of long option lists

// A label and its value: the label takes `labelWidth` millimetres (0: as wide as it is), the
// value the rest of the cell, wrapping when long.
struct Cell
{
    QString label;
    QList<Span> value;
    double labelWidth = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
};

Cell cell(const QString &label, const QString &value, double labelWidth = 0,
          const QFont &font = valueFont());
// A value followed by its unit ("120 m²", "12 darab").
Cell withUnit(const QString &label, const QString &value, const QString &unit,
              double labelWidth = 0);

// Cells side by side, each taking an equal share of `columns` (0: one share per cell).
Band row(Report &report, const QList<Cell> &cells, int columns = 0);
// One or more texts in their fonts, across the full width.
Band textLine(Report &report, const QList<Span> &spans, Qt::Alignment alignment = Qt::AlignLeft);
Band heading(Report &report, const QString &text, double pointSize = 10, bool underline = false);
Band rule(Report &report);
// A whole band in a frame with an optional bold title, for sections that repeat on every page.
// The inner bands are made by `build`, measured for the inside of the frame.
Band framed(Report &report, const QString &title, const std::function<std::vector<Band>()> &build);

// A label followed by a small square holding `mark` (empty on the blank forms).
Band labelledSquare(Report &report, const QString &label, const QString &mark = {});
// A number right-aligned in a narrow column, directly followed by ".,", beside lines of text.
Band numberedEntry(Report &report, int number, const QList<QList<Span>> &lines);

// A small empty square, for the blank forms and the WC mark.
void tickSquare(QPainter &painter, const QRectF &square, const QString &mark = {});

// How the sheets print numbers: plain, without grouping.
QString number(double value);
// A handout's time as timestamp text; nothing for a handout never written.
QString timestamp(const QDateTime &when);

} // namespace sheet

// One record of a cursor's table, read with the cursor's calculated fields.
struct RowValues
{
    const Cursor &cursor;
    Record record;

    static RowValues current(const Cursor &cursor) { return {cursor, cursor.record()}; }
    static RowValues at(const Cursor &cursor, int position)
    {
        return {cursor, cursor.recordAt(position)};
    }

    QString text(const QString &field) const;
    double number(const QString &field) const;
    bool boolean(const QString &field) const;
    QString numberText(const QString &field) const { return sheet::number(number(field)); }
};
