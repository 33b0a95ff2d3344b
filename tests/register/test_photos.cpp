#include "register/kepmegtekintes.h"
#include "register/photofiledialog.h"
#include "register/photogroup.h"
#include "register/registerwindows.h"
#include "register/ujkep.h"
#include "tests/register/jpegfiles.h"
#include "tests/register/windowchecks.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/typing.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

namespace {

// The photo windows as start-up wires them.
struct PhotoWindows
{
    RegisterWindows windows;
    TfKepmegtekint viewer;
    TfUjKep ujKep {windows};

    PhotoWindows()
    {
        windows.fUjKep = &ujKep;
        windows.fKepmegtekint = &viewer;
    }

    QPushButton *button(const char *name) const
    {
        return ujKep.findChild<QPushButton *>(QString::fromLatin1(name));
    }
    QListWidget *list() const
    {
        return ujKep.findChild<QListWidget *>(QStringLiteral("pKepLista"));
    }
    QString count() const { return ujKep.findChild<QLabel *>(QStringLiteral("pKepszam"))->text(); }
    void select(int row) const
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->item(row)).center());
    }
};

struct DialogSeen
{
    QString title;
    QStringList filters;
    bool previewShown = false;
};

// Picks `path` in the next file dialog, as a user would: the folder, the file, "Megnyitás".
void pickInFileDialog(DialogAnswerer &answerer, const QString &path, DialogSeen *seen = nullptr)
{
    answerer.handle([path, seen](QWidget *window) {
        auto *dialog = qobject_cast<QFileDialog *>(window);
        auto closeLeftOpen = qScopeGuard([window] {
            if (window->isVisible())
                window->close();
        });
        QVERIFY(dialog);
        if (seen) {
            seen->title = dialog->windowTitle();
            seen->filters = dialog->nameFilters();
        }
        // Typed into the name box as a user would: this does not depend on how far the dialog
        // has got with listing the folder.
        dialog->setDirectory(QFileInfo(path).absolutePath());
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setFocus();
        name->selectAll();
        typeText(name, QFileInfo(path).absoluteFilePath());
        if (seen) {
            auto *preview = dialog->findChild<QLabel *>(QStringLiteral("pKepElonezet"));
            QTRY_VERIFY(!preview->pixmap().isNull());
            seen->previewShown =
                preview->pixmap().width() <= 200 && preview->pixmap().height() <= 200;
        }
        QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open),
                          Qt::LeftButton);
    });
}

} // namespace

// The photo list, its file dialog and the viewer, driven through their controls.
class TestPhotos : public QObject
{
    Q_OBJECT

private slots:
    void pickingAndRemoving()
    {
        TempDataDir dir;
        PhotoWindows w;
        w.ujKep.show();
        QCOMPARE(w.ujKep.windowTitle(), QStringLiteral("Pelmora - Képek szerkesztése"));
        QCOMPARE(w.count(), QStringLiteral("0"));
        QStringList photos;
        for (int i = 1; i <= 5; ++i) {
            photos << dir.filePath(QStringLiteral("kep%1.jpg").arg(i));
            QVERIFY(
                jpegfiles::writeJpeg(photos.last(), 640, 480, jpegfiles::solid(40 * i, 80, 120)));
        }

        DialogAnswerer answerer;
        DialogSeen seen;
        pickInFileDialog(answerer, photos[0], &seen);
        QTest::mouseClick(w.button("pHozzaad"), Qt::LeftButton);
        QCOMPARE(seen.title, QStringLiteral("Pelmora - Kép tallozása"));
        QCOMPARE(seen.filters, QStringList {QStringLiteral("JPEG Image File (*.jpg)")});
        QVERIFY(seen.previewShown);
        QCOMPARE(w.ujKep.photos(), QStringList {photos[0]});
        QCOMPARE(w.count(), QStringLiteral("1"));

        // The dialog comes back where the last photo was picked; cancelling it adds nothing.
        QString startFolder;
        answerer.handle([&](QWidget *window) {
            startFolder = qobject_cast<QFileDialog *>(window)->directory().absolutePath();
            qobject_cast<QDialog *>(window)->reject();
        });
        QTest::mouseClick(w.button("pHozzaad"), Qt::LeftButton);
        QCOMPARE(startFolder, QFileInfo(photos[0]).absolutePath());
        QCOMPARE(w.count(), QStringLiteral("1"));

        for (int i = 1; i < 4; ++i) {
            pickInFileDialog(answerer, photos[i]);
            QTest::mouseClick(w.button("pHozzaad"), Qt::LeftButton);
        }
        QCOMPARE(w.ujKep.photos(), photos.mid(0, 4));
        QCOMPARE(w.count(), QStringLiteral("4"));

        // With four photos "Hozzáad" opens nothing; after a removal it works again.
        QVERIFY(!opensAWindow([&] { QTest::mouseClick(w.button("pHozzaad"), Qt::LeftButton); }));
        // "Töröl" with nothing selected removes nothing.
        w.list()->clearSelection();
        QTest::mouseClick(w.button("pTorol"), Qt::LeftButton);
        QCOMPARE(w.count(), QStringLiteral("4"));
        w.select(1);
        QTest::mouseClick(w.button("pTorol"), Qt::LeftButton);
        QCOMPARE(w.ujKep.photos(), (QStringList {photos[0], photos[2], photos[3]}));
        QCOMPARE(w.count(), QStringLiteral("3"));
        pickInFileDialog(answerer, photos[4]);
        QTest::mouseClick(w.button("pHozzaad"), Qt::LeftButton);
        QCOMPARE(w.ujKep.photos(), (QStringList {photos[0], photos[2], photos[3], photos[4]}));

        // The same file may be picked twice.
        w.select(0);
        QTest::mouseClick(w.button("pTorol"), Qt::LeftButton);
        pickInFileDialog(answerer, photos[4]);
        QTest::mouseClick(w.button("pHozzaad"), Qt::LeftButton);
        QCOMPARE(w.ujKep.photos(), (QStringList {photos[2], photos[3], photos[4], photos[4]}));
        QCOMPARE(answerer.pending(), 0);

        w.ujKep.emptyPhotos();
        QCOMPARE(w.ujKep.photos(), QStringList());
        QCOMPARE(w.count(), QStringLiteral("0"));
        for (const QString &photo : photos)
            w.ujKep.addPhoto(photo);
        QCOMPARE(w.ujKep.photos(), photos.mid(0, 4));
    }

    void viewing()
    {
        TempDataDir dir;
        PhotoWindows w;
        w.ujKep.show();
        // 400 by 350: red on the top left 320 by 320, blue beyond, so a scaled picture would
        // show blue at the window's far corner.
        const QString big = dir.filePath(QStringLiteral("big.jpg"));
        QVERIFY(jpegfiles::writeJpeg(big, 400, 350, [](int x, int y, std::uint8_t *rgb) {
            const bool inside = x < 320 && y < 320;
            rgb[0] = inside ? 255 : 0;
            rgb[1] = 0;
            rgb[2] = inside ? 0 : 255;
        }));
        const QString small = dir.filePath(QStringLiteral("small.jpg"));
        QVERIFY(jpegfiles::writeJpeg(small, 120, 80));
        w.ujKep.addPhoto(big);
        w.ujKep.addPhoto(small);

        // Nothing selected: nothing shown.
        w.list()->clearSelection();
        QVERIFY(!opensAWindow([&] { QTest::mouseClick(w.button("pMegtekint"), Qt::LeftButton); }));

        DialogAnswerer answerer;
        QString caption;
        QImage shown;
        answerer.handle([&](QWidget *window) {
            caption = window->windowTitle();
            shown = w.viewer.view()->pixmap().toImage();
            QTest::keyClick(window, Qt::Key_Escape);
        });
        w.select(0);
        QTest::mouseClick(w.button("pMegtekint"), Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Pelmora - Kép megtekintése"));
        QCOMPARE(shown.size(), QSize(300, 300));
        const QColor corner = shown.pixelColor(299, 299);
        QVERIFY2(corner.red() > 200 && corner.blue() < 60, qPrintable(corner.name()));

        answerer.answer(QStringLiteral("Bezár"));
        w.select(1);
        QTest::mouseClick(w.button("pMegtekint"), Qt::LeftButton);
        QCOMPARE(w.viewer.view()->pixmap().size(), QSize(120, 80));
        QCOMPARE(w.viewer.view()->size(),
                 QSize(300, 300) + QSize(2, 2) * w.viewer.view()->frameWidth());

        // A picked file that is gone or not a picture: a message naming it, no viewer.
        QFile::remove(small);
        QVERIFY(jpegfiles::write(small, "nem kep"));
        answerer.answer(QStringLiteral("OK"));
        QTest::mouseClick(w.button("pMegtekint"), Qt::LeftButton);
        QVERIFY2(answerer.lastSeen().contains(QStringLiteral("small.jpg")),
                 qPrintable(answerer.lastSeen()));
        QCOMPARE(answerer.windows().last(), QStringLiteral("fUzenet"));
        QCOMPARE(answerer.pending(), 0);
    }

    void countOnTheCallingWindow()
    {
        TempDataDir dir;
        PhotoWindows w;
        PhotoGroup group(w.windows);
        group.show();
        QCOMPARE(group.title(), QStringLiteral(" Képek "));
        auto *label = group.findChild<QLabel *>(QStringLiteral("Label100"));
        auto *change = group.findChild<QPushButton *>(QStringLiteral("nKepValtoztat"));
        QCOMPARE(change->text(), QStringLiteral("Változtat..."));
        QCOMPARE(label->text(), QStringLiteral("0"));

        const QString photo = dir.filePath(QStringLiteral("a.jpg"));
        QVERIFY(jpegfiles::writeJpeg(photo, 640, 480));
        DialogAnswerer answerer;
        // In the photo list: add two photos through the file dialog, then "Vissza >>".
        answerer.handle([&](QWidget *window) {
            QCOMPARE(window->objectName(), QStringLiteral("fUjKep"));
            auto *add = window->findChild<QPushButton *>(QStringLiteral("pHozzaad"));
            // A running answer is not polled again, so the file dialog needs an answerer of its
            // own.
            DialogAnswerer inner;
            for (int i = 0; i < 2; ++i) {
                pickInFileDialog(inner, photo);
                QTest::mouseClick(add, Qt::LeftButton);
            }
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("pVissza")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(change, Qt::LeftButton);
        QCOMPARE(label->text(), QStringLiteral("2"));
        QCOMPARE(group.count(), 2);

        // Closing the window by its frame counts the same.
        answerer.handle([&](QWidget *window) {
            auto *list = window->findChild<QListWidget *>(QStringLiteral("pKepLista"));
            list->setCurrentRow(0);
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("pTorol")),
                              Qt::LeftButton);
            window->close();
        });
        QTest::mouseClick(change, Qt::LeftButton);
        QCOMPARE(label->text(), QStringLiteral("1"));
        QCOMPARE(answerer.pending(), 0);
    }
};

QTEST_MAIN(TestPhotos)
#include "test_photos.moc"
