#include "store/photostore.h"

#include "store/database.h"
#include "store/datadirectory.h"
#include "store/storeerror.h"
#include "store/tables.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace photostore {
namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Renames and removals survive a power cut only once the folder itself is on the disk.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Repeating a move that was already done changes nothing: a temporary that is gone was renamed
// before.
void carryOut(const QString &images, const QList<PhotoMove> &moves)
{
    if (moves.isEmpty())
        return;
    QStringList failures;
    for (const PhotoMove &move : moves) {
        const QByteArray temporary = QFile::encodeName(images + move.temporary);
        const QByteArray photo = QFile::encodeName(images + move.photo);
        // rename(2) replaces the old photo in one step: a reader sees the old one or the new.
        if (std::rename(temporary.constData(), photo.constData()) != 0 && errno != ENOENT)
            failures << u"A(z) \"%1\" kép nem tehető a helyére: %2"_s.arg(move.photo,
                                                                          systemError());
    }
    syncFolder(images);
    if (!failures.isEmpty())
        throw StoreError(failures.join(QLatin1Char('\n')) +
                         u"\nA program a következő indításkor újra megpróbálja."_s);
}

void forget(Database &db, const QList<qint64> &rows)
{
    if (rows.isEmpty())
        return;
    QStringList ids;
    for (qint64 row : rows)
        ids << QString::number(row);
    db.query(
        u"DELETE FROM %1 WHERE \"Id\" IN (%2)"_s.arg(tables::kepcsere, ids.join(QLatin1Char(','))));
}

// Held shared by every open register of the folder; a start sweeps only when it alone holds it,
// so it never removes the temporaries of a copy that is storing at that moment. The kernel lets
// go of it when a process dies, however it dies.
class FolderGuard : public QObject
{
public:
    FolderGuard(const QString &path, QObject *parent)
        : QObject(parent)
        , m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    { }
    ~FolderGuard() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool takeAlone() { return m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0; }
    void share()
    {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_SH);
    }

private:
    int m_fd;
};

// The server's photos as this program fetched or stored them, for as long as it runs: whatever
// another workstation stores later is fetched anew, so nothing here is ever trusted as current.
class ServerCopies : public QObject
{
public:
    explicit ServerCopies(QObject *parent)
        : QObject(parent)
        , m_dir(QDir::tempPath() + u"/pelmora-kepek-XXXXXX"_s)
    {
        setObjectName(u"pelmora-server-photos"_s);
    }
    QString path() const { return m_dir.isValid() ? m_dir.path() + QLatin1Char('/') : QString(); }

private:
    QTemporaryDir m_dir;
};

QString serverFolder(Database &db)
{
    auto *copies =
        db.findChild<ServerCopies *>(u"pelmora-server-photos"_s, Qt::FindDirectChildrenOnly);
    if (!copies)
        copies = new ServerCopies(&db);
    QString path = copies->path();
    if (path.isEmpty())
        throw StoreError(u"A képek átmeneti mappája nem hozható létre (%1)."_s.arg(
            QDir::toNativeSeparators(QDir::tempPath())));
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(u"A(z) \"%1\" kép nem olvasható: %2"_s.arg(QDir::toNativeSeparators(path),
                                                                    file.errorString()));
    return file.readAll();
}

// A photo only needs to be whole in its own folder: the server keeps it already, and a later
// read fetches it again.
void writeCopy(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw StoreError(u"A(z) \"%1\" kép nem írható: %2"_s.arg(QDir::toNativeSeparators(path),
                                                                 file.errorString()));
}

QList<PhotoMove> recordedMoves(Database &db, QList<qint64> &rows)
{
    QList<PhotoMove> moves;
    QSqlQuery query = db.query(
        u"SELECT \"Id\", \"Ideiglenes\", \"Kep\" FROM %1 ORDER BY \"Id\""_s.arg(tables::kepcsere));
    while (query.next()) {
        rows << query.value(0).toLongLong();
        moves.append({query.value(1).toString(), query.value(2).toString()});
    }
    return moves;
}

QSet<QString> namedPhotos(Database &db)
{
    QSet<QString> names;
    for (const QString &table : {tables::egyszeru, tables::archiv}) {
        QSqlQuery query =
            db.query(u"SELECT \"Kep1\", \"Kep2\", \"Kep3\", \"Kep4\" FROM %1"_s.arg(table));
        while (query.next()) {
            for (int slot = 0; slot < 4; ++slot)
                names.insert(query.value(slot).toString());
        }
    }
    return names;
}

// The highest record number the register has ever given a property. A store killed before its
// commit gives its number back, and the next property gets it again.
qint64 highestGivenId(Database &db)
{
    if (db.isServer()) {
        QSqlQuery sequence =
            db.query(u"SELECT pg_get_serial_sequence(?, 'rowid')"_s, {tables::egyszeru});
        const QString name = sequence.next() ? sequence.value(0).toString() : QString();
        if (name.isEmpty())
            return 0;
        QSqlQuery query =
            db.query(u"SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM "_s + name);
        return query.next() ? query.value(0).toLongLong() : 0;
    }
    QSqlQuery query =
        db.query(u"SELECT seq FROM sqlite_sequence WHERE name = ?"_s, {tables::egyszeru});
    return query.next() ? query.value(0).toLongLong() : 0;
}

// Temporaries are what a unit left behind before its commit. A photo named after a record number
// never given out is one too (an earlier program put photos in place before the commit): the
// next property would get that number, and with it photos nobody gave it. Photos of numbers
// that were given stay, named or not, as they always have.
void sweep(Database &db, const QString &images)
{
    static const QRegularExpression photoName(u"^(\\d+)-\\d+\\.jpg$"_s);
    const qint64 given = highestGivenId(db);
    QStringList leftovers;
    QStringList strays;
    QDirIterator it(images, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        const QString name = it.nextFileInfo().fileName();
        const QRegularExpressionMatch photo = photoName.match(name);
        if (isTemporaryName(name))
            leftovers << name;
        else if (photo.hasMatch() && photo.captured(1).toLongLong() > given)
            strays << name;
    }
    if (!strays.isEmpty()) {
        const QSet<QString> named = namedPhotos(db);
        for (const QString &name : std::as_const(strays)) {
            if (!named.contains(name))
                leftovers << name;
        }
    }
    for (const QString &name : std::as_const(leftovers))
        QFile::remove(images + name);
    if (!leftovers.isEmpty())
        syncFolder(images);
}

} // namespace

QString folder(Database &db)
{
    return db.isServer() ? serverFolder(db) : datadirectory::imagesDir(db.dataDir());
}

QString localFile(Database &db, const QString &name)
{
    QString path = folder(db) + name;
    if (!db.isServer())
        return path;
    QSqlQuery query =
        db.query(u"SELECT \"Adat\" FROM %1 WHERE \"Kep\" = ?"_s.arg(tables::kepadat), {name});
    if (query.next())
        writeCopy(path, query.value(0).toByteArray());
    else
        QFile::remove(path);
    return path;
}

void put(Database &db, const QString &name, const QByteArray &bytes)
{
    db.query(u"INSERT INTO %1 (\"Kep\", \"Adat\", \"Kivonat\") VALUES (?, ?, ?) ON CONFLICT "
             "(\"Kep\") DO UPDATE SET \"Adat\" = EXCLUDED.\"Adat\", \"Kivonat\" = "
             "EXCLUDED.\"Kivonat\""_s.arg(tables::kepadat),
             {name, bytes, digestOf(bytes)});
}

QString digestOf(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

bool isTemporaryName(const QString &fileName)
{
    static const QRegularExpression temporary(u"^\\.\\d+-\\d+\\.jpg\\.[A-Za-z0-9]+$"_s);
    return temporary.match(fileName).hasMatch();
}

QList<qint64> record(Database &db, const QList<PhotoMove> &moves)
{
    QList<qint64> rows;
    if (db.isServer()) {
        // The bytes go in with the records, so the server has a property's photos exactly when
        // it has the property.
        const QString copies = serverFolder(db);
        for (const PhotoMove &move : moves)
            put(db, move.photo, readFile(copies + move.temporary));
        return rows;
    }
    for (const PhotoMove &move : moves) {
        QSqlQuery query = db.query(
            u"INSERT INTO %1 (\"Ideiglenes\", \"Kep\") VALUES (?, ?)"_s.arg(tables::kepcsere) +
                db.returningRowId(),
            {move.temporary, move.photo});
        rows << db.insertedRowId(query);
    }
    return rows;
}

void finish(Database &db, const QList<qint64> &rows, const QList<PhotoMove> &moves)
{
    if (db.isServer()) {
        try {
            carryOut(serverFolder(db), moves);
        } catch (const StoreError &) {
            // The committed photos are the server's; a copy that could not be kept is fetched
            // again when it is read.
            for (const PhotoMove &move : moves)
                QFile::remove(serverFolder(db) + move.temporary);
        }
        return;
    }
    carryOut(datadirectory::imagesDir(db.dataDir()), moves);
    forget(db, rows);
}

void recover(Database &db)
{
    // The server's photos change in its transactions only; the Images folder here is the
    // embedded register's, whose moves are its own to finish when it is opened again.
    if (db.isServer())
        return;
    const QString images = datadirectory::imagesDir(db.dataDir());
    auto *guard = new FolderGuard(db.dataDir() + u".kepek.lck"_s, &db);
    if (guard->takeAlone()) {
        QList<qint64> rows;
        const QList<PhotoMove> moves = recordedMoves(db, rows);
        carryOut(images, moves);
        forget(db, rows);
        sweep(db, images);
    }
    guard->share();
}

} // namespace photostore
