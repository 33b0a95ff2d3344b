#pragma once

#include "store/tabledef.h"

#include <QDateTime>
#include <QVariant>
#include <QVector>

// One record's stored values in the table's field order, with typed access by field name.
// Calculated fields are the cursor's business; a record only holds what is stored.
class Record
{
public:
    Record() = default;
    explicit Record(const TableDef *def);

    const TableDef *def() const { return m_def; }
    bool isNull() const { return m_def == nullptr; }

    QVariant value(const QString &field) const;
    QVariant value(int index) const { return m_values.value(index); }
    void setValue(const QString &field, const QVariant &value);
    void setValue(int index, const QVariant &value);
    // For values read back from the table, which are in stored form already.
    void setStoredValue(int index, const QVariant &value) { m_values[index] = value; }

    QString text(const QString &field) const { return value(field).toString(); }
    int integer(const QString &field) const { return value(field).toInt(); }
    double number(const QString &field) const { return value(field).toDouble(); }
    bool boolean(const QString &field) const { return value(field).toBool(); }
    QDateTime dateTime(const QString &field) const { return value(field).toDateTime(); }

    qint64 rowId = 0;
    // How many times the record was saved when it was read: a save is refused when the table
    // holds another count by then (someone else saved it in between).
    qint64 version = 0;

private:
    const TableDef *m_def = nullptr;
    QVector<QVariant> m_values;
};
