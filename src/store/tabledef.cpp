#include "store/tabledef.h"

#include "store/cp1250.h"

int TableDef::fieldIndex(const QString &fieldName) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TableDef::calcIndex(const QString &fieldName) const
{
    for (int i = 0; i < calcs.size(); ++i) {
        if (calcs[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const IndexDef *TableDef::index(const QString &indexName) const
{
    for (const IndexDef &def : indexes) {
        if (def.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &def;
    }
    return nullptr;
}

QVariant emptyValue(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
        return QString();
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::AutoInc:
        return 0;
    case FieldKind::Float:
        return 0.0;
    case FieldKind::Boolean:
        return false;
    case FieldKind::DateTime:
        return QDateTime();
    }
    return {};
}

QVariant storedValue(const FieldDef &field, const QVariant &value)
{
    switch (field.kind) {
    case FieldKind::Text:
        return cp1250::clean(value.toString()).left(field.width);
    case FieldKind::Memo:
        return cp1250::clean(value.toString());
    case FieldKind::Int16:
        return static_cast<int>(static_cast<qint16>(value.toLongLong()));
    case FieldKind::Int32:
    case FieldKind::AutoInc:
        return static_cast<int>(static_cast<qint32>(value.toLongLong()));
    case FieldKind::Float:
        return value.toDouble();
    case FieldKind::Boolean:
        return value.toBool();
    case FieldKind::DateTime:
        return value.toDateTime();
    }
    return value;
}

QVariant toColumn(FieldKind kind, const QVariant &value)
{
    switch (kind) {
    case FieldKind::Boolean:
        return value.toBool() ? 1 : 0;
    case FieldKind::DateTime: {
        const QDateTime when = value.toDateTime();
        return when.isValid() ? QVariant(when.toString(Qt::ISODateWithMs)) : QVariant(QString());
    }
    default:
        return value;
    }
}

QVariant fromColumn(FieldKind kind, const QVariant &column)
{
    if (column.isNull())
        return emptyValue(kind);
    switch (kind) {
    // Whole-register passes read every column of every record through here: a column that
    // already holds the field's type is handed on as it is.
    case FieldKind::Text:
    case FieldKind::Memo:
        return column.typeId() == QMetaType::QString ? column : QVariant(column.toString());
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::AutoInc:
        return column.toInt();
    case FieldKind::Float:
        return column.typeId() == QMetaType::Double ? column : QVariant(column.toDouble());
    case FieldKind::Boolean:
        return column.toInt() != 0;
    case FieldKind::DateTime:
        return QDateTime::fromString(column.toString(), Qt::ISODateWithMs);
    }
    return column;
}
