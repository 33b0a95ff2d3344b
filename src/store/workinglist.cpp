#include "store/workinglist.h"

#include "store/bulkwrite.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"

#include <QUuid>

namespace workinglist {

void makePrivate(Cursor &cursor)
{
    cursor.setScope(field, QUuid::createUuid().toString(QUuid::WithoutBraces));
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
    bulkwrite::remove(db, Selection(tables::def(tables::dtulaj)));
}

} // namespace workinglist
