#include "register/entrystate.h"

#include "register/workingowners.h"
#include "store/cursor.h"
#include "store/record.h"

QList<QVariantList> workingOwnerRows(Cursor &owners)
{
    if (!owners.isOpen())
        owners.open();
    QList<QVariantList> rows;
    for (int at = 0, count = owners.recordCount(); at < count; ++at) {
        const Record owner = owners.recordAt(at);
        QVariantList row;
        for (const char *field : ownerFields)
            row << owners.valueOf(owner, QString::fromLatin1(field));
        rows << row;
    }
    return rows;
}
