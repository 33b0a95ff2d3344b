#pragma once

#include "store/database.h"
#include "store/directscan.h"
#include "store/filter.h"
#include "store/record.h"
#include "store/selection.h"

#include <QObject>
#include <QSqlQuery>
#include <functional>
#include <map>
#include <memory>
#include <optional>

// A named handle on one table: a current record, a filter text with an on/off switch and an
// optional named index, with the operations the windows are written in. Rows are read in
// chunks as they are needed, so a view of a hundred thousand records costs no more to open
// than its first screen. Writes made through any cursor on the same table are seen at once.
class Cursor : public QObject
{
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    Cursor(Database &db, const QString &table, bool caseInsensitive, QObject *parent = nullptr);

    Database &database() const { return m_db; }
    const TableDef &def() const { return m_def; }
    bool caseInsensitive() const { return m_ci; }
    // The data directory, ending with a path separator.
    QString dataDir() const { return m_db.dataDir(); }

    void open();
    void close(); // drops an unposted edit
    bool isOpen() const { return m_open; }

    void first();
    void next();
    void prior();
    void last();
    void moveTo(int position); // clamped to the view
    bool atEnd() const { return m_eof; }
    int recordCount() const;
    bool isEmpty() const { return recordCount() <= 0; }
    int position() const; // 0-based row of the current record in the view, -1 when empty

    void append();
    void edit();
    // Edits the current record as it was when it was read with that save count (a form that
    // showed it earlier): the post is refused with ConflictError if it was saved since. A
    // negative count: as edit().
    void edit(qint64 readVersion);
    // The current record's save count (see Record::version).
    qint64 rowVersion() const;
    // Drops what was read of the table and reads it again, staying on the current record where
    // it is still in the view: for a window that is told another workstation saved it.
    void reread();
    void post();
    void cancel();
    void remove(); // moves to the record that followed, or to the new last one
    // Removes every record of the view in one statement and returns how many went.
    int removeAll();
    State state() const { return m_state; }

    void setFilterText(const QString &text); // throws StoreError on a malformed text
    const QString &filterText() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    // Moves to the first record of the view that also passes the given filter text, without
    // filtering the view. Returns false (and stays) when there is none.
    bool locate(const QString &filterText);

    void setIndexName(const QString &name); // empty: stored order

    // Binds the cursor to one part of its table: it sees only the records whose `field` holds
    // `value`, whatever its filter, and every record it posts gets that value. Working lists of
    // several windows and copies can then share one table without meeting.
    void setScope(const QString &field, const QVariant &value);
    const QString &indexName() const { return m_indexName; }

    // Stored and calculated fields by name; an empty view reads as empty text, 0 or false.
    QVariant value(const QString &field) const;
    QString text(const QString &field) const { return value(field).toString(); }
    int integer(const QString &field) const { return value(field).toInt(); }
    double number(const QString &field) const { return value(field).toDouble(); }
    bool boolean(const QString &field) const { return value(field).toBool(); }
    QDateTime dateTime(const QString &field) const { return value(field).toDateTime(); }
    // Outside editing this starts an edit of the current record first.
    void setValue(const QString &field, const QVariant &value);

    Record record() const; // the current record (the edit buffer while editing)
    Record recordAt(int position) const;
    QVariant valueOf(const Record &record, const QString &field) const;

    // Reads the whole view once, in its order from the first record, for work that visits every
    // record (writing the portal's files): stepping would fetch the view a chunk at a time. Only
    // the named fields are read (every field when none is named), the others read as empty; the
    // current record does not move. Returns the number of records visited.
    int scan(const QStringList &fields, const std::function<void(const Record &)> &visit) const;
    // The same pass straight from SQLite's statement, each row holding the named fields in that
    // order; nothing, having visited none, where the connection cannot be read that way.
    std::optional<int> scanDirect(const QStringList &fields,
                                  const std::function<void(const directscan::Row &)> &visit) const;

    // Appends copies of this cursor's records to the destination's table: from the current
    // record on, as many as asked, or all from the first when count is 0. Fields are matched by
    // name; the destination numbers its copies itself. Returns how many were copied.
    int copyRecords(Cursor &destination, int count);

signals:
    void viewChanged(); // rows may have come, gone or changed
    void currentChanged();

private:
    friend class Database;

    void ensureOpen() const;
    void checkBrowseMode();
    void invalidate() const;
    void refreshIfStale() const;
    Selection viewSql() const;
    // Before every write: the unit of work learns where this cursor stood.
    void aboutToWrite();
    // The unit this cursor wrote in was undone: its edit goes, and it reads its table again,
    // back on the record it was on (or the place it had, when that record is gone).
    void restoreAfterRollback(qint64 rowId, int position);
    void setPosition(int position) const;
    void setCurrent(qint64 rowId) const; // a record known to be in the view
    int positionOf(qint64 rowId) const; // records of the view before it in the order
    bool passes(qint64 rowId) const;
    bool exists(qint64 rowId) const;
    // After a write: the record stays current while it is in the view; otherwise its place goes
    // to the record that followed it.
    void settleOn(qint64 rowId, int fallbackPosition) const;
    const QVector<Record> &chunk(int index) const;
    QString selectColumns() const;
    Record readRecord(qint64 rowId) const;
    void updateRow(qint64 rowId, const QStringList &columns, QVariantList values);
    void onDatabaseChanged(const QString &table);

    Database &m_db;
    const TableDef &m_def;
    bool m_ci;
    bool m_open = false;
    QString m_filterText;
    Filter m_filter;
    bool m_filtered = false;
    QString m_indexName;
    int m_scopeField = -1;
    QVariant m_scopeValue;

    // The current record is known by its row id; its place in the view is worked out only when
    // asked for (-2: not yet), so appending many records never counts the table.
    mutable qint64 m_currentRowId = 0;
    mutable int m_position = -1;
    mutable Record m_current;
    mutable bool m_eof = true;
    State m_state = State::Browse;
    Record m_buffer;

    mutable quint64 m_seenGeneration = 0;
    mutable int m_count = -1;
    mutable std::map<int, QVector<Record>> m_chunks;
    std::unique_ptr<QSqlQuery> m_insertQuery;
};
