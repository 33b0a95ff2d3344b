#pragma once

#include "print/report.h"

#include <QStringList>

// The pieces of the blank intake sheets: empty framed boxes to write into and option lists with
// a square to tick before each option.
namespace blankform {

struct Box
{
    QString label;
    QString unit; // after the box, empty for none
};

// Labelled boxes side by side, each in an equal share of `columns`.
Band boxes(Report &report, const QList<Box> &boxes, int columns);
// Tall boxes side by side, each with its label above it.
Band largeBoxes(Report &report, const QStringList &labels, double heightMm);

struct OptionGroup
{
    QString heading;
    QStringList options;
    int perRow = 3;
    int firstRow = 0; // options in the first row, when it differs
};

// Option groups stacked in columns that stand side by side; `shares` gives each column's part
// of the width.
Band groupColumns(Report &report, const QList<QList<OptionGroup>> &columns,
                  const QList<double> &shares);

} // namespace blankform
