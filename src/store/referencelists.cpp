#include "store/referencelists.h"

#include "store/cursor.h"

QStringList nameList(Cursor &cursor)
{
    const bool wasOpen = cursor.isOpen();
    if (!wasOpen)
        cursor.open();
    QStringList names;
    for (int at = 0, count = cursor.recordCount(); at < count; ++at)
        names << cursor.recordAt(at).text(QStringLiteral("Name"));
    if (!wasOpen)
        cursor.close();
    return names;
}
