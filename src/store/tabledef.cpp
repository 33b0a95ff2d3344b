#include "tabledef.h"

#include "cp1250.h"

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

bool TableDef::hasAutoInc() const
{
    return !fields.isEmpty() && fields.first().kind == FieldKind::AutoInc;
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
