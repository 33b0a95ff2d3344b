#pragma once

#include <QString>
#include <QVector>
#include <utility>

class Database;

// Narrow passes over a whole table for work that visits every record at once (matching the
// search requests against the register): only the columns that work needs, no cursor, no
// calculated fields, no chunked paging.
namespace tablescan {

struct PropertyMatchKey
{
    double price = 0;
    QString settlement; // folded, as the case-blind filters compare it
    QString type; // folded
};

// The price, settlement and type of every property of the register that has a price (one
// without a price fits no price range, just as the filters find).
QVector<PropertyMatchKey> propertyMatchKeys(Database &db);

// Sets one boolean field of many records, by row id, as one unit, and tells the cursors.
void writeBooleans(Database &db, const QString &table, const QString &field,
                   const QVector<std::pair<qint64, bool>> &values);

} // namespace tablescan
