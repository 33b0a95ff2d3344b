#include "store/cursor.h"

#include "store/bulkwrite.h"
#include "store/directread.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/tablescan.h"
#include "store/textformat.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {

constexpr int chunkSize = 200;
constexpr size_t chunksKept = 32;

QString quoted(const QString &name)
{
    return Selection::quoted(name);
}

// Prepared once per cursor: appending thousands of records (an import, the benchmarks) should
// not parse the same statement thousands of times.
qint64 insertRow(std::unique_ptr<QSqlQuery> &insertQuery, Database &db, const QString &table,
                 const QStringList &columns, const QVariantList &values)
{
    if (!insertQuery) {
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        insertQuery = std::make_unique<QSqlQuery>(db.connection());
        if (!insertQuery->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(quoted(table), columns.join(QStringLiteral(", ")),
                                           marks.join(QStringLiteral(", "))) +
                                  db.returningRowId())) {
            const QString error = databaseError(insertQuery->lastError());
            insertQuery.reset();
            throw StoreError(error);
        }
    }
    for (int i = 0; i < values.size(); ++i)
        insertQuery->bindValue(i, values[i]);
    if (!insertQuery->exec())
        throw StoreError(databaseError(insertQuery->lastError()));
    const qint64 rowId = db.insertedRowId(*insertQuery);
    insertQuery->finish();
    return rowId;
}

} // namespace

Cursor::Cursor(Database &db, const QString &table, bool caseInsensitive, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_def(tables::def(table))
    , m_ci(caseInsensitive)
{
    connect(&m_db, &Database::changed, this, &Cursor::onDatabaseChanged);
}

void Cursor::onDatabaseChanged(const QString &table)
{
    if (table == m_def.name && m_open)
        emit viewChanged();
}

void Cursor::open()
{
    if (m_open)
        return;
    m_open = true;
    invalidate();
    first();
    emit viewChanged();
}

void Cursor::close()
{
    if (!m_open)
        return;
    cancel();
    m_open = false;
    invalidate();
    m_currentRowId = 0;
    m_position = -1;
    emit viewChanged();
}

void Cursor::ensureOpen() const
{
    // Every operation needs the records; a cursor used before it was opened opens itself.
    if (!m_open)
        const_cast<Cursor *>(this)->open();
}

void Cursor::checkBrowseMode()
{
    if (m_state != State::Browse)
        post();
}

void Cursor::invalidate() const
{
    m_count = -1;
    m_chunks.clear();
    m_current = Record();
    m_seenGeneration = m_db.generation(m_def.name);
}

void Cursor::refreshIfStale() const
{
    if (m_seenGeneration == m_db.generation(m_def.name))
        return;
    invalidate();
    if (m_currentRowId == 0) {
        setPosition(0);
        return;
    }
    settleOn(m_currentRowId, m_position);
}

Selection Cursor::viewSql() const
{
    Selection view(m_def);
    if (m_filtered)
        view.addFilter(m_filter, m_ci);
    if (m_scopeField >= 0)
        view.addEquals(m_def.fields[m_scopeField], m_scopeValue);
    view.setIndexName(m_indexName);
    return view;
}

QString Cursor::selectColumns() const
{
    QStringList columns {QStringLiteral("rowid"), tables::rowVersionColumn};
    for (const FieldDef &field : m_def.fields)
        columns << quoted(field.name);
    return columns.join(QStringLiteral(", "));
}

int Cursor::recordCount() const
{
    ensureOpen();
    refreshIfStale();
    if (m_count < 0) {
        const Selection view = viewSql();
        QSqlQuery query = m_db.query(QStringLiteral("SELECT COUNT(*) FROM ") + quoted(m_def.name) +
                                         view.whereClause(),
                                     view.binds());
        m_count = query.next() ? query.value(0).toInt() : 0;
    }
    return m_count;
}

static Record recordFromQuery(const TableDef &def, const QSqlQuery &query)
{
    Record record(&def);
    record.rowId = query.value(0).toLongLong();
    record.version = query.value(1).toLongLong();
    for (int i = 0; i < def.fields.size(); ++i) {
        // Already in stored form: no re-cutting on the way out.
        record.setStoredValue(i, fromColumn(def.fields[i].kind, query.value(i + 2)));
    }
    return record;
}

namespace {

// Where a chunk's reading starts: from one end of the view, or next to a record already read,
// skipping `skip` rows on the way. Reading on from a neighbour costs the same at any depth,
// where an OFFSET from the start walks every row before it.
struct ChunkStart
{
    qint64 after = 0; // read forward from just after this record (0: from the first)
    qint64 before = 0; // read backward from just before this record (0: from the last)
    bool backward = false;
    int skip = 0;
};

ChunkStart nearestStart(const std::map<int, QVector<Record>> &chunks, int index, int size,
                        int count)
{
    const int from = index * chunkSize;
    ChunkStart best {0, 0, false, from};
    auto consider = [&best](const ChunkStart &candidate) {
        if (candidate.skip < best.skip)
            best = candidate;
    };
    consider({0, 0, true, count - from - size});
    for (const auto &[at, rows] : chunks) {
        if (rows.isEmpty() || rows.front().rowId == 0 || rows.back().rowId == 0)
            continue; // a record that went between the two reads is no landmark
        if (at < index)
            consider({rows.back().rowId, 0, false, from - (at * chunkSize + int(rows.size()))});
        else if (at > index)
            consider({0, rows.front().rowId, true, at * chunkSize - from - size});
    }
    return best;
}

// The records of the view on one side of a record, in its order (the order column, then the
// row id), as conditions read one after the other. SQLite sorts empty (NULL) keys before every
// value: a plain comparison with NULL would drop them, and one condition covering both the
// NULLs and a range of values would make the index walk from the far end of the view.
struct SeekPart
{
    QString condition; // empty: every record of the view
    QVariantList binds;
};

QList<SeekPart> seekParts(Database &db, const Selection &view, qint64 rowId, bool backward)
{
    if (rowId == 0)
        return {SeekPart {}};
    const QString &column = view.orderColumn();
    if (column.isEmpty())
        return {{backward ? QStringLiteral("rowid < ?") : QStringLiteral("rowid > ?"), {rowId}}};
    QSqlQuery keyQuery = db.query(
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(column, quoted(view.def().name)),
        {rowId});
    const QVariant key = keyQuery.next() ? keyQuery.value(0) : QVariant();
    const QString nulls = QStringLiteral("%1 IS NULL").arg(column);
    if (key.isNull()) {
        if (backward)
            return {{nulls + QStringLiteral(" AND rowid < ?"), {rowId}}};
        return {{nulls + QStringLiteral(" AND rowid > ?"), {rowId}},
                {QStringLiteral("%1 IS NOT NULL").arg(column), {}}};
    }
    // The first term alone is an index range; the second settles the ties by row id.
    if (backward)
        return {
            {QStringLiteral("%1 <= ? AND (%1 < ? OR rowid < ?)").arg(column), {key, key, rowId}},
            {nulls, {}}};
    return {{QStringLiteral("%1 >= ? AND (%1 > ? OR rowid > ?)").arg(column), {key, key, rowId}}};
}

// The filter of the view and one seek condition, as " WHERE ..." or nothing.
QString whereWith(const Selection &view, const SeekPart &part, QVariantList &binds)
{
    QStringList conditions;
    if (!view.where().isEmpty())
        conditions << view.where();
    binds = view.binds();
    if (!part.condition.isEmpty()) {
        conditions << QLatin1Char('(') + part.condition + QLatin1Char(')');
        binds += part.binds;
    }
    return conditions.isEmpty()
        ? QString()
        : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

// Reads one part of a chunk (the statement and its values) and says how many rows came.
using PartReader = std::function<qsizetype(const QString &sql, const QVariantList &binds)>;

// Reads one chunk of the view through `read`, selecting `columns`. Returns whether the rows
// came backward (from the far end of the chunk), for the caller to turn round.
bool readChunk(Database &db, const Selection &view, const std::map<int, QVector<Record>> &chunks,
               int index, int count, const QString &columns, const PartReader &read)
{
    const int size = std::clamp(count - index * chunkSize, 0, chunkSize);
    if (size == 0)
        return false;
    const ChunkStart start = nearestStart(chunks, index, size, count);
    const QString order = start.backward ? view.reverseOrder() : view.order();
    const QString table = quoted(view.def().name);
    qsizetype got = 0;
    int skip = start.skip;
    const QList<SeekPart> parts =
        seekParts(db, view, start.backward ? start.before : start.after, start.backward);
    for (qsizetype p = 0; p < parts.size() && got < size; ++p) {
        QVariantList binds;
        const QString where = whereWith(view, parts[p], binds);
        QString sql = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + table +
            where + QStringLiteral(" ORDER BY ") + order +
            QStringLiteral(" LIMIT %1").arg(size - got);
        if (skip > 0)
            sql += QStringLiteral(" OFFSET %1").arg(skip);
        const qsizetype came = read(sql, binds);
        got += came;
        if (skip == 0 || got == size || p + 1 == parts.size())
            continue;
        if (came > 0) {
            skip = 0;
        } else {
            // The whole part lay within the rows to skip: fewer than `skip`, so counting them
            // stays as cheap as skipping them.
            QSqlQuery counted =
                db.query(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM ") + table + where +
                             QStringLiteral(" LIMIT %1) AS skipped").arg(skip),
                         binds);
            skip -= counted.next() ? counted.value(0).toInt() : 0;
        }
    }
    return start.backward;
}

// The row ids of one chunk of the view, in its order.
QVector<qint64> chunkRowIds(Database &db, const Selection &view,
                            const std::map<int, QVector<Record>> &chunks, int index, int count)
{
    QVector<qint64> ids;
    const bool backward = readChunk(db, view, chunks, index, count, QStringLiteral("rowid"),
                                    [&](const QString &sql, const QVariantList &binds) {
                                        QSqlQuery query = db.query(sql, binds);
                                        const qsizetype before = ids.size();
                                        while (query.next())
                                            ids << query.value(0).toLongLong();
                                        return ids.size() - before;
                                    });
    if (backward)
        std::reverse(ids.begin(), ids.end());
    return ids;
}

// One chunk's whole records in one statement per part, read straight from SQLite.
QVector<Record> directChunk(Database &db, const Selection &view,
                            const std::map<int, QVector<Record>> &chunks, int index, int count,
                            const QString &columns)
{
    const TableDef &def = view.def();
    QVector<Record> rows;
    rows.reserve(chunkSize);
    const bool backward =
        readChunk(db, view, chunks, index, count, columns,
                  [&](const QString &sql, const QVariantList &binds) {
                      return directread::rows(db, sql, binds, [&](sqlite3_stmt *statement) {
                          Record record(&def);
                          record.rowId = directread::integer(statement, 0);
                          record.version = directread::integer(statement, 1);
                          for (int i = 0; i < def.fields.size(); ++i)
                              record.setStoredValue(
                                  i, directread::fieldValue(statement, i + 2, def.fields[i].kind));
                          rows << std::move(record);
                      });
                  });
    if (backward)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

} // namespace

const QVector<Record> &Cursor::chunk(int index) const
{
    auto found = m_chunks.find(index);
    if (found != m_chunks.end())
        return found->second;

    const Selection view = viewSql();
    QVector<Record> rows;
    QVector<qint64> order;
    if (directread::available(m_db, view.binds())) {
        // The records in the statement that finds them: SQLite reads a record's columns only
        // once a row is past the OFFSET, so a skip costs no more than with the row ids alone.
        rows = directChunk(m_db, view, m_chunks, index, recordCount(), selectColumns());
    } else {
        // Two steps: the row ids of the screenful first, which the indexes answer without
        // touching the wide records, then just those records.
        order = chunkRowIds(m_db, view, m_chunks, index, recordCount());
    }
    if (!order.isEmpty()) {
        QStringList marks;
        QVariantList binds;
        for (const qint64 id : order) {
            marks << QStringLiteral("?");
            binds << id;
        }
        QSqlQuery query =
            m_db.query(QStringLiteral("SELECT ") + selectColumns() + QStringLiteral(" FROM ") +
                           quoted(m_def.name) + QStringLiteral(" WHERE rowid IN (") +
                           marks.join(QLatin1Char(',')) + QLatin1Char(')'),
                       binds);
        QHash<qint64, qsizetype> placeOf;
        placeOf.reserve(order.size());
        for (qsizetype i = 0; i < order.size(); ++i)
            placeOf.insert(order[i], i);
        rows.resize(order.size());
        while (query.next()) {
            Record record = recordFromQuery(m_def, query);
            rows[placeOf.value(record.rowId)] = std::move(record);
        }
        // A record deleted between the two reads reads as empty, as a vanished row does.
        for (Record &row : rows) {
            if (row.isNull())
                row = Record(&m_def);
        }
    }
    // The chunk farthest away goes first: the neighbours of where the reading goes on are the
    // landmarks the next chunks are sought from.
    while (m_chunks.size() >= chunksKept) {
        const int low = m_chunks.begin()->first;
        const int high = std::prev(m_chunks.end())->first;
        m_chunks.erase(index - low > high - index ? m_chunks.begin() : std::prev(m_chunks.end()));
    }
    return m_chunks.emplace(index, std::move(rows)).first->second;
}

Record Cursor::readRecord(qint64 rowId) const
{
    QSqlQuery query =
        m_db.query(QStringLiteral("SELECT ") + selectColumns() + QStringLiteral(" FROM ") +
                       quoted(m_def.name) + QStringLiteral(" WHERE rowid = ?"),
                   {rowId});
    return query.next() ? recordFromQuery(m_def, query) : Record(&m_def);
}

Record Cursor::recordAt(int position) const
{
    ensureOpen();
    refreshIfStale();
    if (position < 0 || position >= recordCount())
        return Record(&m_def);
    const QVector<Record> &rows = chunk(position / chunkSize);
    const int offset = position % chunkSize;
    return offset < rows.size() ? rows[offset] : Record(&m_def);
}

int Cursor::position() const
{
    ensureOpen();
    refreshIfStale();
    if (m_currentRowId == 0)
        return -1;
    if (m_position < 0)
        m_position = positionOf(m_currentRowId);
    return m_position;
}

void Cursor::setPosition(int position) const
{
    const int count = recordCount();
    if (count <= 0) {
        m_position = -1;
        m_currentRowId = 0;
        m_current = Record(&m_def);
        m_eof = true;
        return;
    }
    m_position = std::clamp(position, 0, count - 1);
    m_current = recordAt(m_position);
    m_currentRowId = m_current.rowId;
}

void Cursor::setCurrent(qint64 rowId) const
{
    m_currentRowId = rowId;
    m_position = -2;
    m_current = Record();
    m_eof = false;
}

int Cursor::positionOf(qint64 rowId) const
{
    if (rowId == 0)
        return 0;
    const Selection view = viewSql();
    QVariantList binds = view.binds();
    QString sql =
        QStringLiteral("SELECT COUNT(*) FROM ") + quoted(m_def.name) + QStringLiteral(" WHERE ");
    if (!view.where().isEmpty())
        sql += view.where() + QStringLiteral(" AND ");
    QStringList before;
    for (const SeekPart &part : seekParts(m_db, view, rowId, true)) {
        before << QLatin1Char('(') + part.condition + QLatin1Char(')');
        binds += part.binds;
    }
    sql += QLatin1Char('(') + before.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    QSqlQuery query = m_db.query(sql, binds);
    return query.next() ? query.value(0).toInt() : 0;
}

bool Cursor::exists(qint64 rowId) const
{
    return m_db
        .query(QStringLiteral("SELECT 1 FROM ") + quoted(m_def.name) +
                   QStringLiteral(" WHERE rowid = ?"),
               {rowId})
        .next();
}

bool Cursor::passes(qint64 rowId) const
{
    const Selection view = viewSql();
    QString sql =
        QStringLiteral("SELECT 1 FROM ") + quoted(m_def.name) + QStringLiteral(" WHERE rowid = ?");
    QVariantList binds {rowId};
    if (!view.where().isEmpty()) {
        sql += QStringLiteral(" AND ") + view.where();
        binds += view.binds();
    }
    return m_db.query(sql, binds).next();
}

void Cursor::settleOn(qint64 rowId, int fallbackPosition) const
{
    const bool everyRecordPasses = (!m_filtered || m_filter.isEmpty()) && m_scopeField < 0;
    if (rowId != 0 && (everyRecordPasses ? exists(rowId) : passes(rowId))) {
        setCurrent(rowId);
        return;
    }
    if (rowId != 0 && exists(rowId))
        setPosition(positionOf(rowId));
    else
        setPosition(std::max(0, fallbackPosition));
    m_eof = m_position < 0;
}

void Cursor::first()
{
    ensureOpen();
    checkBrowseMode();
    refreshIfStale();
    setPosition(0);
    m_eof = m_position < 0;
    emit currentChanged();
}

void Cursor::last()
{
    ensureOpen();
    checkBrowseMode();
    refreshIfStale();
    setPosition(recordCount() - 1);
    m_eof = true;
    emit currentChanged();
}

void Cursor::next()
{
    ensureOpen();
    checkBrowseMode();
    const int here = position();
    if (here < 0 || here + 1 >= recordCount()) {
        m_eof = true;
        return;
    }
    setPosition(here + 1);
    m_eof = false;
    emit currentChanged();
}

void Cursor::prior()
{
    ensureOpen();
    checkBrowseMode();
    const int here = position();
    if (here <= 0)
        return;
    setPosition(here - 1);
    m_eof = false;
    emit currentChanged();
}

void Cursor::moveTo(int position)
{
    ensureOpen();
    checkBrowseMode();
    const int before = this->position();
    setPosition(position);
    m_eof = m_position < 0;
    if (m_position != before)
        emit currentChanged();
}

void Cursor::setFilterText(const QString &text)
{
    Filter parsed = Filter::parse(text);
    parsed.toSql(m_def, m_ci); // unknown fields are refused now, not at the next read
    checkBrowseMode();
    m_filterText = text;
    m_filter = std::move(parsed);
    if (m_filtered && m_open) {
        invalidate();
        first();
        emit viewChanged();
    }
}

void Cursor::setFiltered(bool on)
{
    checkBrowseMode();
    if (m_filtered == on)
        return;
    m_filtered = on;
    if (m_open) {
        invalidate();
        first();
        emit viewChanged();
    }
}

bool Cursor::locate(const QString &filterText)
{
    ensureOpen();
    checkBrowseMode();
    refreshIfStale();
    Selection view = viewSql();
    view.addFilter(Filter::parse(filterText), m_ci);
    QSqlQuery query =
        m_db.query(QStringLiteral("SELECT rowid FROM ") + quoted(m_def.name) + view.whereClause() +
                       QStringLiteral(" ORDER BY ") + view.order() + QStringLiteral(" LIMIT 1"),
                   view.binds());
    if (!query.next())
        return false;
    setCurrent(query.value(0).toLongLong());
    emit currentChanged();
    return true;
}

void Cursor::setScope(const QString &field, const QVariant &value)
{
    const int index = m_def.fieldIndex(field);
    if (index < 0)
        throw StoreError(QStringLiteral("Ismeretlen mező: %1.%2").arg(m_def.name, field));
    checkBrowseMode();
    m_scopeField = index;
    m_scopeValue = value;
    if (m_open) {
        invalidate();
        first();
        emit viewChanged();
    }
}

void Cursor::setIndexName(const QString &name)
{
    if (!name.isEmpty() && !m_def.index(name))
        throw StoreError(QStringLiteral("Ismeretlen index: %1").arg(name));
    checkBrowseMode();
    m_indexName = name;
    if (m_open) {
        const qint64 rowId = m_currentRowId;
        invalidate();
        settleOn(rowId, 0);
        emit viewChanged();
        emit currentChanged();
    }
}

QVariant Cursor::valueOf(const Record &record, const QString &field) const
{
    const int index = m_def.fieldIndex(field);
    if (index >= 0)
        return record.isNull() ? emptyValue(m_def.fields[index].kind) : record.value(index);
    const int calc = m_def.calcIndex(field);
    if (calc < 0)
        throw StoreError(QStringLiteral("Ismeretlen mező: %1.%2").arg(m_def.name, field));
    if (record.isNull() || (record.rowId == 0 && m_state == State::Browse))
        return QString();
    const CalcDef &def = m_def.calcs[calc];
    return def.compute(record).left(def.width);
}

Record Cursor::record() const
{
    if (m_state != State::Browse)
        return m_buffer;
    ensureOpen();
    refreshIfStale();
    if (m_currentRowId == 0)
        return Record(&m_def);
    if (m_current.rowId != m_currentRowId)
        m_current = readRecord(m_currentRowId);
    return m_current;
}

QVariant Cursor::value(const QString &field) const
{
    return valueOf(record(), field);
}

void Cursor::setValue(const QString &field, const QVariant &value)
{
    if (m_state == State::Browse)
        edit();
    m_buffer.setValue(field, value);
}

void Cursor::append()
{
    ensureOpen();
    checkBrowseMode();
    m_buffer = Record(&m_def);
    m_state = State::Insert;
}

void Cursor::edit()
{
    ensureOpen();
    if (m_state != State::Browse)
        return;
    const Record current = record();
    if (current.rowId == 0) {
        // Editing an empty table starts a new record, as the windows expect of a fresh table.
        append();
        return;
    }
    m_buffer = current;
    m_state = State::Edit;
}

void Cursor::edit(qint64 readVersion)
{
    edit();
    if (m_state == State::Edit && readVersion >= 0)
        m_buffer.version = readVersion;
}

void Cursor::reread()
{
    ensureOpen();
    m_seenGeneration = m_db.generation(m_def.name) - 1;
    refreshIfStale();
    emit viewChanged();
    emit currentChanged();
}

qint64 Cursor::rowVersion() const
{
    return m_state == State::Browse ? record().version : m_buffer.version;
}

void Cursor::cancel()
{
    m_state = State::Browse;
    m_buffer = Record();
}

void Cursor::aboutToWrite()
{
    m_db.cursorWrites(*this, m_currentRowId, m_position);
}

void Cursor::restoreAfterRollback(qint64 rowId, int position)
{
    // Nothing here may read the table: this runs while a failed unit unwinds. The stale
    // generation makes the next read settle on the record by its row id.
    cancel();
    m_count = -1;
    m_chunks.clear();
    m_current = Record();
    m_seenGeneration = m_db.generation(m_def.name) - 1;
    m_currentRowId = rowId;
    m_position = position;
    m_eof = rowId == 0;
    if (!m_open)
        return;
    try {
        emit viewChanged();
        emit currentChanged();
    } catch (...) {
        // The error that undid the unit is on its way to the user; a view that cannot read
        // the table now reads it when it is next painted.
    }
}

void Cursor::post()
{
    ensureOpen();
    if (m_state == State::Browse)
        return;
    aboutToWrite();
    if (m_scopeField >= 0)
        m_buffer.setValue(m_def.fields[m_scopeField].name, m_scopeValue);
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < m_def.fields.size(); ++i) {
        const FieldDef &field = m_def.fields[i];
        if (field.kind == FieldKind::AutoInc)
            continue;
        const QVariant value = m_buffer.value(i);
        columns << quoted(field.name);
        values << toColumn(field.kind, value);
        if (field.folded) {
            columns << quoted(TableDef::foldedColumn(field.name))
                    << quoted(TableDef::sortColumn(field.name));
            values << textformat::fold(value.toString()) << textformat::sortKey(value.toString());
        }
    }
    qint64 rowId = m_buffer.rowId;
    const int fallback = m_position;
    if (m_state == State::Insert) {
        rowId = insertRow(m_insertQuery, m_db, m_def.name, columns, values);
    } else {
        updateRow(rowId, columns, values);
    }
    m_state = State::Browse;
    m_buffer = Record();
    m_db.tableChanged(m_def.name);
    invalidate();
    if (!m_filtered || m_filter.isEmpty())
        setCurrent(rowId); // it was just written, so it is there
    else
        settleOn(rowId, fallback);
    emit currentChanged();
}

// Only a record still holding the save count it was read with is written: another workstation's
// save in between is never overwritten.
void Cursor::updateRow(qint64 rowId, const QStringList &columns, QVariantList values)
{
    QStringList sets;
    for (const QString &column : columns)
        sets << column + QStringLiteral(" = ?");
    sets << QStringLiteral("%1 = %1 + 1").arg(tables::rowVersionColumn);
    values << rowId << m_buffer.version;
    const QSqlQuery query = m_db.query(
        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ? AND %3 = ?")
            .arg(quoted(m_def.name), sets.join(QStringLiteral(", ")), tables::rowVersionColumn),
        values);
    if (query.numRowsAffected() > 0)
        return;
    const bool gone = !exists(rowId);
    throw ConflictError(m_def.name, gone);
}

void Cursor::remove()
{
    ensureOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    const int here = position();
    if (here < 0)
        return;
    aboutToWrite();
    m_db.query(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_def.name)),
               {m_currentRowId});
    m_db.tableChanged(m_def.name);
    invalidate();
    setPosition(here);
    m_eof = m_position < 0;
    emit currentChanged();
}

int Cursor::removeAll()
{
    ensureOpen();
    cancel();
    aboutToWrite();
    const int removed = bulkwrite::remove(m_db, viewSql());
    invalidate();
    setPosition(0);
    m_eof = m_position < 0;
    emit currentChanged();
    return removed;
}

int Cursor::scan(const QStringList &fields, const std::function<void(const Record &)> &visit) const
{
    ensureOpen();
    refreshIfStale();
    QStringList columns = fields;
    if (columns.isEmpty()) {
        for (const FieldDef &field : m_def.fields)
            columns << field.name;
    }
    QList<int> indexes;
    for (const QString &name : std::as_const(columns)) {
        const int index = m_def.fieldIndex(name);
        if (index < 0)
            throw StoreError(QStringLiteral("Ismeretlen mező: %1.%2").arg(m_def.name, name));
        indexes << index;
    }
    // One record serves every row: only the fields read change, the rest stay empty.
    Record record(&m_def);
    return tablescan::scan(m_db, viewSql(), columns, [&](const tablescan::Row &row) {
        record.rowId = row.rowId();
        for (int i = 0; i < indexes.size(); ++i)
            record.setStoredValue(indexes[i], row.value(i));
        visit(record);
    });
}

std::optional<int>
Cursor::scanDirect(const QStringList &fields,
                   const std::function<void(const directscan::Row &)> &visit) const
{
    ensureOpen();
    refreshIfStale();
    return directscan::scan(m_db, viewSql(), fields, visit);
}

int Cursor::copyRecords(Cursor &destination, int count)
{
    ensureOpen();
    checkBrowseMode();
    const int start = count == 0 ? 0 : position();
    const int total = recordCount();
    const int end = count == 0 ? total : std::min(total, start + count);
    if (start < 0)
        return 0;
    QVector<Record> sources;
    for (int at = start; at < end; ++at)
        sources << recordAt(at);
    for (const Record &source : std::as_const(sources)) {
        destination.append();
        for (const FieldDef &field : destination.def().fields) {
            const int from = m_def.fieldIndex(field.name);
            if (field.kind != FieldKind::AutoInc && from >= 0)
                destination.setValue(field.name, source.value(from));
        }
        destination.post();
    }
    return static_cast<int>(sources.size());
}
