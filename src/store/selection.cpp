#include "store/selection.h"

#include "store/filter.h"
#include "store/storeerror.h"

Selection::Selection(const TableDef &def)
    : m_def(&def)
{ }

QString Selection::quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

void Selection::addFilter(const Filter &filter, bool caseInsensitive)
{
    const Filter::Sql sql = filter.toSql(*m_def, caseInsensitive);
    if (sql.where.isEmpty())
        return;
    m_conditions << QLatin1Char('(') + sql.where + QLatin1Char(')');
    m_binds += sql.binds;
}

void Selection::addEquals(const FieldDef &field, const QVariant &value)
{
    m_conditions << quoted(field.name) + QStringLiteral(" = ?");
    m_binds << toColumn(field.kind, storedValue(field, value));
}

void Selection::setIndexName(const QString &indexName)
{
    if (indexName.isEmpty()) {
        m_orderColumn.clear();
        return;
    }
    const IndexDef *index = m_def->index(indexName);
    if (!index)
        throw StoreError(QStringLiteral("Ismeretlen index: %1").arg(indexName));
    const FieldDef &field = m_def->fields[m_def->fieldIndex(index->field)];
    m_orderColumn = quoted(field.folded ? TableDef::sortColumn(field.name) : field.name);
}

QString Selection::whereClause() const
{
    return m_conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where();
}

QString Selection::order() const
{
    // Said outright, since the server would put empty values last; SQLite reads it as its own
    // order and walks the same index.
    return m_orderColumn.isEmpty() ? QStringLiteral("rowid")
                                   : m_orderColumn + QStringLiteral(" NULLS FIRST, rowid");
}

QString Selection::reverseOrder() const
{
    return m_orderColumn.isEmpty() ? QStringLiteral("rowid DESC")
                                   : m_orderColumn + QStringLiteral(" DESC NULLS LAST, rowid DESC");
}
