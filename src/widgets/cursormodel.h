#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QPointer>

#include "store/cursor.h"

struct GridColumn
{
    QString field; // stored or calculated
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// A grid's rows: the cursor's view in its order, read a screenful at a time as the grid asks.
// Title colours (the mark of the sort column) are set per column.
class CursorModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    CursorModel(Cursor *cursor, QList<GridColumn> columns, QObject *parent = nullptr);

    Cursor *cursor() const { return m_cursor; }
    const QList<GridColumn> &columns() const { return m_columns; }
    void setTitleColor(int column, const QColor &color); // invalid colour: the normal one
    QColor titleColor(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant displayValue(int row, const GridColumn &column) const;
    void readFailed(const QString &message) const;

    QPointer<Cursor> m_cursor;
    QList<GridColumn> m_columns;
    QList<QColor> m_titleColors;
    mutable bool m_failureReported = false;
};
