#include "publish/ftpsecurity.h"

#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"

FtpSecurity FtpSecurity::read(Database &db)
{
    Cursor c(db, tables::ftpkapcsolat, false);
    c.open();
    FtpSecurity result;
    if (c.isEmpty())
        return result;
    result.tls = c.boolean(QStringLiteral("Titkositott"));
    result.server = c.text(QStringLiteral("Szerver"));
    result.pinnedKey = c.text(QStringLiteral("Kulcs"));
    result.fingerprint = c.text(QStringLiteral("Ujjlenyomat"));
    return result;
}

void FtpSecurity::write(Database &db) const
{
    Cursor c(db, tables::ftpkapcsolat, false);
    c.open();
    if (c.isEmpty())
        c.append();
    else
        c.edit();
    c.setValue(QStringLiteral("Titkositott"), tls);
    c.setValue(QStringLiteral("Szerver"), pinnedKey.isEmpty() ? QString() : server.trimmed());
    c.setValue(QStringLiteral("Kulcs"), pinnedKey);
    c.setValue(QStringLiteral("Ujjlenyomat"), pinnedKey.isEmpty() ? QString() : fingerprint);
    c.post();
}
