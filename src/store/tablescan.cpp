#include "tablescan.h"

#include "database.h"
#include "storeerror.h"
#include "tables.h"

#include <QSqlError>
#include <QSqlQuery>

namespace tablescan {

namespace {

[[noreturn]] void fail(const QSqlQuery &query)
{
    throw StoreError(databaseError(query.lastError()));
}

} // namespace

QVector<PropertyMatchKey> propertyMatchKeys(Database &db)
{
    const QString sql =
        QStringLiteral("SELECT \"Ar\", \"%1\", \"%2\" FROM \"%3\" WHERE \"Ar\" IS NOT NULL")
            .arg(TableDef::foldedColumn(QStringLiteral("CimVaros")),
                 TableDef::foldedColumn(QStringLiteral("TipusText")), tables::egyszeru);
    QSqlQuery query(db.connection());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        fail(query);
    QVector<PropertyMatchKey> keys;
    // The same few settlement and type names come back again and again: share one copy each.
    QHash<QString, QString> names;
    auto shared = [&names](const QString &name) {
        auto found = names.constFind(name);
        return found != names.constEnd() ? *found : *names.insert(name, name);
    };
    while (query.next()) {
        keys.append({query.value(0).toDouble(), shared(query.value(1).toString()),
                     shared(query.value(2).toString())});
    }
    return keys;
}

void writeBooleans(Database &db, const QString &table, const QString &field,
                   const QVector<std::pair<qint64, bool>> &values)
{
    const TableDef &def = tables::def(table);
    const int index = def.fieldIndex(field);
    if (index < 0 || def.fields[index].kind != FieldKind::Boolean)
        throw StoreError(QStringLiteral("Ismeretlen logikai mező: %1.%2").arg(table, field));
    if (values.isEmpty())
        return;
    Database::Transaction transaction(db);
    QSqlQuery query(db.connection());
    if (!query.prepare(QStringLiteral("UPDATE \"%1\" SET \"%2\" = ? WHERE rowid = ?")
                           .arg(def.name, def.fields[index].name)))
        fail(query);
    for (const auto &[rowId, value] : values) {
        query.bindValue(0, value ? 1 : 0);
        query.bindValue(1, rowId);
        if (!query.exec())
            fail(query);
    }
    query.finish();
    transaction.commit();
    db.tableChanged(table);
}

} // namespace tablescan
