#include "store/secretstore.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <qt6keychain/keychain.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString serviceName = QStringLiteral("Pelmora");

// A service that is neither running nor startable on demand would leave QtKeychain waiting
// for D-Bus timeouts; asking the bus first answers at once.
bool secretServiceReachable()
{
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    QDBusConnectionInterface *daemon = bus.interface();
    const QStringList startable = daemon->activatableServiceNames();
    for (const QString &name :
         {QStringLiteral("org.freedesktop.secrets"), QStringLiteral("org.kde.kwalletd5"),
          QStringLiteral("org.kde.kwalletd6")}) {
        if (daemon->isServiceRegistered(name) || startable.contains(name))
            return true;
    }
    return false;
}

SecretStore::Backend chooseBackend()
{
    const QString forced = qEnvironmentVariable("PELMORA_SECRETS").trimmed().toLower();
    if (forced == QStringLiteral("file"))
        return SecretStore::Backend::File;
    if (forced == QStringLiteral("service"))
        return SecretStore::Backend::SecretService;
    return secretServiceReachable() ? SecretStore::Backend::SecretService
                                    : SecretStore::Backend::File;
}

QString unreadable(const QString &path, const QString &why)
{
    return QStringLiteral("A jelszavak fájlja (%1) nem olvasható: %2")
        .arg(QDir::toNativeSeparators(path), why);
}

QString unwritable(const QString &path, const QString &why)
{
    return QStringLiteral("A jelszavak fájlja (%1) nem írható: %2")
        .arg(QDir::toNativeSeparators(path), why);
}

bool readSecrets(const QString &path, QJsonObject *secrets, QString *error)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = unreadable(path, file.errorString());
        return false;
    }
    // A copy restored with looser rights is closed again before anything is read from it.
    ::fchmod(file.handle(), S_IRUSR | S_IWUSR);
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isObject()) {
        *error = unreadable(path, QStringLiteral("a tartalma sérült"));
        return false;
    }
    *secrets = document.object();
    return true;
}

bool writeSecrets(const QString &path, const QJsonObject &secrets, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = unwritable(path, file.errorString());
        return false;
    }
    // Closed to others before the first byte goes in.
    const QByteArray bytes = QJsonDocument(secrets).toJson(QJsonDocument::Indented);
    if (::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0 || file.write(bytes) != bytes.size() ||
        ::fsync(file.handle()) != 0 || !file.commit()) {
        *error = unwritable(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace

SecretStore::SecretStore()
    : m_backend(chooseBackend())
{ }

QString SecretStore::filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/Pelmora/titkok.json");
}

QString SecretStore::warning() const
{
    if (m_backend == Backend::SecretService)
        return {};
    return QStringLiteral("Nem fut jelszótároló szolgáltatás: a jelszó a(z) %1 fájlba kerül, "
                          "amelyet csak Ön olvashat.")
        .arg(QDir::toNativeSeparators(filePath()));
}

std::optional<QString> SecretStore::read(const QString &key, QString *error)
{
    QString secret;
    bool ok = false;
    if (m_backend == Backend::SecretService && viaService(Op::Read, key, &secret, error, &ok))
        return ok ? std::optional<QString>(secret) : std::nullopt;
    if (!viaFile(Op::Read, key, &secret, error))
        return std::nullopt;
    return secret;
}

bool SecretStore::write(const QString &key, const QString &secret, QString *error)
{
    QString value = secret;
    bool ok = false;
    if (m_backend == Backend::SecretService && viaService(Op::Write, key, &value, error, &ok))
        return ok;
    return viaFile(Op::Write, key, &value, error);
}

bool SecretStore::remove(const QString &key, QString *error)
{
    bool ok = false;
    if (m_backend == Backend::SecretService && viaService(Op::Remove, key, nullptr, error, &ok))
        return ok;
    return viaFile(Op::Remove, key, nullptr, error);
}

bool SecretStore::viaService(Op op, const QString &key, QString *secret, QString *error, bool *ok)
{
    QKeychain::Job *job = nullptr;
    if (op == Op::Read)
        job = new QKeychain::ReadPasswordJob(serviceName);
    else if (op == Op::Write)
        job = new QKeychain::WritePasswordJob(serviceName);
    else
        job = new QKeychain::DeletePasswordJob(serviceName);
    job->setAutoDelete(false);
    job->setKey(key);
    if (op == Op::Write)
        static_cast<QKeychain::WritePasswordJob *>(job)->setTextData(*secret);
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job->start();
    loop.exec();

    const QKeychain::Error result = job->error();
    const QString why = job->errorString();
    if (op == Op::Read && result == QKeychain::NoError)
        *secret = static_cast<QKeychain::ReadPasswordJob *>(job)->textData();
    delete job;

    if (result == QKeychain::NoBackendAvailable || result == QKeychain::NotImplemented) {
        m_backend = Backend::File;
        return false;
    }
    *ok = result == QKeychain::NoError || (result == QKeychain::EntryNotFound && op != Op::Write);
    if (result == QKeychain::EntryNotFound && op == Op::Read)
        secret->clear();
    if (!*ok)
        *error = QStringLiteral("A jelszótároló nem érhető el: %1").arg(why);
    return true;
}

bool SecretStore::viaFile(Op op, const QString &key, QString *secret, QString *error)
{
    const QString path = filePath();
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder)) {
        *error = unwritable(path, QStringLiteral("a mappa nem hozható létre"));
        return false;
    }
    ::chmod(QFile::encodeName(folder).constData(), S_IRWXU);
    // Two copies of the program may change their secrets at once; neither may lose the other's.
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.lock()) {
        *error = unwritable(path, QStringLiteral("a zárolás nem sikerült"));
        return false;
    }
    QJsonObject secrets;
    if (!readSecrets(path, &secrets, error))
        return false;
    if (op == Op::Read) {
        *secret = secrets.value(key).toString();
        return true;
    }
    if (op == Op::Write)
        secrets.insert(key, *secret);
    else if (!secrets.contains(key))
        return true;
    else
        secrets.remove(key);
    return writeSecrets(path, secrets, error);
}
