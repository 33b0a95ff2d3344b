#pragma once

#include "store/tabledef.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class Filter;

// Which records of one table, and in which order: the conditions of filters and of fixed field
// values, always carried as bound parameters, never as pasted text. Cursors, whole-table reads
// and whole-set writes all select their records through one of these.
class Selection
{
public:
    explicit Selection(const TableDef &def);

    const TableDef &def() const { return *m_def; }

    // Only the records that pass the filter. Throws StoreError when it names an unknown field.
    void addFilter(const Filter &filter, bool caseInsensitive);
    // Only the records whose field holds the value, compared as the field stores it.
    void addEquals(const FieldDef &field, const QVariant &value);
    // The order of one of the table's named indexes; empty: stored order. Throws StoreError for
    // an index the table does not have.
    void setIndexName(const QString &indexName);

    // The conditions joined by AND; empty when every record passes.
    QString where() const { return m_conditions.join(QStringLiteral(" AND ")); }
    // " WHERE ..." to append to a statement, or nothing.
    QString whereClause() const;
    const QVariantList &binds() const { return m_binds; }
    // The ORDER BY list, ending with the row id, so that the order is total; empty values first.
    QString order() const;
    // The same order backward.
    QString reverseOrder() const;
    // The quoted column of the index order; empty in stored order.
    const QString &orderColumn() const { return m_orderColumn; }

    static QString quoted(const QString &name);

private:
    const TableDef *m_def;
    QStringList m_conditions;
    QVariantList m_binds;
    QString m_orderColumn;
};
