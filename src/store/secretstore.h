#pragma once

#include <QString>
#include <optional>

// Secrets of this user that the program logs in with (the portal's FTP password, a mail
// server's), kept out of the register: in the desktop's secret service where one runs, and
// otherwise in a file of the user's configuration that only the user may read (mode 0600),
// with a warning the windows show. PELMORA_SECRETS set to "file" or "service" overrides the
// choice, so that machines without a desktop session (and the tests) never wait for one.
class SecretStore
{
public:
    enum class Backend { SecretService, File };

    SecretStore();

    Backend backend() const { return m_backend; }
    // Where the file fallback keeps its secrets.
    static QString filePath();
    // What the user should know when the fallback is in use; empty with the secret service.
    QString warning() const;

    // The secret under the key, an empty text when none is stored; nothing when the store
    // could not be read (the reason in `error`, Hungarian).
    std::optional<QString> read(const QString &key, QString *error);
    bool write(const QString &key, const QString &secret, QString *error);
    bool remove(const QString &key, QString *error);

private:
    enum class Op { Read, Write, Remove };
    // Asks the secret service; false when it turned out to have no backend after all, so the
    // file serves from then on.
    bool viaService(Op op, const QString &key, QString *secret, QString *error, bool *ok);
    bool viaFile(Op op, const QString &key, QString *secret, QString *error);

    Backend m_backend;
};
