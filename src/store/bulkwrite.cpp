#include "store/bulkwrite.h"

#include "store/database.h"
#include "store/selection.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/textformat.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

namespace bulkwrite {

namespace {

constexpr qsizetype idsPerStatement = 500;

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
    // A changed record is a saved one: a form holding it from before sees so when it saves.
    QStringList sets {Selection::quoted(target.name) + QStringLiteral(" = ?"),
                      QStringLiteral("%1 = %1 + 1").arg(tables::rowVersionColumn)};
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
    // The last value given for a record is the one it keeps.
    QHash<qint64, bool> last;
    last.reserve(values.size());
    for (const auto &[rowId, on] : values)
        last.insert(rowId, on);
    Database::Transaction unit(db);
    for (const bool on : {true, false}) {
        QVector<qint64> ids;
        for (auto it = last.cbegin(); it != last.cend(); ++it) {
            if (it.value() == on)
                ids << it.key();
        }
        // A few hundred records a statement: one statement a record costs the office server a
        // round trip each, thousands in a matching run.
        for (qsizetype from = 0; from < ids.size(); from += idsPerStatement) {
            const QVector<qint64> part = ids.mid(from, idsPerStatement);
            QVariantList binds {on ? 1 : 0};
            for (const qint64 id : part)
                binds << id;
            QStringList marks(part.size(), QStringLiteral("?"));
            db.query(QStringLiteral("UPDATE %1 SET %2 = ?, %3 = %3 + 1 WHERE rowid IN (%4)")
                         .arg(Selection::quoted(def.name), Selection::quoted(target.name),
                              tables::rowVersionColumn, marks.join(QLatin1Char(','))),
                     binds);
        }
    }
    db.tableChanged(def.name);
    unit.commit();
}

int appendFor(Database &db, const Selection &selection, const QString &table,
              const QVector<std::pair<QString, QString>> &copied,
              const QVector<std::pair<QString, QVariant>> &fixed)
{
    const TableDef &source = selection.def();
    const TableDef &target = tables::def(table);
    QStringList columns;
    QStringList values;
    QVariantList binds;
    for (const auto &[name, from] : copied) {
        const FieldDef &field = requireField(target, name);
        const int sourceIndex = source.fieldIndex(from);
        if (sourceIndex < 0)
            throw StoreError(QStringLiteral("Ismeretlen mező: %1.%2").arg(source.name, from));
        const FieldDef &sourceField = source.fields[sourceIndex];
        // A number goes into a number (a record number included), a text into a text.
        if (field.folded ||
            (field.kind == FieldKind::Text) != (sourceField.kind == FieldKind::Text))
            throw StoreError(QStringLiteral("Nem másolható mező: %1.%2").arg(table, name));
        columns << Selection::quoted(field.name);
        // The source holds clean text already; only a narrower target needs a cut.
        if (field.kind == FieldKind::Text && field.width < sourceField.width)
            values << QStringLiteral("SUBSTR(%1, 1, %2)")
                          .arg(Selection::quoted(sourceField.name))
                          .arg(field.width);
        else
            values << Selection::quoted(sourceField.name);
    }
    for (const auto &[name, value] : fixed) {
        const FieldDef &field = requireField(target, name);
        if (field.folded)
            throw StoreError(QStringLiteral("Nem másolható mező: %1.%2").arg(table, name));
        columns << Selection::quoted(field.name);
        values << QStringLiteral("?");
        binds << toColumn(field.kind, storedValue(field, value));
    }
    Database::Transaction unit(db);
    const QSqlQuery query =
        db.query(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
                         .arg(Selection::quoted(target.name), columns.join(QStringLiteral(", ")),
                              values.join(QStringLiteral(", ")), Selection::quoted(source.name)) +
                     selection.whereClause() + QStringLiteral(" ORDER BY ") + selection.order(),
                 binds + selection.binds());
    const int appended = query.numRowsAffected();
    db.tableChanged(target.name);
    unit.commit();
    return appended;
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
