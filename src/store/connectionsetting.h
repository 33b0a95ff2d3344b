#pragma once

#include <QString>

// Which database this workstation works on: the embedded register of its data directory (the
// default) or the office's PostgreSQL server. Kept per workstation (the user's configuration,
// the password in the secret store); PELMORA_DB, when set, names the server instead, for
// scripts and tests.
namespace connectionsetting {

struct Setting
{
    bool server = false;
    QString host;
    int port = 5432;
    QString database = QStringLiteral("pelmora");
    QString user;
    // libpq's sslmode: "disable", "prefer", "require", "verify-full".
    QString sslMode = QStringLiteral("prefer");
    // The office CA's certificate; empty: libpq's own (~/.postgresql/root.crt).
    QString caFile;

    bool operator==(const Setting &) const = default;
};

Setting load();
// Throws StoreError when the configuration cannot be written.
void save(const Setting &setting);

// The secret store's key of the server password.
QString passwordKey(const Setting &setting);

// The libpq connection string of the setting, with the password when one is given; empty for
// the embedded register.
QString address(const Setting &setting, const QString &password);

// What this workstation opens: PELMORA_DB when set, else the saved setting with its password
// from the secret store; empty for the embedded register. A password that cannot be read is
// left to libpq (~/.pgpass), and the reason in `warning`.
QString effectiveAddress(QString *warning = nullptr);

// What the setting says was missing (Hungarian), empty when it can be tried.
QString problem(const Setting &setting);

} // namespace connectionsetting
