#include "store/bulkwrite.h"

#include "store/database.h"
#include "store/selection.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/textformat.h"

#include <QSqlError>
#include <QSqlQuery>

namespace bulkwrite {

namespace {

const FieldDef &requireField(const TableDef &def, const QString &field)
{
    const int index = def.fieldIndex(field);
    if (index < 0 || def.fields[index].kind == FieldKind::AutoInc)
        throw StoreError(QStringLiteral("Ismeretlen mező: %1.%2").arg(def.name, field));
    return def.fields[index];
}

} // namespace

int setField(Database &db, const Selection &selection, const QString &field, const QVariant &value)
{
    const TableDef &def = selection.def();
    const FieldDef &target = requireField(def, field);
    const QVariant stored = storedValue(target, value);
    QStringList sets {Selection::quoted(target.name) + QStringLiteral(" = ?")};
    QVariantList binds {toColumn(target.kind, stored)};
    if (target.folded) {
        sets << Selection::quoted(TableDef::foldedColumn(target.name)) + QStringLiteral(" = ?")
             << Selection::quoted(TableDef::sortColumn(target.name)) + QStringLiteral(" = ?");
        binds << textformat::fold(stored.toString()) << textformat::sortKey(stored.toString());
    }
    Database::Transaction unit(db);
    const QSqlQuery query =
        db.query(QStringLiteral("UPDATE %1 SET %2")
                         .arg(Selection::quoted(def.name), sets.join(QStringLiteral(", "))) +
                     selection.whereClause(),
                 binds + selection.binds());
    const int changed = query.numRowsAffected();
    db.tableChanged(def.name);
    unit.commit();
    return changed;
}

void setBooleans(Database &db, const QString &table, const QString &field,
                 const QVector<std::pair<qint64, bool>> &values)
{
    const TableDef &def = tables::def(table);
    const FieldDef &target = requireField(def, field);
    if (target.kind != FieldKind::Boolean)
        throw StoreError(QStringLiteral("Ismeretlen logikai mező: %1.%2").arg(table, field));
    if (values.isEmpty())
        return;
    Database::Transaction unit(db);
    QSqlQuery query(db.connection());
    if (!query.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                           .arg(Selection::quoted(def.name), Selection::quoted(target.name))))
        throw StoreError(databaseError(query.lastError()));
    for (const auto &[rowId, on] : values) {
        query.bindValue(0, on ? 1 : 0);
        query.bindValue(1, rowId);
        if (!query.exec())
            throw StoreError(databaseError(query.lastError()));
    }
    query.finish();
    db.tableChanged(def.name);
    unit.commit();
}

int remove(Database &db, const Selection &selection)
{
    Database::Transaction unit(db);
    const QSqlQuery query =
        db.query(QStringLiteral("DELETE FROM ") + Selection::quoted(selection.def().name) +
                     selection.whereClause(),
                 selection.binds());
    const int removed = query.numRowsAffected();
    db.tableChanged(selection.def().name);
    unit.commit();
    return removed;
}

} // namespace bulkwrite
