#include "store/workinglist.h"

#include "store/bulkwrite.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"

#include <QSqlQuery>
#include <QUuid>

namespace workinglist {

namespace {

// On the office server a list's name starts with the server session of the workstation that
// made it, so a start can tell the lists of workstations still at work from those left behind.
const QString sessionMark = QStringLiteral(":");

} // namespace

void makePrivate(Cursor &cursor)
{
    Database &db = cursor.database();
    QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (db.isServer()) {
        QSqlQuery session = db.query(QStringLiteral("SELECT pg_backend_pid()"));
        name = QString::number(session.next() ? session.value(0).toLongLong() : 0) + sessionMark +
            QUuid::createUuid().toString(QUuid::Id128);
    }
    cursor.setScope(field, name);
}

void empty(Cursor &list)
{
    // The list's filter must not keep any of its rows: the whole list goes.
    const bool filtered = list.filtered();
    list.setFiltered(false);
    Database::Transaction unit(list.database());
    list.removeAll();
    unit.commit();
    list.setFiltered(filtered);
}

void clearAbandoned(Database &db)
{
    if (!db.isServer()) {
        bulkwrite::remove(db, Selection(tables::def(tables::dtulaj)));
        return;
    }
    // The other workstations' lists stay while their sessions live.
    Database::Transaction unit(db);
    db.query(QStringLiteral("DELETE FROM %1 WHERE split_part(%2, ?, 1) NOT IN (SELECT "
                            "pid::text FROM pg_stat_activity)")
                 .arg(Selection::quoted(tables::dtulaj), Selection::quoted(field)),
             {sessionMark});
    db.tableChanged(tables::dtulaj);
    unit.commit();
}

} // namespace workinglist
