#include "widgets/cursormodel.h"

#include "store/cursor.h"
#include "store/textformat.h"
#include "widgets/errorboundary.h"

#include <QBrush>
#include <QColor>
#include <utility>

CursorModel::CursorModel(Cursor *cursor, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_cursor(cursor)
    , m_columns(std::move(columns))
{
    for (int i = 0; i < m_columns.size(); ++i)
        m_titleColors << QColor();
    connect(cursor, &Cursor::viewChanged, this, [this] {
        // A new view is read afresh, so a table that fails again says so again.
        m_failureReported = false;
        beginResetModel();
        endResetModel();
    });
}

void CursorModel::setTitleColor(int column, const QColor &color)
{
    if (column < 0 || column >= m_titleColors.size() || m_titleColors[column] == color)
        return;
    m_titleColors[column] = color;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QColor CursorModel::titleColor(int column) const
{
    return m_titleColors.value(column);
}

int CursorModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_cursor || !m_cursor->isOpen())
        return 0;
    int count = 0;
    if (const auto failure = failureOf([&] { count = m_cursor->recordCount(); }))
        readFailed(*failure);
    return std::max(0, count);
}

int CursorModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CursorModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_cursor)
        return {};
    const GridColumn &column = m_columns[index.column()];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.alignment | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    QVariant shown;
    if (const auto failure = failureOf([&] { shown = displayValue(index.row(), column); }))
        readFailed(*failure);
    return shown;
}

QVariant CursorModel::displayValue(int row, const GridColumn &column) const
{
    const QVariant value = m_cursor->valueOf(m_cursor->recordAt(row), column.field);
    switch (value.typeId()) {
    case QMetaType::Double:
        return textformat::numberText(value.toDouble());
    case QMetaType::Int:
        return QString::number(value.toInt());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        break;
    }
    // A memo shown in one cell keeps to one line.
    QString text = value.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return text;
}

void CursorModel::readFailed(const QString &message) const
{
    // The view reads while it paints, where no dialog may open, and reads every cell again on
    // the next paint: the cells stay empty and the user hears of it once, after the paint.
    if (std::exchange(m_failureReported, true))
        return;
    reportLater(message);
}

QVariant CursorModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return m_columns[section].title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return m_titleColors[section].isValid() ? QVariant(QBrush(m_titleColors[section]))
                                                : QVariant();
    default:
        return {};
    }
}
