#include "publish/uploadrun.h"

#include "store/officelock.h"
#include "store/photostore.h"

#include "publish/ftppassword.h"
#include "publish/ftpsecurity.h"
#include "publish/newsfile.h"
#include "publish/uploadfiles.h"
#include "store/bulkwrite.h"
#include "store/changelog.h"
#include "store/registerstate.h"
#include "store/secretstore.h"
#include "store/storeerror.h"
#include "store/textformat.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

namespace {

const QString newsFileName = QStringLiteral("news.txt");

} // namespace

struct UploadRun::Property
{
    int id = 0;
    QStringList photos;
};

UploadRun::UploadRun(RegisterState &cursors, QObject *parent)
    : QObject(parent)
    , m_cursors(cursors)
{ }

template<typename Work>
auto UploadRun::whileWorkerRuns(Work work) -> decltype(work())
{
    std::optional<decltype(work())> result;
    QEventLoop loop;
    QThread *thread = QThread::create([&] { result.emplace(work()); });
    connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
    return std::move(*result);
}

void UploadRun::log(const QString &message)
{
    emit logged(textformat::timestampNow() + QStringLiteral("  ") + message);
}

std::optional<FtpClient::Settings> UploadRun::clientSettings(QString *error) const
{
    Cursor &settings = m_cursors.tDefaults;
    FtpClient::Settings result;
    result.server = settings.text(QStringLiteral("Ftpserver"));
    result.user = QStringLiteral("i") + settings.text(QStringLiteral("Userid"));
    SecretStore secrets;
    const std::optional<QString> password = ftppassword::read(settings, secrets, error);
    if (!password)
        return std::nullopt;
    result.password = *password;
    result.timeoutSeconds = m_timeoutSeconds;
    return result;
}

bool UploadRun::upload(FtpClient &client, const QString &localPath, const QString &remoteName)
{
    if (client.connectionLost())
        return false;
    emit transferStarted();
    const FtpClient::Progress progress = [this](qint64 done, qint64 total) {
        QMetaObject::invokeMethod(
            this, [this, done, total] { emit progressed(done, total); }, Qt::QueuedConnection);
    };
    const FtpClient::Result result =
        whileWorkerRuns([&] { return client.store(localPath, remoteName, progress); });
    if (!result.ok()) {
        ++m_tally.failedTransfers;
        log(QStringLiteral("%1 feltöltése sikertelen: %2").arg(remoteName, result.reply));
    }
    return result.ok();
}

void UploadRun::markUploaded(const QList<int> &ids)
{
    // One prepared statement for the whole set: a property removed meanwhile is simply not
    // found, and the open grids hear of the change once.
    QVector<std::pair<qint64, bool>> marks;
    marks.reserve(ids.size());
    for (const int id : ids)
        marks.append({id, true});
    bulkwrite::setBooleans(m_cursors.db, m_cursors.tEgyszeru.def().name,
                           QStringLiteral("Feltoltve"), marks);
}

void UploadRun::fetchNews(FtpClient &client)
{
    Database &db = m_cursors.db;
    const QString localPath = QDir::current().filePath(newsFileName);
    client.setType(FtpClient::Type::Ascii);
    log(QStringLiteral("Hírek letöltése..."));
    const FtpClient::Result download =
        whileWorkerRuns([&] { return client.retrieve(newsFileName, localPath); });
    const bool serverHasNone = download.outcome == FtpClient::Outcome::NotFound;
    if (!download.ok() && !serverHasNone)
        log(QStringLiteral("%1 letöltése sikertelen: %2").arg(newsFileName, download.reply));
    if (download.ok() && QFileInfo(localPath).size() == 0) {
        // Nothing here could stand in for the server's copy, so it stays where it is.
        QFile::remove(localPath);
        log(QStringLiteral("A letöltött %1 üres, a szerveren marad.").arg(newsFileName));
        log(QStringLiteral("Nincs új hír."));
        return;
    }

    NewsCounts counts;
    bool stored = false;
    if (QFile::exists(localPath))
        stored = ProcessNewsFile(
            db, localPath, [this](const QString &line) { log(line); }, &counts);
    else
        log(QStringLiteral("Nincs új hír."));
    m_tally.news = counts.messages;
    m_tally.inquiries = counts.inquiries;
    // A copy that could not be stored is fetched again next time from the server, which keeps it.
    if (download.ok() && !stored)
        QFile::remove(localPath);
    const bool keptAside = download.ok() && counts.malformed && !counts.keptAside.isEmpty();
    if (counts.malformed)
        m_newsProblem = keptAside
            ? QStringLiteral("A portál üzenetfájlja (%1) hibás, a hírei nem kerültek rögzítésre. "
                             "A fájl másolata: %2")
                  .arg(newsFileName, QDir::toNativeSeparators(counts.keptAside))
            : QStringLiteral("A portál üzenetfájlja (%1) hibás, a hírei nem kerültek rögzítésre.")
                  .arg(newsFileName);

    // The server's copy goes only once its entries, or a copy of a refused file, are safe here;
    // with none there, the delete is asked for all the same, as the portal has always seen it.
    if (!(download.ok() && (stored || keptAside)) && !serverHasNone)
        return;
    const FtpClient::Result removed = whileWorkerRuns([&] { return client.remove(newsFileName); });
    if (serverHasNone)
        return;
    if (!removed.ok()) {
        log(QStringLiteral("%1 törlése sikertelen: %2").arg(newsFileName, removed.reply));
        log(QStringLiteral("A szerver megtartotta a(z) %1 fájlt; a már rögzített bejegyzéseit a "
                           "következő feltöltés felismeri, és nem rögzíti újra.")
                .arg(newsFileName));
    } else if (keptAside) {
        log(QStringLiteral("A hibás %1 törölve a szerverről; a másolata megmaradt a gépen.")
                .arg(newsFileName));
    }
}

FtpClient::Result UploadRun::connectTo(FtpClient::Settings settings,
                                       std::unique_ptr<FtpClient> *session)
{
    const FtpSecurity security = FtpSecurity::read(m_cursors.db);
    settings.tls = security.tls;
    settings.pinnedKey = security.keyFor(settings.server);
    *session = std::make_unique<FtpClient>(settings);
    FtpClient::Result connected = whileWorkerRuns([&] { return (*session)->connect(); });
    if (connected.outcome != FtpClient::Outcome::UntrustedCertificate ||
        !trustCertificate(settings, connected.reply))
        return connected;
    // Nothing was sent to the server before its certificate was refused, so a fresh session
    // may log in now.
    settings.pinnedKey = FtpSecurity::read(m_cursors.db).pinnedKey;
    *session = std::make_unique<FtpClient>(settings);
    return whileWorkerRuns([&] { return (*session)->connect(); });
}

bool UploadRun::trustCertificate(const FtpClient::Settings &settings, const QString &why)
{
    log(QStringLiteral("A titkosított kapcsolat nem jött létre: %1").arg(why));
    if (!m_askTrust)
        return false;
    FtpClient probe(settings);
    const FtpClient::Certificate certificate =
        whileWorkerRuns([&] { return probe.fetchCertificate(); });
    if (certificate.pinnedKey.isEmpty()) {
        log(QStringLiteral("A szerver tanúsítványa nem kérhető le: %1").arg(certificate.error));
        return false;
    }
    const QString question =
        QStringLiteral("Az FTP szerver (%1) tanúsítványát a rendszer nem ismeri el: %2.\n\n"
                       "A tanúsítvány SHA-256 ujjlenyomata:\n%3\n\n"
                       "Csak akkor fogadja el, ha ez egyezik a portáltól kapott ujjlenyomattal. "
                       "Megbízik ebben a tanúsítványban?")
            .arg(settings.server.trimmed(), why, certificate.fingerprint);
    if (!m_askTrust(question)) {
        log(QStringLiteral("A tanúsítvány nem lett elfogadva."));
        return false;
    }
    FtpSecurity security = FtpSecurity::read(m_cursors.db);
    security.server = settings.server.trimmed();
    security.pinnedKey = certificate.pinnedKey;
    security.fingerprint = certificate.fingerprint;
    try {
        security.write(m_cursors.db);
    } catch (const StoreError &error) {
        log(QStringLiteral("A tanúsítvány nem jegyezhető meg: %1").arg(error.message()));
        return false;
    }
    log(QStringLiteral("Megbízható tanúsítvány, SHA-256: %1").arg(certificate.fingerprint));
    return true;
}

QList<UploadRun::Property> UploadRun::readUploadSet() const
{
    QList<Property> uploadSet;
    m_cursors.tEgyszeru.scan({QStringLiteral("Id"), QStringLiteral("Kep1"), QStringLiteral("Kep2"),
                              QStringLiteral("Kep3"), QStringLiteral("Kep4")},
                             [&](const Record &record) {
                                 Property property;
                                 property.id = record.integer(QStringLiteral("Id"));
                                 for (const char *field : {"Kep1", "Kep2", "Kep3", "Kep4"}) {
                                     const QString photo = record.text(QString::fromLatin1(field));
                                     if (!photo.isEmpty())
                                         property.photos << photo;
                                 }
                                 uploadSet << property;
                             });
    return uploadSet;
}

QList<int> UploadRun::uploadPhotos(FtpClient &client, const QList<Property> &uploadSet,
                                   bool textsSent)
{
    // A property counts as uploaded only when the text files and every photograph of it are on
    // the server.
    QList<int> whole;
    Database &db = m_cursors.db;
    const QString missing = db.isServer()
        ? QStringLiteral("%1: a fénykép nem található az adatbázisban, nem került feltöltésre.")
        : QStringLiteral("%1: a fénykép nem található a gépen, nem került feltöltésre.");
    for (const Property &property : uploadSet) {
        bool complete = textsSent;
        for (const QString &photo : property.photos) {
            if (client.connectionLost()) {
                complete = false;
                break;
            }
            log(photo + QStringLiteral(" feltöltése"));
            QString local;
            try {
                local = photostore::localFile(db, photo);
            } catch (const StoreError &error) {
                log(error.message());
            }
            if (local.isEmpty() || !QFile::exists(local)) {
                log(missing.arg(photo));
                complete = false;
                continue;
            }
            complete = upload(client, local, QStringLiteral("Images/") + photo) && complete;
            // A whole register's photos fetched from the server would otherwise pile up in the
            // folder of copies for as long as the program runs.
            if (db.isServer())
                QFile::remove(local);
        }
        if (complete)
            whole << property.id;
    }
    return whole;
}

// The list files are written before any connection is made: without them there is nothing to send.
bool UploadRun::writeListFiles(const QString &stamp, const QDir &here, QStringList *localFiles)
{
    try {
        log(QStringLiteral("Szöveges adatbázis generálása..."));
        *localFiles << WriteDataFile(stamp, m_cursors.tEgyszeru, here);
        log(QStringLiteral("Fejléc generálása..."));
        *localFiles << WriteHeadFile(stamp, m_cursors.tEgyszeru, here);
    } catch (const StoreError &error) {
        log(QStringLiteral("Hiba."));
        fail(error.message());
        return false;
    }
    return true;
}

std::unique_ptr<FtpClient> UploadRun::openSession()
{
    log(QStringLiteral("Kapcsolódás az FTP szerverhez..."));
    QString secretError;
    const std::optional<FtpClient::Settings> settings = clientSettings(&secretError);
    if (!settings) {
        fail(secretError);
        log(QStringLiteral("Hiba."));
        return nullptr;
    }
    std::unique_ptr<FtpClient> session;
    const FtpClient::Result connected = connectTo(*settings, &session);
    if (!connected.ok()) {
        fail(connected.outcome == FtpClient::Outcome::InvalidHost
                 ? QStringLiteral("Hiba az FTP szerver csatlakozásánál! Hibás cím!")
                 : QStringLiteral("Hiba az FTP szerver csatlakozásánál!"));
        if (!connected.reply.isEmpty()) {
            m_tally.failure += QLatin1Char(' ') + connected.reply;
            log(QStringLiteral("A kapcsolat nem jött létre: %1").arg(connected.reply));
        }
        log(QStringLiteral("Hiba."));
        return nullptr;
    }
    log(QStringLiteral("Kapcsolat létrejött"));
    return session;
}

void UploadRun::quit(FtpClient &client)
{
    whileWorkerRuns([&] {
        client.quit();
        return true;
    });
}

bool UploadRun::sendListFiles(FtpClient &client, const QStringList &localFiles,
                              const QString &stamp)
{
    client.setType(FtpClient::Type::Ascii);
    log(QStringLiteral("Adatok feltöltése"));
    const bool dataSent = upload(client, localFiles[0], dataFileName(stamp));
    bool headSent = false;
    if (!client.connectionLost()) {
        log(QStringLiteral("Fejléc feltöltése"));
        headSent = upload(client, localFiles[1], headFileName(stamp));
    }
    return dataSent && headSent;
}

// True when every property of the upload set went up with its photos and is marked as sent.
bool UploadRun::sendPhotos(FtpClient &client, bool listSent)
{
    client.setType(FtpClient::Type::Binary);
    const QList<Property> uploadSet = readUploadSet();
    const QList<int> toMark = uploadPhotos(client, uploadSet, listSent);
    bool allSent = toMark.size() == uploadSet.size();
    m_tally.properties = uploadSet.size();
    m_tally.sent = toMark.size();
    try {
        markUploaded(toMark);
    } catch (const StoreError &error) {
        allSent = false;
        log(QStringLiteral("A feltöltött ingatlanok megjelölése nem sikerült: %1")
                .arg(error.message()));
    }
    return allSent;
}

// Empty when the file could not be written; otherwise whether it reached the server.
std::optional<bool> UploadRun::sendUserFile(FtpClient &client, const QString &stamp,
                                            const QDir &here, QStringList *localFiles)
{
    if (client.connectionLost())
        return false;
    try {
        *localFiles << WriteUserFile(stamp, m_cursors.tDefaults, here);
    } catch (const StoreError &error) {
        log(QStringLiteral("Hiba."));
        fail(error.message());
        return std::nullopt;
    }
    client.setType(FtpClient::Type::Ascii);
    log(QStringLiteral("Felhasználói információk feltöltése"));
    return upload(client, localFiles->at(2), userFileName(stamp));
}

void UploadRun::finishSession(FtpClient &client)
{
    if (!client.connectionLost())
        fetchNews(client);
    if (!client.connectionLost()) {
        log(QStringLiteral("Leválás az FTP szerverről..."));
        quit(client);
        log(QStringLiteral("Kész."));
    }
}

UploadRun::Ending UploadRun::conclude(const QStringList &localFiles, bool allSent)
{
    for (const QString &file : localFiles)
        QFile::remove(file);
    if (!m_newsProblem.isEmpty())
        emit problem(m_newsProblem);
    if (!allSent) {
        emit problem(QStringLiteral(
            "Az adatok feltöltése hibával zárult. A hibákat a feltöltés naplója sorolja fel."));
        return Ending::WithErrors;
    }
    return Ending::Success;
}

void UploadRun::fail(const QString &message)
{
    m_tally.failure = message;
    emit problem(message);
}

// One entry for the run, whatever its ending. The marks it set are committed already; a log
// that cannot be written must not turn a finished run into a failed one, so it is only said.
void UploadRun::logRun(Ending ending)
{
    changelog::Entry entry;
    entry.action = changelog::feltoltes;
    switch (ending) {
    case Ending::Success:
        entry.details = QStringLiteral("Sikeres: %1 ingatlan feltöltve.").arg(m_tally.sent);
        break;
    case Ending::WithErrors:
        entry.details = QStringLiteral("Hibával zárult: %1 ingatlanból %2 feltöltve, %3 sikertelen "
                                       "átvitel.")
                            .arg(m_tally.properties)
                            .arg(m_tally.sent)
                            .arg(m_tally.failedTransfers);
        break;
    case Ending::ConnectionFailed:
        entry.details = QStringLiteral("Nem jött létre kapcsolat: %1").arg(m_tally.failure);
        break;
    case Ending::FileError:
        entry.details = QStringLiteral("Fájlhiba: %1").arg(m_tally.failure);
        // The user file is written last, after the register's files and photographs went up.
        if (m_tally.properties > 0)
            entry.details += QStringLiteral(" (%1 ingatlanból %2 feltöltve)")
                                 .arg(m_tally.properties)
                                 .arg(m_tally.sent);
        break;
    case Ending::Busy:
        break;
    }
    // Inquiries become requests here: the log tells where they came from.
    if (m_tally.news > 0)
        entry.details += QStringLiteral(" %1 új hír, ebből %2 érdeklődés.")
                             .arg(m_tally.news)
                             .arg(m_tally.inquiries);
    try {
        changelog::append(m_cursors.db, entry);
    } catch (const StoreError &error) {
        log(QStringLiteral("A feltöltés nem került a naplóba: %1").arg(error.message()));
    }
}

UploadRun::Ending UploadRun::run()
{
    m_tally = {};
    const Ending ending = runSteps();
    // A run refused for another workstation's did nothing to log.
    if (ending != Ending::Busy)
        logRun(ending);
    return ending;
}

UploadRun::Ending UploadRun::runSteps()
{
    m_running = true;
    m_newsProblem.clear();
    const auto stopped = qScopeGuard([this] { m_running = false; });
    // One upload for the whole office: two runs would send crossing files to the portal.
    OfficeLock office(m_cursors.db, OfficeLock::Kind::Upload);
    if (!office.tryTake()) {
        emit problem(office.busyMessage());
        return Ending::Busy;
    }
    const QString stamp = MakeRunStamp(QDateTime::currentDateTime());
    const QDir here = QDir::current();
    Cursor &properties = m_cursors.tEgyszeru;
    const bool wasFiltered = properties.filtered();
    // Whatever the ending, the panel's grid shows the upload set again.
    const auto refilter = qScopeGuard([&] { properties.setFiltered(wasFiltered); });

    QStringList localFiles;
    if (!writeListFiles(stamp, here, &localFiles))
        return Ending::FileError;
    const std::unique_ptr<FtpClient> session = openSession();
    if (!session)
        return Ending::ConnectionFailed;
    FtpClient &client = *session;
    const auto disconnect = qScopeGuard([&] { quit(client); });

    const bool listSent = sendListFiles(client, localFiles, stamp);
    properties.setFiltered(wasFiltered);
    const bool photosSent = sendPhotos(client, listSent);
    const std::optional<bool> userSent = sendUserFile(client, stamp, here, &localFiles);
    if (!userSent)
        return Ending::FileError;
    const bool allSent = listSent && photosSent && *userSent;
    log(allSent ? QStringLiteral("Az adatok feltöltése sikeres volt.")
                : QStringLiteral("Az adatok feltöltése hibával zárult."));
    finishSession(client);
    return conclude(localFiles, allSent);
}
