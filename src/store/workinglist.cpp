#include "workinglist.h"

#include "cursor.h"
#include "database.h"
#include "tables.h"

#include <QUuid>

namespace workinglist {

void makePrivate(Cursor &cursor)
{
    cursor.setScope(field, QUuid::createUuid().toString(QUuid::WithoutBraces));
}

void clearAbandoned(Database &db)
{
    db.exec(QStringLiteral("DELETE FROM \"%1\"").arg(tables::dtulaj));
    db.tableChanged(tables::dtulaj);
}

} // namespace workinglist
