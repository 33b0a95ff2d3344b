#include "store/tablescan.h"

#include "store/database.h"
#include "store/storeerror.h"

namespace tablescan {

FieldKind columnKind(const TableDef &def, const QString &column)
{
    const int index = def.fieldIndex(column);
    if (index >= 0)
        return def.fields[index].kind;
    for (const FieldDef &field : def.fields) {
        if (field.folded &&
            TableDef::foldedColumn(field.name).compare(column, Qt::CaseInsensitive) == 0)
            return FieldKind::Text;
    }
    throw StoreError(QStringLiteral("Ismeretlen mező: %1.%2").arg(def.name, column));
}

int scan(Database &db, const Selection &selection, const QStringList &columns,
         const std::function<void(const Row &)> &visit)
{
    QVector<FieldKind> kinds;
    QStringList select {QStringLiteral("rowid")};
    for (const QString &column : columns) {
        kinds << columnKind(selection.def(), column);
        select << Selection::quoted(column);
    }
    QSqlQuery query =
        db.query(QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) +
                     QStringLiteral(" FROM ") + Selection::quoted(selection.def().name) +
                     selection.whereClause() + QStringLiteral(" ORDER BY ") + selection.order(),
                 selection.binds());
    const Row row(query, kinds);
    int visited = 0;
    while (query.next()) {
        visit(row);
        ++visited;
    }
    return visited;
}

} // namespace tablescan
