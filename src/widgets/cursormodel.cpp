#include "cursormodel.h"

#include "cursor.h"
#include "textformat.h"

#include <QBrush>
#include <QColor>

CursorModel::CursorModel(Cursor *cursor, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_cursor(cursor)
    , m_columns(std::move(columns))
{
    for (int i = 0; i < m_columns.size(); ++i)
        m_titleColors << QColor();
    connect(cursor, &Cursor::viewChanged, this, [this] {
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
    return std::max(0, m_cursor->recordCount());
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
    const QVariant value = m_cursor->valueOf(m_cursor->recordAt(index.row()), column.field);
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
