#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/migration.h"
#include "store/photostore.h"
#include "store/schema.h"
#include "store/selection.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/support/errorof.h"
#include "tests/support/testserver.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(nincs)");
}

// Every row of a table with its row id, each value as text, in row-id order.
QStringList rowsOf(Database &db, const TableDef &table)
{
    QStringList names;
    for (const QString &column : schema::storedColumns(table))
        names << Selection::quoted(column);
    QSqlQuery query = db.query(u"SELECT rowid, %1 FROM %2 ORDER BY rowid"_s.arg(
        names.join(u", "_s), Selection::quoted(table.name)));
    QStringList rows;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i <= names.size(); ++i) {
            const QVariant value = query.value(i);
            values << (value.isNull() ? u"NULL"_s : value.toString());
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

int append(Cursor &cursor, const QVariantMap &values)
{
    cursor.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        cursor.setValue(it.key(), it.value());
    cursor.post();
    return cursor.integer(u"Id"_s);
}

void writePhoto(Database &db, const QString &name, const QByteArray &bytes)
{
    QFile file(datadirectory::imagesDir(db.dataDir()) + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// An embedded register of a working office: properties with photos and accents, one gone
// for good (so the highest number given is past the highest held), one archived, a buyer with
// a request, changed settings.
void fill(Database &local)
{
    Cursor egyszeru(local, tables::egyszeru, true);
    egyszeru.open();
    for (int i = 1; i <= 30; ++i) {
        const int id = append(egyszeru,
                              {{u"Azonosito"_s, u"ÉK-%1"_s.arg(i)},
                               {u"CimVaros"_s, i % 2 ? u"Győr"_s : u"Szeged"_s},
                               {u"Ar"_s, 1000000.5 * i},
                               {u"Web"_s, i % 3 == 0},
                               {u"Kep1"_s, u"%1-1.jpg"_s.arg(i)}});
        QByteArray photo("\xff\xd8\r\n\x1a");
        photo.append('\0');
        photo.append(QByteArray::number(id).repeated(500 + id));
        writePhoto(local, u"%1-1.jpg"_s.arg(id), photo);
    }
    egyszeru.last();
    egyszeru.remove();
    egyszeru.first();
    egyszeru.setValue(u"Kep2"_s, u"1-2.jpg"_s); // named, never stored on this desk
    egyszeru.post();
    Cursor archiv(local, tables::archiv, true);
    archiv.open();
    append(archiv, {{u"Azonosito"_s, u"ARCH-1"_s}, {u"Kep1"_s, u"5-1.jpg"_s}});
    Cursor buyers(local, tables::erdeklodok, true);
    buyers.open();
    append(buyers, {{u"Name"_s, u"Őri Árpád"_s}, {u"IngatlanId"_s, 2.0}});
    Cursor settings(local, tables::defaults, true);
    settings.open();
    settings.first();
    settings.setValue(u"Name"_s, u"Próba Iroda"_s);
    settings.post();
}

// A filled embedded register and a new server database to move it into, dropped afterwards.
struct Move
{
    QTemporaryDir localDir;
    QTemporaryDir serverDir;
    Database local {localDir.path() + u"/"_s, datadirectory::seed, QString()};
    const QString name = testserver::createDatabase();
    std::optional<Database> server;

    Move()
    {
        server.emplace(serverDir.path() + u"/"_s, datadirectory::seed, testserver::uriFor(name));
        datadirectory::prepare(local);
        fill(local);
    }
    ~Move()
    {
        // Closed before it goes, so the drop finds nobody on it.
        server.reset();
        testserver::dropDatabase(name);
    }
};

} // namespace

// Moving an office's embedded register onto its new server.
class TestMigration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(testserver::active(), "runs on the office server only"); }

    // Every table record by record, the record numbers going on where they stood, and the
    // photo bytes; a second move into the same database is refused and changes nothing.
    void sameRegisterOnTheServer()
    {
        Move move;
        Database &local = move.local;
        Database &server = *move.server;

        qint64 lastDone = 0;
        qint64 total = 0;
        const migration::Result result =
            migration::toServer(local, server, [&](qint64 done, qint64 all) {
                lastDone = done;
                total = all;
                return true;
            });
        QVERIFY(!result.stopped);
        QCOMPARE(lastDone, total);
        QCOMPARE(result.rows.value(tables::egyszeru), 29);
        // The archived copy shares its photo with the property it came from.
        QCOMPARE(result.photos, 29);
        QCOMPARE(result.missingPhotos, QStringList {u"1-2.jpg"_s});
        for (const TableDef &table : tables::all()) {
            if (table.name == tables::dtulaj || table.name == tables::kepcsere)
                continue;
            QCOMPARE(rowsOf(server, table), rowsOf(local, table));
        }
        for (int id : {1, 17, 29})
            QCOMPARE(fileBytes(photostore::localFile(server, u"%1-1.jpg"_s.arg(id))),
                     fileBytes(datadirectory::imagesDir(local.dataDir()) + u"%1-1.jpg"_s.arg(id)));

        // Number 30 was given once, so the next property is 31 on the server too, and the
        // archive goes on after its own.
        Cursor egyszeru(server, tables::egyszeru, true);
        egyszeru.open();
        QCOMPARE(append(egyszeru, {{u"Azonosito"_s, u"ÚJ-1"_s}}), 31);
        Cursor archiv(server, tables::archiv, true);
        archiv.open();
        QCOMPARE(append(archiv, {{u"Azonosito"_s, u"ARCH-2"_s}}), 2);

        const QStringList before = rowsOf(server, tables::def(tables::egyszeru));
        const QString refusal = errorOf([&] { migration::toServer(local, server); });
        QVERIFY2(refusal.contains(u"már van nyilvántartás"_s), qPrintable(refusal));
        QCOMPARE(rowsOf(server, tables::def(tables::egyszeru)), before);
    }

    // A move stopped on the way, or one that fails, leaves the server as new: its reference
    // rows and nothing of this register, and it can be tried again.
    void stoppedOrFailedKeepsNothing()
    {
        Move move;
        Database &local = move.local;
        Database &server = *move.server;
        const QStringList settlements = rowsOf(server, tables::def(tables::telepules));

        const migration::Result stopped =
            migration::toServer(local, server, [](qint64 done, qint64) { return done < 10; });
        QVERIFY(stopped.stopped);
        QCOMPARE(Cursor(server, tables::egyszeru, true).recordCount(), 0);
        QCOMPARE(rowsOf(server, tables::def(tables::telepules)), settlements);

        // A photo that cannot be read fails the whole move.
        const QString photo = datadirectory::imagesDir(local.dataDir()) + u"3-1.jpg"_s;
        const QByteArray bytes = fileBytes(photo);
        QVERIFY(QFile::remove(photo));
        QVERIFY(QDir().mkdir(photo));
        const QString failure = errorOf([&] { migration::toServer(local, server); });
        QVERIFY2(failure.contains(u"3-1.jpg"_s), qPrintable(failure));
        QCOMPARE(Cursor(server, tables::egyszeru, true).recordCount(), 0);
        QSqlQuery photos = server.query(u"SELECT COUNT(*) FROM %1"_s.arg(tables::kepadat));
        QVERIFY(photos.next());
        QCOMPARE(photos.value(0).toInt(), 0);
        QVERIFY(QDir().rmdir(photo));
        writePhoto(local, u"3-1.jpg"_s, bytes);
        QCOMPARE(migration::toServer(local, server).rows.value(tables::egyszeru), 29);
    }
};

QTEST_GUILESS_MAIN(TestMigration)
#include "test_migration.moc"
