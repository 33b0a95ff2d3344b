#include "entrystate.h"

#include "cursor.h"
#include "messages.h"
#include "record.h"
#include "workingowners.h"

QList<QVariantList> workingOwnerRows(Cursor &tdTulaj)
{
    if (!tdTulaj.isOpen())
        tdTulaj.open();
    QList<QVariantList> rows;
    for (int at = 0, count = tdTulaj.recordCount(); at < count; ++at) {
        const Record owner = tdTulaj.recordAt(at);
        QVariantList row;
        for (const char *field : ownerFields)
            row << tdTulaj.valueOf(owner, QString::fromLatin1(field));
        rows << row;
    }
    return rows;
}

bool confirmDiscardingInput()
{
    return askQuestion(QStringLiteral("A beírt, még nem rögzített adatok elvesznek. Folytatja?"));
}
