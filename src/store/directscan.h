#pragma once

#include "store/selection.h"

#include <QByteArrayView>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>

class Database;
struct sqlite3_stmt;

// A whole-table pass read straight from SQLite's statement, for the work whose cost is the
// reading itself (the portal's files run to tens of megabytes): the columns come as SQLite
// holds them, with no QVariant and no UTF-16 copy per value. Only an SQLite connection has
// one; everything else reads through tablescan, which every Qt SQL driver serves.
namespace directscan {

// One record of the pass, holding the columns in the order they were asked for.
class Row
{
public:
    enum class Type { Integer, Real, Text, Blob, Null };

    qint64 rowId() const;
    Type type(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    // The UTF-8 bytes of a text column, valid until the next column of the row is read as a
    // QVariant or the pass moves on.
    QByteArrayView text(int column) const;
    // The column exactly as tablescan::Row::value reads it, for values outside the common forms.
    QVariant value(int column) const;

private:
    friend std::optional<int> scan(Database &, const Selection &, const QStringList &,
                                   const std::function<void(const Row &)> &);
    Row(sqlite3_stmt *statement, const QVector<FieldKind> &kinds)
        : m_statement(statement)
        , m_kinds(kinds)
    { }
    sqlite3_stmt *m_statement;
    const QVector<FieldKind> &m_kinds;
};

// Whether the database's connection is one this reader can serve.
bool available(Database &db);

// Visits every record of the selection in its order, as tablescan::scan does, and returns how
// many were visited; nothing (having visited none) where the connection is not SQLite or a
// bound value is of a kind Qt SQL binds in its own way. Throws StoreError on an unknown column
// or a failed read.
std::optional<int> scan(Database &db, const Selection &selection, const QStringList &columns,
                        const std::function<void(const Row &)> &visit);

} // namespace directscan
