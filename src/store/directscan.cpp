#include "store/directscan.h"
#include "store/directread.h"

#include "store/database.h"
#include "store/storeerror.h"
#include "store/tablescan.h"

#include <QSqlDriver>
#include <QSqlError>
#include <algorithm>
#include <limits>
#include <memory>
#include <sqlite3.h>

namespace directscan {
namespace {

sqlite3 *nativeHandle(Database &db)
{
    const QSqlDatabase connection = db.connection();
    if (connection.driverName() != QLatin1String("QSQLITE"))
        return nullptr;
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

struct StatementCloser
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

[[noreturn]] void fail(sqlite3 *handle)
{
    throw StoreError(QStringLiteral("Az adatbázis nem olvasható: %1")
                         .arg(QString::fromUtf8(sqlite3_errmsg(handle))));
}

bool bindable(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Int:
    case QMetaType::Bool:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::QString:
        return true;
    default:
        return value.isNull();
    }
}

// Binds as Qt's SQLite driver binds the kinds a selection carries; false for any other kind,
// so that the caller can leave the binding to Qt SQL rather than bind it differently.
bool bind(sqlite3 *handle, sqlite3_stmt *statement, int at, const QVariant &value)
{
    int result = SQLITE_OK;
    if (value.isNull()) {
        if (sqlite3_bind_null(statement, at) != SQLITE_OK)
            fail(handle);
        return true;
    }
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        result = sqlite3_bind_null(statement, at);
        break;
    case QMetaType::Int:
    case QMetaType::Bool:
        result = sqlite3_bind_int(statement, at, value.toInt());
        break;
    case QMetaType::UInt:
    case QMetaType::LongLong:
        result = sqlite3_bind_int64(statement, at, value.toLongLong());
        break;
    case QMetaType::Double:
        result = sqlite3_bind_double(statement, at, value.toDouble());
        break;
    case QMetaType::QString: {
        const QString text = value.toString();
        result = text.isNull()
            ? sqlite3_bind_null(statement, at)
            : sqlite3_bind_text16(statement, at, text.utf16(), static_cast<int>(text.size() * 2),
                                  SQLITE_TRANSIENT);
        break;
    }
    default:
        return false;
    }
    if (result != SQLITE_OK)
        fail(handle);
    return true;
}

} // namespace

qint64 Row::rowId() const
{
    return sqlite3_column_int64(m_statement, 0);
}

Row::Type Row::type(int column) const
{
    switch (sqlite3_column_type(m_statement, column + 1)) {
    case SQLITE_INTEGER:
        return Type::Integer;
    case SQLITE_FLOAT:
        return Type::Real;
    case SQLITE_TEXT:
        return Type::Text;
    case SQLITE_BLOB:
        return Type::Blob;
    default:
        return Type::Null;
    }
}

qint64 Row::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column + 1);
}

double Row::real(int column) const
{
    return sqlite3_column_double(m_statement, column + 1);
}

QByteArrayView Row::text(int column) const
{
    const auto *bytes =
        reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column + 1));
    return {bytes, sqlite3_column_bytes(m_statement, column + 1)};
}

namespace {

// A column as Qt's SQLite driver makes its value, so that the field's reading is the very same.
QVariant driverValue(sqlite3_stmt *s, int at)
{
    QVariant raw;
    switch (sqlite3_column_type(s, at)) {
    case SQLITE_INTEGER:
        raw = QVariant(static_cast<qlonglong>(sqlite3_column_int64(s, at)));
        break;
    case SQLITE_FLOAT:
        raw = QVariant(sqlite3_column_double(s, at));
        break;
    case SQLITE_BLOB:
        raw = QByteArray(static_cast<const char *>(sqlite3_column_blob(s, at)),
                         sqlite3_column_bytes(s, at));
        break;
    case SQLITE_NULL:
        raw = QVariant(QMetaType::fromType<QString>());
        break;
    default: {
        const auto *units = static_cast<const char16_t *>(sqlite3_column_text16(s, at));
        raw = QString::fromUtf16(units, sqlite3_column_bytes16(s, at) / 2);
        break;
    }
    }
    return raw;
}

} // namespace

QVariant Row::value(int column) const
{
    return fromColumn(m_kinds[column], driverValue(m_statement, column + 1));
}

bool available(Database &db)
{
    return nativeHandle(db) != nullptr;
}

std::optional<int> scan(Database &db, const Selection &selection, const QStringList &columns,
                        const std::function<void(const Row &)> &visit)
{
    sqlite3 *handle = nativeHandle(db);
    if (!handle)
        return std::nullopt;
    QVector<FieldKind> kinds;
    QStringList select {QStringLiteral("rowid")};
    for (const QString &column : columns) {
        kinds << tablescan::columnKind(selection.def(), column);
        select << Selection::quoted(column);
    }
    const QByteArray sql =
        (QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
         Selection::quoted(selection.def().name) + selection.whereClause() +
         QStringLiteral(" ORDER BY ") + selection.order())
            .toUtf8();
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(handle, sql.constData(), static_cast<int>(sql.size()), &raw, nullptr) !=
        SQLITE_OK)
        fail(handle);
    const Statement statement(raw);
    const QVariantList &binds = selection.binds();
    if (sqlite3_bind_parameter_count(raw) != binds.size())
        return std::nullopt;
    for (int i = 0; i < binds.size(); ++i) {
        if (!bind(handle, raw, i + 1, binds[i]))
            return std::nullopt;
    }
    const Row row(raw, kinds);
    int visited = 0;
    int step;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        visit(row);
        ++visited;
    }
    if (step != SQLITE_DONE)
        fail(handle);
    return visited;
}

} // namespace directscan

namespace directread {
namespace {

// As the same failure read through Qt SQL is told: the cursor's reading fails the same way
// on either path, a full disk included.
[[noreturn]] void fail(sqlite3 *handle)
{
    throw StoreError(databaseError(QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(handle)),
                                             QSqlError::StatementError,
                                             QString::number(sqlite3_errcode(handle)))));
}

} // namespace

bool available(Database &db, const QVariantList &binds)
{
    if (!directscan::nativeHandle(db))
        return false;
    return std::all_of(binds.begin(), binds.end(),
                       [](const QVariant &value) { return directscan::bindable(value); });
}

qsizetype rows(Database &db, const QString &sql, const QVariantList &binds,
               const std::function<void(sqlite3_stmt *)> &visit)
{
    sqlite3 *handle = directscan::nativeHandle(db);
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(handle, text.constData(), static_cast<int>(text.size()), &raw,
                           nullptr) != SQLITE_OK)
        fail(handle);
    const directscan::Statement statement(raw);
    for (int i = 0; i < binds.size(); ++i)
        directscan::bind(handle, raw, i + 1, binds[i]);
    qsizetype visited = 0;
    int step;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        visit(raw);
        ++visited;
    }
    if (step != SQLITE_DONE)
        fail(handle);
    return visited;
}

qint64 integer(sqlite3_stmt *statement, int at)
{
    return sqlite3_column_int64(statement, at);
}

QVariant fieldValue(sqlite3_stmt *s, int at, FieldKind kind)
{
    // The common forms straight from the statement; anything else (a text in a number
    // column, a number out of range) through the driver's value, as before.
    const int type = sqlite3_column_type(s, at);
    if (type == SQLITE_NULL)
        return emptyValue(kind);
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
        if (type == SQLITE_TEXT) {
            const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(s, at));
            const QByteArrayView utf8(bytes, sqlite3_column_bytes(s, at));
            // SQLite reads a malformed sequence its own way: only valid text skips its
            // translation.
            if (utf8.isValidUtf8())
                return QString::fromUtf8(utf8);
        }
        break;
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::AutoInc:
    case FieldKind::Boolean:
        if (type == SQLITE_INTEGER) {
            const qint64 value = sqlite3_column_int64(s, at);
            if (value >= std::numeric_limits<int>::min() &&
                value <= std::numeric_limits<int>::max()) {
                return kind == FieldKind::Boolean ? QVariant(value != 0)
                                                  : QVariant(static_cast<int>(value));
            }
        }
        break;
    case FieldKind::Float:
        if (type == SQLITE_FLOAT)
            return sqlite3_column_double(s, at);
        break;
    case FieldKind::DateTime:
        break;
    }
    return fromColumn(kind, directscan::driverValue(s, at));
}

} // namespace directread
