#include "register/photos.h"
#include "register/photoshrink.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/register/jpegfiles.h"
#include "tests/support/errorof.h"
#include "tests/support/tempdatadir.h"

#include <QDir>
#include <QImage>
#include <QtTest>

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

JpegHeader headerOf(const QString &path)
{
    return jpeg::readHeader(jpegfiles::read(path), path);
}

} // namespace

// The stored copies of picked photos: their size, their format, and what happens to a stored
// photo when a copy fails.
class TestShrink : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data()
    {
        QTest::addColumn<QSize>("picked");
        QTest::addColumn<QSize>("stored");
        QTest::newRow("landscape") << QSize(1024, 768) << QSize(300, 225);
        QTest::newRow("portrait") << QSize(768, 1024) << QSize(225, 300);
        QTest::newRow("square") << QSize(400, 400) << QSize(300, 300);
        QTest::newRow("small stays") << QSize(200, 150) << QSize(200, 150);
        QTest::newRow("exactly 300") << QSize(300, 300) << QSize(300, 300);
        QTest::newRow("299.7 rounds up") << QSize(1000, 999) << QSize(300, 300);
        QTest::newRow("tall by one") << QSize(300, 301) << QSize(299, 300);
        QTest::newRow("half rounds to even, down") << QSize(600, 401) << QSize(300, 200);
        QTest::newRow("half rounds to even, up") << QSize(600, 403) << QSize(300, 202);
        QTest::newRow("camera") << QSize(4000, 3000) << QSize(300, 225);
        QTest::newRow("sliver keeps a pixel") << QSize(1, 1000) << QSize(1, 300);
    }

    void sizes()
    {
        QFETCH(QSize, picked);
        QFETCH(QSize, stored);
        TempDataDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("Images")));
        const QString source = dir.filePath(QStringLiteral("picked.jpg"));
        QVERIFY(jpegfiles::writeJpeg(source, picked.width(), picked.height(),
                                     jpegfiles::solid(200, 40, 90)));
        QVERIFY(headerOf(source).progressive);

        const QString destination = dir.filePath(QStringLiteral("Images/12-1.jpg"));
        shrinkCopy(source, destination);
        const JpegHeader header = headerOf(destination);
        QCOMPARE(header.size, stored);
        QVERIFY(!header.progressive);
        QCOMPARE(header.components, 3);
        const RgbImage decoded = jpeg::decode(jpegfiles::read(destination), destination);
        const std::uint8_t *middle = decoded.row(decoded.height / 2) + 3 * (decoded.width / 2);
        QVERIFY(qAbs(middle[0] - 200) <= 6 && qAbs(middle[1] - 40) <= 6 &&
                qAbs(middle[2] - 90) <= 6);
        QCOMPARE(filesIn(dir.filePath(QStringLiteral("Images"))),
                 QStringList {QStringLiteral("12-1.jpg")});
    }

    void fineDetailAveragesOut()
    {
        TempDataDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("Images")));
        // One-pixel stripes and a one-pixel chequerboard: a copy that samples instead of
        // averaging shows bands or a solid colour; the right copy is an even grey.
        const QList<QPair<QString, jpegfiles::Painter>> patterns {
            {QStringLiteral("stripes"),
             [](int x, int, std::uint8_t *rgb) {
                 rgb[0] = rgb[1] = rgb[2] = x % 2 ? 255 : 0;
             }},
            {QStringLiteral("chequer"),
             [](int x, int y, std::uint8_t *rgb) {
                 rgb[0] = rgb[1] = rgb[2] = (x + y) % 2 ? 255 : 0;
             }},
        };
        for (const auto &pattern : patterns) {
            const QString source = dir.filePath(pattern.first + QStringLiteral(".jpg"));
            QVERIFY(jpegfiles::write(
                source, jpeg::encode(jpegfiles::paint(1600, 1200, pattern.second), 100)));
            const QString destination =
                dir.filePath(QStringLiteral("Images/") + pattern.first + QStringLiteral(".jpg"));
            shrinkCopy(source, destination);
            const RgbImage shrunk = jpeg::decode(jpegfiles::read(destination), destination);
            QCOMPARE(QSize(shrunk.width, shrunk.height), QSize(300, 225));
            const auto [low, high] =
                std::minmax_element(shrunk.pixels.begin(), shrunk.pixels.end());
            QVERIFY2(
                *low >= 100 && *high <= 156,
                qPrintable(QStringLiteral("%1: %2..%3").arg(pattern.first).arg(*low).arg(*high)));
        }

        // A grey picture is stored as a colour JPEG like every other photo.
        QImage grey(640, 480, QImage::Format_Grayscale8);
        grey.fill(100);
        const QString greySource = dir.filePath(QStringLiteral("grey.jpg"));
        QVERIFY(grey.save(greySource, "JPG"));
        QCOMPARE(headerOf(greySource).components, 1);
        shrinkCopy(greySource, dir.filePath(QStringLiteral("Images/grey.jpg")));
        QCOMPARE(headerOf(dir.filePath(QStringLiteral("Images/grey.jpg"))).components, 3);
        QCOMPARE(headerOf(dir.filePath(QStringLiteral("Images/grey.jpg"))).size, QSize(300, 225));
    }

    void restoringOntoItself()
    {
        TempDataDir dir;
        const QString images = dir.filePath(QStringLiteral("Images"));
        QDir().mkpath(images);
        const QString photo = images + QStringLiteral("/5-1.jpg");
        QVERIFY(jpegfiles::writeJpeg(photo, 1024, 768, [](int x, int, std::uint8_t *rgb) {
            rgb[0] = x < 512 ? 250 : 10;
            rgb[1] = 60;
            rgb[2] = x < 512 ? 10 : 250;
        }));
        shrinkCopy(photo, photo);
        QCOMPARE(headerOf(photo).size, QSize(300, 225));
        shrinkCopy(photo, photo);
        QCOMPARE(headerOf(photo).size, QSize(300, 225));
        QVERIFY(!headerOf(photo).progressive);
        const RgbImage kept = jpeg::decode(jpegfiles::read(photo), photo);
        QVERIFY(kept.row(100)[0] > 200 && kept.row(100)[2] < 50); // left half still red
        QVERIFY(kept.row(100)[3 * 299 + 2] > 200); // right half still blue
        QCOMPARE(filesIn(images), QStringList {QStringLiteral("5-1.jpg")});
    }

    void failuresLeaveStoredPhotosAlone()
    {
        TempDataDir dir;
        const QString images = dir.filePath(QStringLiteral("Images"));
        QDir().mkpath(images);
        const QString stored = images + QStringLiteral("/7-1.jpg");
        QVERIFY(jpegfiles::writeJpeg(stored, 300, 225));
        const QByteArray before = jpegfiles::read(stored);

        const QString notes = dir.filePath(QStringLiteral("notes.jpg"));
        QVERIFY(jpegfiles::write(notes, "Ez egy szoveg, nem kep.\n"));
        QString message = errorOf([&] { shrinkCopy(notes, stored); });
        QVERIFY2(message.contains(QStringLiteral("notes.jpg")) &&
                     message.contains(QStringLiteral("JPEG")),
                 qPrintable(message));

        QByteArray camera = jpeg::encode(jpegfiles::paint(800, 600, jpegfiles::solid(1, 2, 3)), 90);
        const QString cut = dir.filePath(QStringLiteral("cut.jpg"));
        QVERIFY(jpegfiles::write(cut, camera.left(camera.size() / 2)));
        message = errorOf([&] { shrinkCopy(cut, stored); });
        QVERIFY2(message.contains(QStringLiteral("cut.jpg")), qPrintable(message));

        const QString empty = dir.filePath(QStringLiteral("empty.jpg"));
        QVERIFY(jpegfiles::write(empty, QByteArray()));
        QVERIFY(errorOf([&] { shrinkCopy(empty, stored); }).contains(QStringLiteral("empty.jpg")));

        message = errorOf([&] { shrinkCopy(dir.filePath(QStringLiteral("nincs.jpg")), stored); });
        QVERIFY2(message.contains(QStringLiteral("nincs.jpg")), qPrintable(message));

        // A damaged photo already in the folder, stored again onto itself, stays as it was.
        const QString damaged = images + QStringLiteral("/8-1.jpg");
        QVERIFY(jpegfiles::write(damaged, camera.left(100)));
        QVERIFY(!errorOf([&] { shrinkCopy(damaged, damaged); }).isEmpty());
        QCOMPARE(jpegfiles::read(damaged), camera.left(100));

        QCOMPARE(jpegfiles::read(stored), before);
        QCOMPARE(filesIn(images),
                 (QStringList {QStringLiteral("7-1.jpg"), QStringLiteral("8-1.jpg")}));

        // Without the Images folder nothing can be stored, and the message says where.
        const QString source = dir.filePath(QStringLiteral("ok.jpg"));
        QVERIFY(jpegfiles::writeJpeg(source, 640, 480));
        message = errorOf(
            [&] { shrinkCopy(source, dir.filePath(QStringLiteral("Missing/Images/9-1.jpg"))); });
        QVERIFY2(message.contains(QStringLiteral("Images")) &&
                     message.contains(QStringLiteral("9-1.jpg")),
                 qPrintable(message));
    }

    void pendingCopies()
    {
        TempDataDir dir;
        const QString images = dir.filePath(QStringLiteral("Images"));
        QDir().mkpath(images);
        const QString source = dir.filePath(QStringLiteral("p.jpg"));
        QVERIFY(jpegfiles::writeJpeg(source, 800, 600));
        const QString destination = images + QStringLiteral("/3-1.jpg");
        {
            PendingPhoto dropped(source, destination);
            QVERIFY(!QFile::exists(destination));
            QCOMPARE(filesIn(images).size(), 1); // the temporary, next to where it will go
        }
        QCOMPARE(filesIn(images), QStringList());

        std::vector<PendingPhoto> pending;
        pending.emplace_back(source, destination);
        pending.emplace_back(source, images + QStringLiteral("/3-2.jpg"));
        QVERIFY(!QFile::exists(destination));
        for (PendingPhoto &photo : pending)
            photo.place();
        pending.clear();
        QCOMPARE(filesIn(images),
                 (QStringList {QStringLiteral("3-1.jpg"), QStringLiteral("3-2.jpg")}));
        QCOMPARE(headerOf(destination).size, QSize(300, 225));
    }

    void storingAPropertysPhotos()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor egyszeru(db, tables::egyszeru, true);
        egyszeru.open();
        const QString images = imagesFolder(egyszeru.dataDir());
        QVERIFY(QDir().mkpath(images));
        const QString a = dir.filePath(QStringLiteral("a.jpg"));
        const QString b = dir.filePath(QStringLiteral("b.jpg"));
        QVERIFY(jpegfiles::writeJpeg(a, 1024, 768, jpegfiles::solid(255, 0, 0)));
        QVERIFY(jpegfiles::writeJpeg(b, 600, 800, jpegfiles::solid(0, 0, 255)));
        QCOMPARE(photoFileName(57, 1), QStringLiteral("57-1.jpg"));
        QCOMPARE(photoFileName(57, 4), QStringLiteral("57-4.jpg"));

        auto newProperty = [&] {
            egyszeru.append();
            egyszeru.setValue(QStringLiteral("Azonosito"), QStringLiteral("P"));
            egyszeru.post();
            egyszeru.edit();
            return egyszeru.integer(QStringLiteral("Id"));
        };
        auto kep = [&](int slot) {
            return egyszeru.text(QStringLiteral("Kep%1").arg(slot));
        };

        // Two photos: two names, two files; the list may hold more than the count says.
        int id = newProperty();
        storePhotos(egyszeru, {a, b, a}, 2);
        egyszeru.post();
        QCOMPARE(kep(1), photoFileName(id, 1));
        QCOMPARE(kep(2), photoFileName(id, 2));
        QCOMPARE(kep(3), QString());
        QCOMPARE(kep(4), QString());
        QCOMPARE(headerOf(photoPath(egyszeru.dataDir(), kep(1))).size, QSize(300, 225));
        QCOMPARE(headerOf(photoPath(egyszeru.dataDir(), kep(2))).size, QSize(225, 300));
        QVERIFY(!QFile::exists(photoPath(egyszeru.dataDir(), photoFileName(id, 3))));

        // The same file picked twice makes two photos alike; an empty entry leaves its slot empty.
        id = newProperty();
        storePhotos(egyszeru, {b, QString(), b, b}, 4);
        egyszeru.post();
        QCOMPARE(kep(1), photoFileName(id, 1));
        QCOMPARE(kep(2), QString());
        QCOMPARE(kep(3), photoFileName(id, 3));
        QCOMPARE(kep(4), photoFileName(id, 4));
        QCOMPARE(jpegfiles::read(photoPath(egyszeru.dataDir(), kep(1))),
                 jpegfiles::read(photoPath(egyszeru.dataDir(), kep(4))));

        // One unreadable photo: none of the property's photos is put in place.
        const QString bad = dir.filePath(QStringLiteral("rossz.jpg"));
        QVERIFY(jpegfiles::write(bad, "nem kep"));
        id = newProperty();
        const QString message = errorOf([&] { storePhotos(egyszeru, {a, bad}, 2); });
        QVERIFY2(message.contains(QStringLiteral("rossz.jpg")), qPrintable(message));
        egyszeru.cancel();
        QVERIFY(!QFile::exists(photoPath(egyszeru.dataDir(), photoFileName(id, 1))));
        QCOMPARE(filesIn(images).size(), 5);
    }
};

QTEST_MAIN(TestShrink)
#include "test_shrink.moc"
