#include "register/propertystore.h"
#include "register/workingowners.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/registerstate.h"
#include "store/storeerror.h"
#include "tests/register/jpegfiles.h"
#include "tests/support/tempdatadir.h"

#include <QDir>
#include <QProcess>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

int count(Database &db, const QString &sql)
{
    QSqlQuery query(db.connection());
    query.exec(sql);
    return query.next() ? query.value(0).toInt() : -1;
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0;
}

// A small file system of its own, mounted over a folder for the length of a test.
class SmallDisk
{
public:
    SmallDisk(const QString &folder, const QString &size)
        : m_folder(folder)
    {
        m_mounted =
            run(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size="_s + size, u"tmpfs"_s, folder});
    }
    ~SmallDisk()
    {
        if (m_mounted)
            run(u"umount"_s, {m_folder});
    }
    bool mounted() const { return m_mounted; }

    // Leaves about `room` bytes free.
    bool fillLeaving(qint64 room)
    {
        QFile filler(m_folder + u"/kitoltes"_s);
        if (!filler.open(QIODevice::Append))
            return false;
        const QByteArray block(4096, 'x');
        QStorageInfo storage(m_folder);
        while (storage.bytesAvailable() > room + block.size()) {
            if (filler.write(block) != block.size() || !filler.flush())
                break;
            storage.refresh();
        }
        return true;
    }
    void empty() { QFile::remove(m_folder + u"/kitoltes"_s); }

private:
    QString m_folder;
    bool m_mounted = false;
};

RgbImage noisy(int width, int height, std::uint32_t seed)
{
    return jpegfiles::paint(width, height, [&seed](int, int, std::uint8_t *rgb) {
        seed = seed * 1664525u + 1013904223u;
        rgb[0] = std::uint8_t(seed >> 24);
        rgb[1] = std::uint8_t(seed >> 16);
        rgb[2] = std::uint8_t(seed >> 8);
    });
}

// What one try at storing came to: the new property's id, or the message it was refused
// with.
struct StoreTry
{
    bool filled = false;
    int id = 0;
    QString message;
};

// A data directory on a small disk of its own and four large photos to store there.
struct FullDisk
{
    TempDataDir dir;
    SmallDisk disk {QDir::cleanPath(dir.path()), u"6m"_s};
    QTemporaryDir sources;
    QStringList photos;
    Database db {dir.path(), datadirectory::seed};
    RegisterState c {db};
    const QString images = datadirectory::imagesDir(dir.path());

    FullDisk() { datadirectory::prepare(db); }

    bool writePhotos()
    {
        for (int i = 0; i < 4; ++i) {
            photos << sources.filePath(u"kep%1.jpg"_s.arg(i));
            if (!jpegfiles::write(photos.last(), jpeg::encode(noisy(1200, 900, i + 1), 95)))
                return false;
        }
        return true;
    }

    // Stores a property with two owners, the photos and a detailed description while about
    // `room` bytes are free.
    StoreTry storeLeaving(qint64 room)
    {
        emptyWorkingOwners(c.tdTulaj);
        c.tdTulaj.open();
        for (const char *name : {"Kovács Éva", "Nagy Pál"}) {
            c.tdTulaj.append();
            c.tdTulaj.setValue(u"Nev"_s, QString::fromUtf8(name));
            c.tdTulaj.post();
        }
        StoreTry result;
        result.filled = disk.fillLeaving(room);
        NewProperty property;
        property.fields = {{u"Azonosito"_s, u"TELE%1"_s.arg(room)},
                           {u"TipusText"_s, u"Lakás"_s},
                           {u"Ar"_s, 25000000},
                           {u"CimVaros"_s, u"Szeged"_s},
                           {u"CimMegye"_s, u"Csongrád"_s}};
        property.photos = photos;
        property.photoCount = 4;
        property.detailed = true;
        try {
            result.id = storeNewProperty(c, property);
        } catch (const StoreError &error) {
            result.message = error.message();
        }
        disk.empty();
        return result;
    }
};

} // namespace

// Storing a property where the disk fills up on the way.
class TestStoreProperty : public QObject
{
    Q_OBJECT

private slots:
    // Working list to register, register to archive and back to a working list: every field,
    // accents and all, each copy linked to its own record and nothing else moved.
    void ownerCopies()
    {
        TempDataDir dir;
        Database db(dir.path());
        RegisterState c(db);
        c.tdTulaj.open();
        const QStringList first {u"Árvíztűrő Tükörfúrógép"_s,
                                 u"9999"_s,
                                 u"Őriszentpéter"_s,
                                 u"Fő utca 1."_s,
                                 u"AB123456"_s,
                                 u"Szűcs Ödön"_s,
                                 u"1/2"_s,
                                 u"+36 30 123 4567"_s};
        for (const QString &name : {first.first(), u"Második Tulaj"_s}) {
            c.tdTulaj.append();
            for (int i = 0; i < int(std::size(ownerFields)); ++i)
                c.tdTulaj.setValue(QString::fromLatin1(ownerFields[i]),
                                   i == 0 ? name : first.at(i));
            c.tdTulaj.post();
        }
        c.tdTulaj.first();
        c.tTulajdonos.open();
        copyOwnerRows(c.tdTulaj, c.tTulajdonos, 7);
        QCOMPARE(c.tdTulaj.recordCount(), 2);
        QCOMPARE(count(db, u"SELECT COUNT(*) FROM tulajdonos WHERE EgyszeruId = 7"_s), 2);

        c.tArchivTulaj.open();
        copyOwnerRows(c.tTulajdonos, c.tArchivTulaj, 3);
        QCOMPARE(count(db, u"SELECT COUNT(*) FROM archivtulaj WHERE EgyszeruId = 3"_s), 2);
        QCOMPARE(count(db, u"SELECT COUNT(*) FROM tulajdonos"_s), 2);

        c.modifyWorkingOwners.open();
        copyOwnerRows(c.tArchivTulaj, c.modifyWorkingOwners, std::nullopt);
        QCOMPARE(c.modifyWorkingOwners.recordCount(), 2);
        const Record back = c.modifyWorkingOwners.recordAt(0);
        for (int i = 0; i < int(std::size(ownerFields)); ++i)
            QCOMPARE(back.value(QString::fromLatin1(ownerFields[i])).toString(), first.at(i));
        // An empty list copies nothing.
        emptyWorkingOwners(c.tdTulaj);
        copyOwnerRows(c.tdTulaj, c.tTulajdonos, 8);
        QCOMPARE(count(db, u"SELECT COUNT(*) FROM tulajdonos WHERE EgyszeruId = 8"_s), 0);
    }

    // One check serves the new property and the modify window, and it compares identifiers as
    // the table keeps them: cut to the field's width, letters outside Windows-1250 as "?".
    void identifierCheckAsStored()
    {
        TempDataDir dir;
        Database db(dir.path());
        RegisterState c(db);
        c.tEgyszeru.open();
        auto property = [](const QString &identifier) {
            NewProperty p;
            p.fields = {{u"Azonosito"_s, identifier},
                        {u"TipusText"_s, u"Lakás"_s},
                        {u"Ar"_s, 18000000},
                        {u"CimVaros"_s, u"Szeged"_s},
                        {u"CimMegye"_s, u"Csongrád"_s}};
            return p;
        };
        const int cyrillic = storeNewProperty(c, property(u"Ж-1"_s));
        const int longOne = storeNewProperty(c, property(u"HOSSZÚ-AZONOSÍTÓ-12345"_s));
        QCOMPARE(count(db, u"SELECT COUNT(*) FROM egyszeru WHERE Azonosito = '?-1'"_s), 1);

        for (const QString &again : {u"ж-1"_s, u"?-1"_s, u"hosszú-azonosító-1234XYZ"_s}) {
            const std::optional<CheckFailure> refused =
                checkNewProperty(property(again), c.tEgyszeru);
            QVERIFY2(refused.has_value(), qPrintable(again));
            QCOMPARE(refused->message, u"Van már ilyen azonosító!"_s);
            QCOMPARE(refused->focus, u"nAzonosito"_s);
        }
        // The check leaves what it looked for on the shared cursor, with filtering off.
        QCOMPARE(c.tEgyszeru.filterText(), u"Azonosito = 'hosszú-azonosító-123'"_s);
        QVERIFY(!c.tEgyszeru.filtered());
        QCOMPARE(c.tEgyszeru.recordCount(), 2);
        QVERIFY(!checkNewProperty(property(u"Ж-2"_s), c.tEgyszeru).has_value());
        // A prefix constant never stands for a whole identifier.
        QVERIFY(!checkNewProperty(property(u"HOSSZ*"_s), c.tEgyszeru).has_value());

        QVERIFY(!identifierTaken(db, u"ж-1"_s, cyrillic));
        QVERIFY(identifierTaken(db, u"ж-1"_s, longOne));
        QVERIFY(identifierTaken(db, u"Hosszú-Azonosító-12345"_s, cyrillic));
        QVERIFY(!identifierTaken(db, u"Hosszú-Azonosító-12"_s, cyrillic));
    }

    // From no room at all to enough: each try either stores the whole property or says the
    // disk is full and leaves nothing of it.
    void fullDisk_data()
    {
        QTest::addColumn<qint64>("room");
        for (const qint64 room :
             {0LL, 4096LL, 16384LL, 40000LL, 90000LL, 150000LL, 400000LL, 2000000LL})
            QTest::addRow("%lld bytes free", static_cast<long long>(room)) << room;
    }

    void fullDisk()
    {
        QFETCH(qint64, room);
        FullDisk f;
        if (!f.disk.mounted())
            QSKIP("A small tmpfs cannot be mounted here (needs root and mount rights): the "
                  "full-disk case is not tried.");
        QVERIFY(f.writePhotos());
        const int before = count(f.db, u"SELECT COUNT(*) FROM egyszeru"_s);
        const QStringList filesBefore = QDir(f.images).entryList(QDir::Files | QDir::Hidden);
        const StoreTry result = f.storeLeaving(room);
        QVERIFY(result.filled);

        if (result.message.isEmpty()) {
            QCOMPARE(count(f.db, u"SELECT COUNT(*) FROM egyszeru"_s), before + 1);
            QCOMPARE(
                count(f.db,
                      u"SELECT COUNT(*) FROM tulajdonos WHERE EgyszeruId = %1"_s.arg(result.id)),
                2);
            QCOMPARE(
                count(f.db,
                      u"SELECT COUNT(*) FROM reszletes WHERE EgyszeruId = %1"_s.arg(result.id)),
                1);
            for (int slot = 1; slot <= 4; ++slot)
                QVERIFY(QFile::exists(f.images + u"%1-%2.jpg"_s.arg(result.id).arg(slot)));
        } else {
            QVERIFY2(result.message.contains(u"nincs elég szabad hely a lemezen"_s),
                     qPrintable(result.message));
            QCOMPARE(count(f.db, u"SELECT COUNT(*) FROM egyszeru"_s), before);
            QCOMPARE(count(f.db,
                           QString::fromUtf8("SELECT COUNT(*) FROM tulajdonos WHERE EgyszeruId "
                                             "NOT IN (SELECT Id FROM egyszeru)")),
                     0);
            QCOMPARE(count(f.db,
                           QString::fromUtf8("SELECT COUNT(*) FROM reszletes WHERE EgyszeruId "
                                             "NOT IN (SELECT Id FROM egyszeru)")),
                     0);
            QCOMPARE(QDir(f.images).entryList(QDir::Files | QDir::Hidden), filesBefore);
        }
        QCOMPARE(count(f.db, u"SELECT COUNT(*) FROM kepcsere"_s), 0);
    }

    // The tries above can only prove something if the disk really runs out, and really has
    // room at the end.
    void noRoomRefusesAndRoomEnoughStores()
    {
        FullDisk f;
        if (!f.disk.mounted())
            QSKIP("A small tmpfs cannot be mounted here (needs root and mount rights): the "
                  "full-disk case is not tried.");
        QVERIFY(f.writePhotos());
        const StoreTry none = f.storeLeaving(0);
        QVERIFY(none.filled);
        QVERIFY(!none.message.isEmpty());
        const StoreTry enough = f.storeLeaving(2000000);
        QVERIFY(enough.filled);
        QVERIFY2(enough.message.isEmpty(), qPrintable(enough.message));
    }
};

QTEST_GUILESS_MAIN(TestStoreProperty)
#include "test_storeproperty.moc"
