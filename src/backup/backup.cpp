#include "backup/backup.h"

#include "store/database.h"
#include "store/datadirectory.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/textformat.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QSettings>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

namespace backup {

namespace {

constexpr const char *manifestName = "pelmora-mentes.txt";
constexpr const char *manifestHeading = "Pelmora biztonsági mentés 1";
constexpr const char *stagingName = ".visszaallitas";
constexpr const char *readyName = "jovahagyva.txt";
constexpr qint64 chunkSize = qint64(64) * 1024;
constexpr int pagesPerStep = 256;

// The data a backup carries, as named in the data directory and in the archive.
const QString databaseEntry = QString::fromLatin1(Database::fileName);
const QString licenceEntry = QStringLiteral("licence.txt");
const QString imagesEntry = QStringLiteral("Images");

struct ArchiveDeleter
{
    void operator()(archive *a) const { archive_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveDeleter>;

struct EntryDeleter
{
    void operator()(archive_entry *e) const { archive_entry_free(e); }
};

struct SqliteCloser
{
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
using SqlitePtr = std::unique_ptr<sqlite3, SqliteCloser>;

QString archiveError(archive *a)
{
    const char *text = archive_error_string(a);
    return text ? QString::fromLocal8Bit(text) : QStringLiteral("ismeretlen hiba");
}

QString stagingDir(const QString &dataDir)
{
    return QDir::cleanPath(dataDir) + QLatin1Char('/') + QLatin1String(stagingName) +
        QLatin1Char('/');
}

// One file of a backup: its name in the archive, where it is read from, and what the list
// inside the backup says of it.
struct Member
{
    QString name;
    QString source;
    qint64 size = 0;
    QByteArray sha256;
};

// Counts work in bytes across the whole run and asks the caller whether to go on.
class Meter
{
public:
    Meter(const Progress &progress, qint64 total)
        : m_progress(progress)
        , m_total(std::max<qint64>(total, 1))
    { }
    bool advance(qint64 bytes)
    {
        m_done = std::min(m_done + bytes, m_total);
        return !m_progress || m_progress(m_done, m_total);
    }
    qint64 done() const { return m_done; }
    void setTotal(qint64 total) { m_total = std::max<qint64>(total, m_done); }
    bool finish() { return advance(m_total - m_done); }

private:
    const Progress &m_progress;
    qint64 m_total;
    qint64 m_done = 0;
};

sqlite3 *nativeHandle(Database &db)
{
    QVariant handle = db.connection().driver()->handle();
    // Any other driver's handle is no SQLite connection, whatever its bytes say.
    auto *sqlite = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
        ? *static_cast<sqlite3 **>(handle.data())
        : nullptr;
    if (!sqlite)
        throw StoreError(QStringLiteral("Az adatbázis-kezelő nem érhető el."));
    return sqlite;
}

qint64 pragmaNumber(Database &db, const QString &pragma)
{
    QSqlQuery query(db.connection());
    if (query.exec(QStringLiteral("PRAGMA ") + pragma) && query.next())
        return query.value(0).toLongLong();
    return 0;
}

// SQLite's online backup, a few pages at a time, so the caller's window stays alive and a
// write made in between (through the same connection) still ends up in the copy.
bool copyDatabase(Database &db, const QString &target, qint64 pageSize, Meter &meter)
{
    sqlite3 *source = nativeHandle(db);
    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(target).constData(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    SqlitePtr copy(raw);
    if (opened != SQLITE_OK)
        throw StoreError(QStringLiteral("A mentés adatbázisa nem hozható létre: %1")
                             .arg(QString::fromUtf8(sqlite3_errmsg(raw))));
    sqlite3_backup *run = sqlite3_backup_init(copy.get(), "main", source, "main");
    if (!run)
        throw StoreError(QStringLiteral("Az adatbázis nem menthető: %1")
                             .arg(QString::fromUtf8(sqlite3_errmsg(copy.get()))));
    int rc = SQLITE_OK;
    int lastRemaining = -1;
    bool goOn = true;
    while (goOn) {
        rc = sqlite3_backup_step(run, pagesPerStep);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            sqlite3_sleep(20);
            goOn = meter.advance(0);
            continue;
        }
        if (rc != SQLITE_OK)
            break;
        const int remaining = sqlite3_backup_remaining(run);
        const int stepped = lastRemaining < 0 ? sqlite3_backup_pagecount(run) - remaining
                                              : lastRemaining - remaining;
        lastRemaining = remaining;
        goOn = meter.advance(qint64(std::max(stepped, 0)) * pageSize);
    }
    sqlite3_backup_finish(run);
    if (!goOn)
        return false;
    if (rc != SQLITE_DONE)
        throw StoreError(QStringLiteral("Az adatbázis nem menthető: %1")
                             .arg(QString::fromUtf8(sqlite3_errstr(rc))));
    if (sqlite3_errcode(copy.get()) != SQLITE_OK)
        throw StoreError(QStringLiteral("Az adatbázis nem menthető: %1")
                             .arg(QString::fromUtf8(sqlite3_errmsg(copy.get()))));
    return true;
}

QList<Member> photoMembers(const QString &dataDir)
{
    QList<Member> members;
    const QDir images(datadirectory::imagesDir(dataDir));
    const QFileInfoList files = images.entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &file : files)
        members.append(
            {imagesEntry + QLatin1Char('/') + file.fileName(), file.filePath(), file.size(), {}});
    return members;
}

void writeEntryHeader(archive *out, const QString &name, qint64 size)
{
    std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
    archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), size);
    archive_entry_set_mtime(entry.get(), QDateTime::currentSecsSinceEpoch(), 0);
    if (archive_write_header(out, entry.get()) != ARCHIVE_OK)
        throw StoreError(QStringLiteral("A mentés nem írható: %1").arg(archiveError(out)));
}

// Writes one file into the archive, noting its size and checksum for the list.
bool writeMember(archive *out, Member &member, Meter &meter)
{
    QFile file(member.source);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(
            QStringLiteral("A fájl nem olvasható: %1\n%2").arg(member.source, file.errorString()));
    member.size = file.size();
    writeEntryHeader(out, member.name, member.size);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 written = 0;
    while (written < member.size) {
        const QByteArray chunk = file.read(std::min(chunkSize, member.size - written));
        if (chunk.isEmpty())
            throw StoreError(QStringLiteral("A fájl nem olvasható: %1\n%2")
                                 .arg(member.source, file.errorString()));
        if (archive_write_data(out, chunk.constData(), size_t(chunk.size())) != chunk.size())
            throw StoreError(QStringLiteral("A mentés nem írható: %1").arg(archiveError(out)));
        hash.addData(chunk);
        written += chunk.size();
        if (!meter.advance(chunk.size()))
            return false;
    }
    member.sha256 = hash.result().toHex();
    return true;
}

QByteArray manifestText(const QList<Member> &members, const QDateTime &made)
{
    QByteArray text = QByteArray(manifestHeading) + '\n';
    text += "Keszult\t" + made.toString(Qt::ISODate).toUtf8() + '\n';
    for (const Member &member : members)
        text += QByteArray::number(member.size) + '\t' + member.sha256 + '\t' +
            member.name.toUtf8() + '\n';
    return text;
}

void syncFile(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        ::fsync(file.handle());
}

bool writeArchive(const QString &path, QList<Member> &members, Meter &meter)
{
    ArchivePtr out(archive_write_new());
    archive_write_set_format_pax_restricted(out.get());
    if (archive_write_open_filename(out.get(), QFile::encodeName(path).constData()) != ARCHIVE_OK)
        throw StoreError(
            QStringLiteral("A mentés nem írható: %1\n%2").arg(path, archiveError(out.get())));
    for (Member &member : members) {
        if (!writeMember(out.get(), member, meter))
            return false;
    }
    // The list goes last: a backup cut short anywhere lacks it and is refused as a whole.
    const QByteArray manifest = manifestText(members, QDateTime::currentDateTime());
    writeEntryHeader(out.get(), QString::fromLatin1(manifestName), manifest.size());
    if (archive_write_data(out.get(), manifest.constData(), size_t(manifest.size())) !=
            manifest.size() ||
        archive_write_close(out.get()) != ARCHIVE_OK)
        throw StoreError(QStringLiteral("A mentés nem írható: %1").arg(archiveError(out.get())));
    return true;
}

StoreError refused(const QString &reason)
{
    return StoreError(QStringLiteral("A kiválasztott fájl nem állítható vissza.\n%1").arg(reason));
}

// Only the names a backup is made of are unpacked, and never outside the staging folder.
bool wantedName(const QString &name)
{
    if (name == databaseEntry || name == licenceEntry)
        return true;
    if (!name.startsWith(imagesEntry + QLatin1Char('/')))
        return false;
    const QString file = name.mid(imagesEntry.size() + 1);
    return !file.isEmpty() && !file.contains(QLatin1Char('/')) &&
        !file.contains(QLatin1Char('\\')) && !file.startsWith(QLatin1Char('.'));
}

QString entryName(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char *plain = archive_entry_pathname(entry);
    return plain ? QString::fromLocal8Bit(plain) : QString();
}

QByteArray readSmallEntry(archive *in)
{
    QByteArray data;
    char buffer[8192];
    for (;;) {
        const la_ssize_t n = archive_read_data(in, buffer, sizeof buffer);
        if (n < 0)
            throw refused(QStringLiteral("A mentés sérült: %1").arg(archiveError(in)));
        if (n == 0)
            return data;
        data.append(buffer, qsizetype(n));
        if (data.size() > qint64(16) * 1024 * 1024)
            throw refused(QStringLiteral("A mentés tartalomjegyzéke hibás."));
    }
}

// Unpacks one entry to `path`; false when the user cancelled.
bool extractEntry(archive *in, const QString &path, Member &member, Meter &meter)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw StoreError(
            QStringLiteral("A mentés nem bontható ki: %1\n%2").arg(path, file.errorString()));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray buffer(chunkSize, Qt::Uninitialized);
    for (;;) {
        const la_ssize_t n = archive_read_data(in, buffer.data(), size_t(buffer.size()));
        if (n < 0)
            throw refused(QStringLiteral("A mentés sérült: %1").arg(archiveError(in)));
        if (n == 0)
            break;
        if (file.write(buffer.constData(), n) != n)
            throw StoreError(
                QStringLiteral("A mentés nem bontható ki: %1\n%2").arg(path, file.errorString()));
        hash.addData(QByteArrayView(buffer.constData(), qsizetype(n)));
        member.size += n;
        if (!meter.advance(n))
            return false;
    }
    if (!file.flush())
        throw StoreError(
            QStringLiteral("A mentés nem bontható ki: %1\n%2").arg(path, file.errorString()));
    member.sha256 = hash.result().toHex();
    return true;
}

// Every file the list names must have come out whole, and nothing else.
QDateTime checkManifest(const QByteArray &manifest, const QHash<QString, Member> &found)
{
    const QList<QByteArray> lines = manifest.split('\n');
    if (manifest.isEmpty() || lines.value(0) != manifestHeading)
        throw refused(QStringLiteral("A fájl nem Pelmora biztonsági mentés, vagy hiányos."));
    QDateTime made;
    QSet<QString> listed;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> parts = lines[i].split('\t');
        if (parts.size() == 2 && parts[0] == "Keszult") {
            made = QDateTime::fromString(QString::fromUtf8(parts[1]), Qt::ISODate);
            continue;
        }
        if (parts.size() != 3)
            continue;
        const QString name = QString::fromUtf8(parts[2]);
        const Member member = found.value(name);
        if (!found.contains(name) || member.size != parts[0].toLongLong() ||
            member.sha256 != parts[1])
            throw refused(
                QStringLiteral("A mentés sérült: %1 hiányzik vagy megváltozott.").arg(name));
        listed.insert(name);
    }
    if (!listed.contains(databaseEntry))
        throw refused(QStringLiteral("A mentésben nincs adatbázis."));
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        if (!listed.contains(it.key()))
            throw refused(QStringLiteral("A mentés sérült: %1 nem szerepel a tartalomjegyzékben.")
                              .arg(it.key()));
    }
    return made;
}

QStringList queryColumn(sqlite3 *db, const QString &sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(db)));
    QStringList values;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        values << QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(db)));
    return values;
}

int countRows(sqlite3 *db, const QString &table)
{
    return queryColumn(db, QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table))
        .value(0)
        .toInt();
}

Contents checkDatabase(const QString &path)
{
    sqlite3 *raw = nullptr;
    const int opened =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    SqlitePtr db(raw);
    if (opened != SQLITE_OK)
        throw refused(QStringLiteral("A mentés adatbázisa nem nyitható meg: %1")
                          .arg(QString::fromUtf8(sqlite3_errmsg(raw))));
    QStringList problems;
    try {
        problems = queryColumn(db.get(), QStringLiteral("PRAGMA integrity_check"));
    } catch (const StoreError &error) {
        problems = {error.message()};
    }
    if (problems != QStringList {QStringLiteral("ok")})
        throw refused(QStringLiteral("A mentés adatbázisa sérült:\n%1")
                          .arg(problems.mid(0, 5).join(QLatin1Char('\n'))));
    Contents contents;
    try {
        const double version = queryColumn(db.get(), QStringLiteral("SELECT Version FROM defaults"))
                                   .value(0)
                                   .toDouble();
        if (version != tables::databaseVersion)
            throw refused(
                QStringLiteral("A mentés adatbázis-verziója (%1) nem egyezik a programéval (%2).")
                    .arg(textformat::numberText(version))
                    .arg(tables::databaseVersion));
        contents.properties = countRows(db.get(), tables::egyszeru);
        contents.archived = countRows(db.get(), tables::archiv);
        contents.requests = countRows(db.get(), tables::erdeklodes);
    } catch (const StoreError &error) {
        if (error.message().startsWith(QStringLiteral("A kiválasztott fájl")))
            throw;
        throw refused(
            QStringLiteral("A mentés adatbázisa nem Pelmora adatbázis: %1").arg(error.message()));
    }
    return contents;
}

QString readyPath(const QString &dataDir)
{
    return stagingDir(dataDir) + QLatin1String(readyName);
}

// Moves a file or folder, failing loudly: a restore must never go on half-way in silence.
void moveEntry(const QString &from, const QString &to)
{
    if (!QDir().rename(from, to))
        throw StoreError(QStringLiteral("A visszaállítás nem folytatható: %1 nem helyezhető át "
                                        "ide: %2")
                             .arg(from, to));
}

} // namespace

QString serverNotice()
{
    return QStringLiteral("Ez a munkaállomás az irodai adatbázis-szerveren dolgozik: a "
                          "nyilvántartást a szerveren kell menteni (például a pg_dump "
                          "paranccsal), innen nem menthető és nem állítható vissza.");
}

QString archiveName(const QDateTime &when)
{
    return QStringLiteral("pelmora-") + when.toString(QStringLiteral("yyyy-MM-dd-HHmm")) +
        QStringLiteral(".tar");
}

QString create(Database &db, const QString &folder, const Progress &progress)
{
    if (db.isServer())
        throw StoreError(serverNotice());
    const QString dataDir = db.dataDir();
    if (!QDir().mkpath(folder))
        throw StoreError(QStringLiteral("A mentések mappája nem hozható létre: %1").arg(folder));
    // Everything is made under a temporary name in the target folder, so that a cancelled or
    // failed run, or a crash, never leaves a half-written file under a backup's name.
    QTemporaryDir work(QDir(folder).filePath(QStringLiteral(".pelmora-mentes-XXXXXX")));
    if (!work.isValid())
        throw StoreError(QStringLiteral("A mentések mappája nem írható: %1").arg(folder));

    QList<Member> members;
    members.append({databaseEntry, work.filePath(databaseEntry), 0, {}});
    if (QFileInfo::exists(datadirectory::licencePath(dataDir)))
        members.append({licenceEntry, datadirectory::licencePath(dataDir), 0, {}});
    members.append(photoMembers(dataDir));

    qint64 filesBytes = 0;
    for (const Member &member : members)
        filesBytes += member.size;
    const qint64 pageSize = pragmaNumber(db, QStringLiteral("page_size"));
    const qint64 dbBytes = pageSize * pragmaNumber(db, QStringLiteral("page_count"));
    // The database counts twice: once copied, once packed.
    Meter meter(progress, filesBytes + 2 * dbBytes);
    if (!copyDatabase(db, members.first().source, pageSize, meter))
        return {};
    meter.setTotal(meter.done() + filesBytes + QFileInfo(members.first().source).size());

    QString target = QDir(folder).filePath(archiveName(QDateTime::currentDateTime()));
    const QString partial = work.filePath(QStringLiteral("mentes.tar"));
    if (!writeArchive(partial, members, meter) || !meter.finish())
        return {};
    syncFile(partial);
    QFile::remove(target);
    if (!QFile::rename(partial, target))
        throw StoreError(QStringLiteral("A mentés nem írható: %1").arg(target));
    return target;
}

int rotate(const QString &folder, int keep)
{
    static const QRegularExpression pattern(
        QStringLiteral("^pelmora-\\d{4}-\\d{2}-\\d{2}-\\d{4}\\.tar$"));
    QStringList names;
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        if (pattern.match(name).hasMatch())
            names << name;
    }
    // The names sort as their times do.
    int removed = 0;
    for (qsizetype i = 0; i + std::max(keep, 0) < names.size(); ++i) {
        if (QFile::remove(QDir(folder).filePath(names[i])))
            ++removed;
    }
    return removed;
}

std::optional<Contents> stage(const QString &archivePath, const QString &dataDir,
                              const Progress &progress)
{
    const QString dir = stagingDir(dataDir);
    QDir(dir).removeRecursively();
    if (!QDir().mkpath(dir + imagesEntry))
        throw StoreError(QStringLiteral("A visszaállítás mappája nem hozható létre: %1").arg(dir));
    auto removeStaged = qScopeGuard([dir] { QDir(dir).removeRecursively(); });

    QFile check(archivePath);
    if (!check.open(QIODevice::ReadOnly))
        throw refused(QStringLiteral("A fájl nem nyitható meg: %1\n%2")
                          .arg(archivePath, check.errorString()));
    check.close();
    ArchivePtr in(archive_read_new());
    archive_read_support_format_tar(in.get());
    if (archive_read_open_filename(in.get(), QFile::encodeName(archivePath).constData(),
                                   size_t(chunkSize)) != ARCHIVE_OK)
        throw refused(QStringLiteral("A fájl sérült, vagy nem Pelmora biztonsági mentés: %1")
                          .arg(archiveError(in.get())));
    Meter meter(progress, QFileInfo(archivePath).size());
    QHash<QString, Member> found;
    QByteArray manifest;
    for (;;) {
        archive_entry *entry = nullptr;
        const int rc = archive_read_next_header(in.get(), &entry);
        if (rc == ARCHIVE_EOF)
            break;
        if (rc < ARCHIVE_WARN)
            throw refused(QStringLiteral("A fájl sérült, vagy nem Pelmora biztonsági mentés: %1")
                              .arg(archiveError(in.get())));
        const QString name = entryName(entry);
        if (archive_entry_filetype(entry) != AE_IFREG)
            continue;
        if (name == QLatin1String(manifestName)) {
            manifest = readSmallEntry(in.get());
            continue;
        }
        if (!wantedName(name))
            continue;
        if (found.contains(name))
            throw refused(QStringLiteral("A mentés sérült: %1 kétszer szerepel.").arg(name));
        Member member {name, dir + name, 0, {}};
        if (!extractEntry(in.get(), member.source, member, meter))
            return std::nullopt;
        found.insert(name, member);
    }
    const QDateTime made = checkManifest(manifest, found);
    Contents contents = checkDatabase(dir + databaseEntry);
    contents.photos = int(std::count_if(found.keyBegin(), found.keyEnd(), [](const QString &n) {
        return n.startsWith(imagesEntry + QLatin1Char('/'));
    }));
    contents.made = made;
    removeStaged.dismiss();
    return contents;
}

QString confirmStaged(const QString &dataDir, const QDateTime &when)
{
    const QString name =
        QStringLiteral("elozo-adatok-") + when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QFile ready(readyPath(dataDir));
    if (!QFileInfo::exists(stagingDir(dataDir) + databaseEntry) ||
        !ready.open(QIODevice::WriteOnly | QIODevice::Truncate) || ready.write(name.toUtf8()) < 0 ||
        !ready.flush())
        throw StoreError(
            QStringLiteral("A visszaállítás nem készíthető elő: %1").arg(ready.errorString()));
    ::fsync(ready.handle());
    return QDir::cleanPath(dataDir) + QLatin1Char('/') + name;
}

void discardStaged(const QString &dataDir)
{
    QDir(stagingDir(dataDir)).removeRecursively();
}

bool stagedReady(const QString &dataDir)
{
    return QFileInfo::exists(readyPath(dataDir));
}

QString commitStaged(const QString &dataDir)
{
    QFile ready(readyPath(dataDir));
    if (!ready.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("Nincs jóváhagyott visszaállítás."));
    const QString name = QString::fromUtf8(ready.readAll()).trimmed();
    ready.close();
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        throw StoreError(
            QStringLiteral("A visszaállítás jelzőfájlja hibás: %1").arg(ready.fileName()));
    const QString data = QDir::cleanPath(dataDir) + QLatin1Char('/');
    const QString aside = data + name + QLatin1Char('/');
    const QString staged = stagingDir(dataDir);
    if (!QDir().mkpath(aside))
        throw StoreError(QStringLiteral("A régi adatok mappája nem hozható létre: %1").arg(aside));
    // Each step is skipped once done, so a run cut short is finished by the next one.
    const QStringList companions {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                  QStringLiteral("-journal")};
    for (const QString &item : {databaseEntry, imagesEntry, licenceEntry}) {
        if (!QFileInfo::exists(staged + item))
            continue;
        const QStringList current = item == databaseEntry
            ? QStringList {item + companions[0], item + companions[1], item + companions[2],
                           item + companions[3]}
            : QStringList {item};
        for (const QString &file : current) {
            if (QFileInfo::exists(data + file))
                moveEntry(data + file, aside + file);
        }
        moveEntry(staged + item, data + item);
    }
    QDir(staged).removeRecursively();
    return QDir::cleanPath(aside);
}

void recover(const QString &dataDir)
{
    if (!QFileInfo::exists(stagingDir(dataDir)))
        return;
    if (stagedReady(dataDir))
        commitStaged(dataDir);
    else
        discardStaged(dataDir);
}

Settings loadSettings()
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Pelmora"),
                    QStringLiteral("Pelmora"));
    Settings settings;
    settings.folder = store.value(QStringLiteral("mentes/mappa")).toString();
    settings.keep = std::max(1, store.value(QStringLiteral("mentes/megtartott"), 10).toInt());
    settings.atQuit = store.value(QStringLiteral("mentes/kilepeskor"), true).toBool();
    return settings;
}

void saveSettings(const Settings &settings)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Pelmora"),
                    QStringLiteral("Pelmora"));
    store.setValue(QStringLiteral("mentes/mappa"), settings.folder);
    store.setValue(QStringLiteral("mentes/megtartott"), std::max(1, settings.keep));
    store.setValue(QStringLiteral("mentes/kilepeskor"), settings.atQuit);
    store.sync();
    if (store.status() != QSettings::NoError)
        throw StoreError(QStringLiteral("A beállítások nem menthetők: %1").arg(store.fileName()));
}

QString defaultFolder(const QString &dataDir)
{
    return QDir::cleanPath(dataDir) + QStringLiteral("/mentesek/");
}

QString folderFor(const Settings &settings, const QString &dataDir)
{
    return settings.folder.trimmed().isEmpty() ? defaultFolder(dataDir) : settings.folder;
}

} // namespace backup
