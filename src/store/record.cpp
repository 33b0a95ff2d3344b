#include "store/record.h"

#include <stdexcept>

Record::Record(const TableDef *def)
    : m_def(def)
{
    m_values.reserve(def->fields.size());
    for (const FieldDef &field : def->fields)
        m_values.append(emptyValue(field.kind));
}

static int requireField(const TableDef *def, const QString &field)
{
    const int index = def ? def->fieldIndex(field) : -1;
    if (index < 0) {
        throw std::invalid_argument(QStringLiteral("no field %1 in %2")
                                        .arg(field, def ? def->name : QString())
                                        .toStdString());
    }
    return index;
}

QVariant Record::value(const QString &field) const
{
    if (!m_def)
        return {};
    return m_values.value(requireField(m_def, field));
}

void Record::setValue(const QString &field, const QVariant &value)
{
    setValue(requireField(m_def, field), value);
}

void Record::setValue(int index, const QVariant &value)
{
    m_values[index] = storedValue(m_def->fields[index], value);
}
