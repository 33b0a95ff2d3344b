#include "store/schema.h"

#include "store/database.h"
#include "store/selection.h"
#include "store/tables.h"

#include <QSet>
#include <QSqlRecord>

namespace schema {

namespace {

QString columnType(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::DateTime:
        return QStringLiteral("TEXT");
    case FieldKind::Float:
        return QStringLiteral("REAL");
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::Boolean:
    case FieldKind::AutoInc:
        break;
    }
    return QStringLiteral("INTEGER");
}

QString quoted(const QString &name)
{
    return Selection::quoted(name);
}

// A stored field's column, and beside a searched one its folded copy and sort key.
QList<std::pair<QString, FieldKind>> columnsOf(const FieldDef &field)
{
    QList<std::pair<QString, FieldKind>> columns {{field.name, field.kind}};
    if (field.folded) {
        columns.append({TableDef::foldedColumn(field.name), FieldKind::Text});
        columns.append({TableDef::sortColumn(field.name), FieldKind::Text});
    }
    return columns;
}

void createTable(Database &db, const TableDef &table)
{
    QStringList columns;
    for (const FieldDef &field : table.fields) {
        if (field.kind == FieldKind::AutoInc) {
            columns << quoted(field.name) + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
            continue;
        }
        for (const auto &[name, kind] : columnsOf(field))
            columns << quoted(name) + QLatin1Char(' ') + columnType(kind);
    }
    db.exec(QStringLiteral("CREATE TABLE %1 (%2)")
                .arg(quoted(table.name), columns.join(QStringLiteral(", "))));
}

void createIndex(Database &db, const TableDef &table, const QString &name,
                 const QStringList &columns)
{
    QStringList quotedColumns;
    for (const QString &column : columns)
        quotedColumns << quoted(column);
    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                .arg(quoted(table.name + QLatin1Char('_') + name), quoted(table.name),
                     quotedColumns.join(QStringLiteral(", "))));
}

void createNamedIndex(Database &db, const TableDef &table, const IndexDef &index)
{
    const FieldDef &field = table.fields[table.fieldIndex(index.field)];
    const QStringList columns =
        QStringList {field.folded ? TableDef::sortColumn(field.name) : field.name} + index.covers;
    createIndex(db, table, index.name, columns);
}

void createIndexes(Database &db, const TableDef &table)
{
    for (const QStringList &columns : table.filterIndexes)
        createIndex(db, table, columns.join(QLatin1Char('_')), columns);
    for (const IndexDef &index : table.indexes)
        createNamedIndex(db, table, index);
}

// A named index that layout `version` changed: the older form goes, the new one is built.
void remakeIndexes(Database &db, const TableDef &table, int version)
{
    for (const IndexDef &index : table.indexes) {
        if (index.since != version || index.since <= table.since)
            continue;
        db.exec(QStringLiteral("DROP INDEX IF EXISTS %1")
                    .arg(quoted(table.name + QLatin1Char('_') + index.name)));
        createNamedIndex(db, table, index);
    }
}

QSet<QString> presentTables(Database &db)
{
    QSet<QString> present;
    QSqlQuery query =
        db.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    while (query.next())
        present.insert(query.value(0).toString().toLower());
    return present;
}

// What layout `version` brought: its tables, and its columns of the tables before it. Only
// what is missing is added, so a step can meet a register that holds part of it already.
void step(Database &db, int version, const QSet<QString> &present)
{
    for (const TableDef &table : tables::all()) {
        if (!present.contains(table.name.toLower())) {
            if (table.since <= version) {
                createTable(db, table);
                createIndexes(db, table);
            }
            continue;
        }
        const QSqlRecord columns = db.connection().record(table.name);
        for (const FieldDef &field : table.fields) {
            if (std::max(field.since, table.since) != version || field.kind == FieldKind::AutoInc)
                continue;
            for (const auto &[name, kind] : columnsOf(field)) {
                if (columns.indexOf(name) < 0)
                    db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                                .arg(quoted(table.name), quoted(name), columnType(kind)));
            }
        }
        if (table.since == version) {
            createIndexes(db, table);
            continue;
        }
        remakeIndexes(db, table, version);
        // The last step sees every column, so it can make whatever index the list added.
        if (version == tables::layoutVersion)
            createIndexes(db, table);
    }
}

void setLayout(Database &db, int version)
{
    db.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

} // namespace

int layoutOf(Database &db)
{
    QSqlQuery query = db.query(QStringLiteral("PRAGMA user_version"));
    return query.next() ? query.value(0).toInt() : 0;
}

bool hasTables(Database &db)
{
    return !presentTables(db).isEmpty();
}

void create(Database &db)
{
    for (const TableDef &table : tables::all()) {
        createTable(db, table);
        createIndexes(db, table);
    }
    setLayout(db, tables::layoutVersion);
}

void upgrade(Database &db, int from)
{
    for (int version = std::max(from + 1, 1); version <= tables::layoutVersion; ++version)
        step(db, version, presentTables(db));
    setLayout(db, tables::layoutVersion);
}

} // namespace schema
