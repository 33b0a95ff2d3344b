#pragma once

#include "store/selection.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class Database;

// The one reader for work that visits a whole table, or a whole selection of it, at once (the
// portal's files, matching the search requests): a single forward pass that reads only the
// columns the work needs, with no paging, no calculated fields and no cursor state.
namespace tablescan {

// One record of the pass, holding the columns in the order they were asked for.
class Row
{
public:
    qint64 rowId() const { return m_query->value(0).toLongLong(); }
    // As the field reads: a column never written gives the field's empty value.
    QVariant value(int column) const
    {
        return fromColumn(m_kinds[column], m_query->value(column + 1));
    }
    bool isNull(int column) const { return m_query->isNull(column + 1); }

private:
    friend int scan(Database &, const Selection &, const QStringList &,
                    const std::function<void(const Row &)> &);
    Row(const QSqlQuery &query, const QVector<FieldKind> &kinds)
        : m_query(&query)
        , m_kinds(kinds)
    { }
    const QSqlQuery *m_query;
    const QVector<FieldKind> &m_kinds;
};

// The columns a pass can read: a stored field by name, or the folded copy of a searched field
// (TableDef::foldedColumn), as the case-blind filters compare it. Throws StoreError otherwise.
FieldKind columnKind(const TableDef &def, const QString &column);

// Visits every record of the selection in its order, reading the named columns; returns how
// many were visited. Throws StoreError on an unknown column or a failed read.
int scan(Database &db, const Selection &selection, const QStringList &columns,
         const std::function<void(const Row &)> &visit);

} // namespace tablescan
