#include "register/jpegcodec.h"
#include "register/kepmegtekintes.h"
#include "register/photofiledialog.h"
#include "register/photoshrink.h"
#include "store/storeerror.h"
#include "tests/register/jpegfiles.h"
#include "tests/support/errorof.h"
#include "tests/support/tempdatadir.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

// A few hundred bytes whose frame header claims `width` by `height` pixels: a small picture
// with the sizes in its start-of-frame segment rewritten, as a hostile file would be made.
QByteArray claimingSize(int width, int height, bool progressive)
{
    QByteArray bytes =
        jpeg::encode(jpegfiles::paint(16, 16, jpegfiles::solid(10, 200, 30)), 75, progressive);
    const char frame = progressive ? char(0xC2) : char(0xC0);
    const qsizetype at = bytes.indexOf(QByteArray("\xFF") + frame);
    if (at < 0)
        return {};
    bytes[at + 5] = char(height >> 8);
    bytes[at + 6] = char(height & 0xFF);
    bytes[at + 7] = char(width >> 8);
    bytes[at + 8] = char(width & 0xFF);
    return bytes;
}

// Detail everywhere, so every part of the picture needs its own coded data.
RgbImage noisy(int width, int height)
{
    std::uint32_t state = 99;
    return jpegfiles::paint(width, height, [&state](int x, int y, std::uint8_t *rgb) {
        state = state * 1664525u + 1013904223u;
        rgb[0] = std::uint8_t(x * 7 + (state >> 24));
        rgb[1] = std::uint8_t(y * 5);
        rgb[2] = std::uint8_t(state >> 16);
    });
}

} // namespace

// Pictures a user may pick that are not what they seem: sizes a header lies about, files cut
// short, and the viewer's share of a large picture.
class TestJpegCodec : public QObject
{
    Q_OBJECT

private slots:
    void refusedBeforeDecoding()
    {
        TempDataDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Images"))));
        const QString bomb = dir.filePath(QStringLiteral("bomba.jpg"));
        const QByteArray bytes = claimingSize(30000, 30000, true);
        QVERIFY(!bytes.isEmpty() && bytes.size() < 1500);
        QVERIFY(jpegfiles::write(bomb, bytes));

        for (const QString &message :
             {errorOf([&] { jpeg::readHeader(bytes, bomb); }),
              errorOf([&] { jpeg::decode(bytes, bomb, QSize(300, 300)); }),
              errorOf([&] { shrinkCopy(bomb, dir.filePath(QStringLiteral("Images/1-1.jpg"))); }),
              errorOf([&] { TfKepmegtekint().loadPicture(bomb); })}) {
            QVERIFY2(message.contains(QStringLiteral("bomba.jpg")) &&
                         message.contains(QStringLiteral("túl nagy")),
                     qPrintable(message));
        }
        QCOMPARE(QDir(dir.filePath(QStringLiteral("Images")))
                     .entryList(QDir::Files | QDir::Hidden)
                     .size(),
                 0);

        // The file dialog's preview says it has none rather than decoding it.
        PhotoFileDialog dialog;
        dialog.setDirectory(dir.path());
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QStringLiteral("bomba.jpg"));
        QCOMPARE(dialog.preview()->text(), QStringLiteral("Nincs előnézet"));
        QVERIFY(dialog.preview()->pixmap().isNull());

        // A baseline header lying the same way, and one just over the limit, fare no better;
        // one within it is read.
        QVERIFY(errorOf([] {
                    jpeg::readHeader(claimingSize(30000, 30000, false), "a.jpg");
                }).contains(QStringLiteral("túl nagy")));
        QVERIFY(errorOf([] {
                    jpeg::readHeader(claimingSize(12000, 10001, true), "b.jpg");
                }).contains(QStringLiteral("túl nagy")));
        QCOMPARE(jpeg::readHeader(claimingSize(12000, 10000, true), "c.jpg").size,
                 QSize(12000, 10000));
    }

    void damagedDataRefused()
    {
        TempDataDir dir;
        const QString images = dir.filePath(QStringLiteral("Images"));
        QVERIFY(QDir().mkpath(images));
        const QString stored = images + QStringLiteral("/5-1.jpg");
        for (const bool progressive : {false, true}) {
            const QByteArray whole = jpeg::encode(noisy(640, 480), 90, progressive);
            QCOMPARE(jpeg::decode(whole, "ép.jpg").width, 640);

            // Cut in the middle and closed with an end marker, so it does not look cut short.
            const QString cut = dir.filePath(QStringLiteral("csonka.jpg"));
            QVERIFY(jpegfiles::write(cut, whole.left(whole.size() * 6 / 10) + "\xFF\xD9"));
            QString message = errorOf([&] { shrinkCopy(cut, stored); });
            QVERIFY2(message.contains(QStringLiteral("csonka.jpg")) &&
                         message.contains(QStringLiteral("sérült")),
                     qPrintable(message));

            // Cut with no end marker at all.
            QVERIFY(jpegfiles::write(cut, whole.left(whole.size() * 6 / 10)));
            message = errorOf([&] { shrinkCopy(cut, stored); });
            QVERIFY2(message.contains(QStringLiteral("csonka.jpg")), qPrintable(message));

            // Stray bytes between two segments of the header.
            QByteArray stray = whole;
            stray.insert(stray.indexOf("\xFF\xDA"), "\x12\x34\x56");
            QVERIFY(errorOf([&] {
                        jpeg::decode(stray, "ide.jpg", QSize(300, 225));
                    }).contains(QStringLiteral("ide.jpg")));
        }
        QVERIFY(!QFile::exists(stored));
        QCOMPARE(QDir(images).entryList(QDir::Files | QDir::Hidden).size(), 0);
    }

    void viewerDecodesOnlyWhatItShows()
    {
        TempDataDir dir;
        // Four quadrants; the window shows the top left 300 by 300 uncut.
        const QString path = dir.filePath(QStringLiteral("nagy.jpg"));
        QVERIFY(jpegfiles::writeJpeg(path, 1000, 700, [](int x, int y, std::uint8_t *rgb) {
            rgb[0] = x < 500 ? 250 : 0;
            rgb[1] = y < 350 ? 250 : 0;
            rgb[2] = 0;
        }));
        const RgbImage corner = jpeg::decodeTopLeft(jpegfiles::read(path), path, QSize(300, 300));
        QCOMPARE(corner.width, 300);
        QCOMPARE(corner.height, 300);
        const RgbImage full = jpeg::decode(jpegfiles::read(path), path);
        for (int y : {0, 150, 299}) {
            for (int x : {0, 150, 299}) {
                for (int c = 0; c < 3; ++c)
                    QCOMPARE(corner.row(y)[3 * x + c], full.row(y)[3 * x + c]);
            }
        }

        TfKepmegtekint viewer;
        viewer.loadPicture(path);
        const QPixmap shown = viewer.findChild<QLabel *>(QStringLiteral("kKep"))->pixmap();
        QCOMPARE(shown.size(), QSize(300, 300));

        // A picture smaller than the window is shown whole.
        const QString small = dir.filePath(QStringLiteral("kicsi.jpg"));
        QVERIFY(jpegfiles::writeJpeg(small, 120, 90));
        QCOMPARE(jpeg::decodeTopLeft(jpegfiles::read(small), small, QSize(300, 300)).width, 120);
        viewer.loadPicture(small);
        QCOMPARE(viewer.findChild<QLabel *>(QStringLiteral("kKep"))->pixmap().size(),
                 QSize(120, 90));
    }
};

QTEST_MAIN(TestJpegCodec)
#include "test_jpegcodec.moc"
