#include "register/workingowners.h"

#include "store/cursor.h"
#include "store/record.h"
#include "store/workinglist.h"

void emptyWorkingOwners(Cursor &tdTulaj)
{
    workinglist::empty(tdTulaj);
}

void copyOwnerRows(Cursor &from, Cursor &to, std::optional<int> propertyId)
{
    for (int at = 0, count = from.recordCount(); at < count; ++at) {
        const Record owner = from.recordAt(at);
        to.append();
        if (propertyId)
            to.setValue(QStringLiteral("EgyszeruId"), *propertyId);
        for (const char *name : ownerFields) {
            const QString field = QString::fromLatin1(name);
            to.setValue(field, owner.value(field));
        }
        to.post();
    }
}
