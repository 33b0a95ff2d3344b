#pragma once

#include <QString>
#include <QVariant>
#include <QVector>
#include <utility>

class Database;
class Selection;

// Writes that change a whole set of records: one statement for the set instead of a post per
// record. Each runs as one unit and tells the cursors of the table.
namespace bulkwrite {

// Sets one field of every selected record to the value (cut and cleaned as a post would);
// returns how many records it changed.
int setField(Database &db, const Selection &selection, const QString &field, const QVariant &value);

// Sets one boolean field of many records, each its own value, by row id.
void setBooleans(Database &db, const QString &table, const QString &field,
                 const QVector<std::pair<qint64, bool>> &values);

// Appends one record to `table` for every selected record, in the selection's order: each of
// the `copied` fields (target, source) takes the selected record's source field, cut to the
// target's width; each of the `fixed` fields one value for all, cut and cleaned as a post would.
// Returns how many records it appended.
int appendFor(Database &db, const Selection &selection, const QString &table,
              const QVector<std::pair<QString, QString>> &copied,
              const QVector<std::pair<QString, QVariant>> &fixed);

// Removes every selected record; returns how many.
int remove(Database &db, const Selection &selection);

} // namespace bulkwrite
