#include "register/photos.h"
#include "register/photoshrink.h"
#include "register/propertystore.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/filter.h"
#include "store/photostore.h"
#include "store/registerstate.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/register/jpegfiles.h"
#include "tests/support/errorof.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(nincs)");
}

// What the server keeps of its photos: name to bytes, with each digest checked on the way.
QMap<QString, QByteArray> serverPhotos(Database &db)
{
    QMap<QString, QByteArray> photos;
    QSqlQuery query =
        db.query(u"SELECT \"Kep\", \"Adat\", \"Kivonat\" FROM %1"_s.arg(tables::kepadat));
    while (query.next()) {
        const QByteArray bytes = query.value(1).toByteArray();
        if (photostore::digestOf(bytes) == query.value(2).toString())
            photos.insert(query.value(0).toString(), bytes);
        else
            photos.insert(query.value(0).toString(), "(rossz kivonat)");
    }
    return photos;
}

QString photoOf(Database &db, int id, int slot)
{
    Cursor property(db, tables::egyszeru, true);
    property.open();
    return property.locate(filters::withId(id)) ? property.text(u"Kep%1"_s.arg(slot)) : QString();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

// This workstation: a data directory of its own on a fresh server database.
struct Desk
{
    TempDataDir data;
    Database db {data.path(), datadirectory::seed};
    // Ready as the program makes it before any window reads it.
    bool prepared = (datadirectory::prepare(db), true);
    RegisterState c {db};
};

} // namespace

// Photos stored at one workstation of the office are at every other one, byte for byte, with
// no folder shared between them: the server keeps them with their records.
class TestOfficePhotos : public QObject
{
    Q_OBJECT

    QTemporaryDir m_sources;

    QString source(const QString &name, int width, int height, const jpegfiles::Painter &painter)
    {
        const QString path = m_sources.filePath(name);
        if (!jpegfiles::writeJpeg(path, width, height, painter))
            return QString();
        return path;
    }

private slots:
    void initTestCase() { QVERIFY2(testserver::active(), "runs on the office server only"); }

    void storedHereShownThere()
    {
        Desk desk;
        Database &here = desk.db;
        RegisterState &c = desk.c;
        const QString red = source(u"piros.jpg"_s, 1200, 900, jpegfiles::solid(200, 30, 30));
        const QString blue = source(u"kek.jpg"_s, 600, 800, jpegfiles::solid(30, 30, 200));
        const QString green = source(u"zold.jpg"_s, 900, 900, jpegfiles::solid(30, 200, 30));
        QVERIFY(!red.isEmpty() && !blue.isEmpty() && !green.isEmpty());

        NewProperty property;
        property.fields = {{u"Azonosito"_s, u"KEP-1"_s}, {u"CimVaros"_s, u"Szeged"_s}};
        property.photos = {red, blue};
        property.photoCount = 2;
        const int id = storeNewProperty(c, property);
        QCOMPARE(photoOf(here, id, 1), photoFileName(id, 1));

        // Nothing of it went into this desk's own Images folder, which stays the embedded
        // register's.
        QVERIFY(filesIn(datadirectory::imagesDir(desk.data.path())).isEmpty());
        QMap<QString, QByteArray> stored = serverPhotos(here);
        QCOMPARE(stored.keys(), (QStringList {photoFileName(id, 1), photoFileName(id, 2)}));
        QCOMPARE(stored.value(photoFileName(id, 1)), shrunkJpeg(fileBytes(red), red));
        QCOMPARE(stored.value(photoFileName(id, 2)), shrunkJpeg(fileBytes(blue), blue));

        // Another desk, a data directory of its own.
        QTemporaryDir otherDir;
        Database there(otherDir.path() + u"/"_s);
        datadirectory::prepare(there);
        QCOMPARE(fileBytes(photostore::localFile(there, photoOf(there, id, 2))),
                 stored.value(photoFileName(id, 2)));

        // There the first photo is replaced and the second kept, as the modify window hands
        // them over: the kept one from the copy it was shown.
        RegisterState other(there);
        QVERIFY(other.tEgyszeru.locate(filters::withId(id)));
        PropertyChanges changes;
        changes.photos = {green, photostore::localFile(there, photoFileName(id, 2))};
        changes.photoCount = 2;
        changes.id = id;
        changes.readVersion = other.tEgyszeru.rowVersion();
        saveModifiedProperty(other, changes);
        stored = serverPhotos(here);
        QCOMPARE(stored.value(photoFileName(id, 1)), shrunkJpeg(fileBytes(green), green));
        QCOMPARE(fileBytes(photostore::localFile(here, photoFileName(id, 1))),
                 stored.value(photoFileName(id, 1)));
        QCOMPARE(jpeg::readHeader(stored.value(photoFileName(id, 2)), u"2"_s).size,
                 QSize(225, 300));

        // A copy is never trusted over the server: a photo gone there is gone here.
        const QString copy = photostore::localFile(here, photoFileName(id, 2));
        QVERIFY(QFile::exists(copy));
        here.query(u"DELETE FROM %1 WHERE \"Kep\" = ?"_s.arg(tables::kepadat),
                   {photoFileName(id, 2)});
        QVERIFY(!QFile::exists(photostore::localFile(here, photoFileName(id, 2))));
    }

    // A store that fails on its last photo keeps neither the property nor the photos read
    // before it.
    void failedStoreKeepsNoPhoto()
    {
        Desk desk;
        Database &db = desk.db;
        RegisterState &c = desk.c;
        const QString good = source(u"jo.jpg"_s, 800, 600, jpegfiles::solid(10, 120, 60));
        const QString bad = m_sources.filePath(u"rossz.jpg"_s);
        QVERIFY(jpegfiles::write(bad, "nem kép"));
        NewProperty property;
        property.fields = {{u"Azonosito"_s, u"KEP-2"_s}};
        property.photos = {good, bad};
        property.photoCount = 2;
        QVERIFY(!errorOf([&] { storeNewProperty(c, property); }).isEmpty());
        QVERIFY(serverPhotos(db).isEmpty());
        QCOMPARE(Cursor(db, tables::egyszeru, true).recordCount(), 0);
        QVERIFY(filesIn(photostore::folder(db)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOfficePhotos)
#include "test_officephotos.moc"
