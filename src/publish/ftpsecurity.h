#pragma once

#include <QString>

class Database;

// Whether the portal's server is reached over FTPS, and the server key the user chose to trust
// where the system's certificate store does not vouch for the server.
struct FtpSecurity
{
    bool tls = false;
    QString server; // the server the trust was given for
    QString pinnedKey;
    QString fingerprint;

    // The trusted key, when it was given for this server.
    QString keyFor(const QString &currentServer) const
    {
        return server == currentServer.trimmed() ? pinnedKey : QString();
    }

    static FtpSecurity read(Database &db);
    // Throws StoreError.
    void write(Database &db) const;
};
