#include "backup/backup.h"
#include "shell/main.h"
#include "shell/mentes.h"
#include "shell/program.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/tables.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/errorof.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"
#include "tests/support/typing.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

namespace {

template<typename T>
T *child(QWidget *window, const char *name)
{
    return ::control<T>(window, name);
}

void clickEntry(TfMain *main, const char *entry)
{
    auto *label = ::control<QLabel>(main, entry);
    const QPoint at = label->mapTo(main, label->rect().center());
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, {}, at);
}

// Picks `path` in the next file dialog as a user would: its name typed, then "Megnyitás".
void pickInFileDialog(DialogAnswerer &answerer, const QString &path)
{
    answerer.handle(
        [path](QWidget *window) {
            auto *dialog = qobject_cast<QFileDialog *>(window);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Pelmora - Visszaállítás"));
            dialog->setDirectory(QFileInfo(path).absolutePath());
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setFocus();
            name->selectAll();
            typeText(name, QFileInfo(path).absoluteFilePath());
            QTest::mouseClick(
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open),
                Qt::LeftButton);
        },
        QStringLiteral("QFileDialog"));
}

QStringList backupsIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("pelmora-*.tar")}, QDir::Files, QDir::Name);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

[[nodiscard]] bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes) == bytes.size();
}

void addProperty(Cursor &tEgyszeru, const QString &azonosito)
{
    tEgyszeru.append();
    tEgyszeru.setValue(QStringLiteral("Azonosito"), azonosito);
    tEgyszeru.setValue(QStringLiteral("Ar"), 12500000);
    tEgyszeru.post();
}

void setCompanyName(Cursor &tDefaults, const QString &name)
{
    tDefaults.edit();
    tDefaults.setValue(QStringLiteral("Name"), name);
    tDefaults.post();
}

QByteArray backedUpPhoto()
{
    return QByteArray(4000, 'k') + "JPEG";
}

// The program started on the data directory with the company "Első Iroda", the property
// "A-1" and one photo; its quit is recorded instead of ending the test.
struct StartedProgram
{
    Program program;
    TfMain *main = nullptr;
    bool exited = false;

    bool start(const QString &dataDir)
    {
        if (!program.start())
            return false;
        program.show();
        main = program.main();
        if (!QTest::qWaitForWindowExposed(main))
            return false;
        main->setExitHandler([this] { exited = true; });
        setCompanyName(main->cursors().tDefaults, QStringLiteral("Első Iroda"));
        addProperty(main->cursors().tEgyszeru, QStringLiteral("A-1"));
        return writeFile(datadirectory::imagesDir(dataDir) + QStringLiteral("1-1.jpg"),
                         backedUpPhoto());
    }
};

// Backs the data up into `folder` through the backup window, then goes on working: another
// property, another company name, the photo deleted. The backup's path, empty when not exactly
// one was made.
QString backUpAndWorkOn(TfMain *main, const QString &dataDir, const QString &folder)
{
    DialogAnswerer answerer;
    answerer.handle([&](QWidget *w) {
        retypeText(child<QLineEdit>(w, "mMappa"), folder);
        child<QPushButton>(w, "mRogzit")->click();
        child<QPushButton>(w, "mMentes")->click();
        w->close();
    });
    answerer.answerIn(QStringLiteral("fUzenet"), QStringLiteral("OK"));
    clickEntry(main, "Label110");
    const QStringList made = backupsIn(folder);
    if (answerer.pending() != 0 || made.size() != 1)
        return {};

    addProperty(main->cursors().tEgyszeru, QStringLiteral("B-2"));
    setCompanyName(main->cursors().tDefaults, QStringLiteral("Második Iroda"));
    QFile::remove(datadirectory::imagesDir(dataDir) + QStringLiteral("1-1.jpg"));
    return QDir(folder).filePath(made.constFirst());
}

// Restores `backupPath` through the backup window, answering the question and the message
// with "OK". The texts seen, or none when a window did not come up.
QStringList restoreThroughTheWindow(TfMain *main, const QString &backupPath)
{
    DialogAnswerer answerer;
    answerer.handle([](QWidget *w) { child<QPushButton>(w, "mVisszaallitas")->click(); });
    pickInFileDialog(answerer, backupPath);
    answerer.answerIn(QStringLiteral("fKerdes"), QStringLiteral("OK"));
    answerer.answerIn(QStringLiteral("fUzenet"), QStringLiteral("OK"));
    clickEntry(main, "Label110");
    return answerer.pending() == 0 ? answerer.seen() : QStringList();
}

} // namespace

// The backup window driven through its controls, and the program's quit and restart around it.
// Starts the program on `dataDir`, backs up into `folder`, works on and restores the backup
// through the window: what the restore said, or nothing when a step failed.
QStringList backUpAndRestore(StartedProgram &started, const QString &dataDir, const QString &folder)
{
    if (!started.start(dataDir))
        return {};
    const QString backupPath = backUpAndWorkOn(started.main, dataDir, folder);
    return backupPath.isEmpty() ? QStringList() : restoreThroughTheWindow(started.main, backupPath);
}

class TestMentes : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        // The workstation settings of this run stay in a folder of its own.
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    }

    void init()
    {
        // The backups of the embedded register are what the rest is about.
        if (testserver::active() &&
            qstrcmp(QTest::currentTestFunction(), "officeServerIsBackedUpWhereItLives") != 0)
            QSKIP("the embedded register's own case");
        backup::saveSettings({});
    }

    // On the office server this desk neither backs up nor restores the register: the window
    // says where that is done, and neither the window, a direct call nor the quit writes a file.
    void officeServerIsBackedUpWhereItLives()
    {
        if (!testserver::active())
            QSKIP("needs the office server");
        TempDataDir dir;
        QTemporaryDir folder;
        StartedProgram started;
        QVERIFY(started.start(dir.path()));
        Database &db = started.main->cursors().db;
        QVERIFY(db.isServer());
        DialogAnswerer answerer;
        answerer.handle([&](QWidget *w) {
            QVERIFY(!child<QPushButton>(w, "mMentes")->isEnabled());
            QVERIFY(!child<QPushButton>(w, "mVisszaallitas")->isEnabled());
            QCOMPARE(child<QLabel>(w, "mAllapot")->text(), backup::serverNotice());
            w->close();
        });
        clickEntry(started.main, "Label110");
        QCOMPARE(answerer.pending(), 0);

        QCOMPARE(errorOf([&] { backup::create(db, folder.path()); }), backup::serverNotice());
        backup::Settings settings;
        settings.atQuit = true;
        settings.folder = folder.path();
        backup::saveSettings(settings);
        backupAtQuit(db);
        QVERIFY(QDir(folder.path())
                    .entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot)
                    .isEmpty());
    }

    void backupWindowOffersTheDefaults()
    {
        TempDataDir dir;
        StartedProgram started;
        QVERIFY(started.start(dir.path()));
        DialogAnswerer answerer;
        answerer.handle([&](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("fMentes"));
            QCOMPARE(w->windowTitle(), QStringLiteral("Pelmora - Biztonsági mentés"));
            QVERIFY(child<QCheckBox>(w, "mKilepeskor")->isChecked());
            QCOMPARE(child<QSpinBox>(w, "mMegtart")->value(), 10);
            QCOMPARE(child<QLineEdit>(w, "mMappa")->text(),
                     dir.path() + QStringLiteral("mentesek/"));
            w->close();
        });
        clickEntry(started.main, "Label110");
        QCOMPARE(answerer.pending(), 0);
    }

    void backupWritesOneArchiveAndKeepsTheSettings()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        StartedProgram started;
        QVERIFY(started.start(dir.path()));
        DialogAnswerer answerer;
        answerer.handle([&](QWidget *w) {
            retypeText(child<QLineEdit>(w, "mMappa"), folder.path());
            child<QSpinBox>(w, "mMegtart")->setValue(3);
            child<QPushButton>(w, "mRogzit")->click();
            child<QPushButton>(w, "mMentes")->click();
            QCOMPARE(child<QProgressBar>(w, "mFolyamat")->value(), 1000);
            QVERIFY(child<QPushButton>(w, "mMentes")->isEnabled());
            QVERIFY(!child<QPushButton>(w, "mMegszakit")->isEnabled());
            w->close();
        });
        answerer.answerIn(QStringLiteral("fUzenet"), QStringLiteral("OK"));
        clickEntry(started.main, "Label110");
        QCOMPARE(answerer.pending(), 0);
        QVERIFY2(answerer.lastSeen().startsWith(QStringLiteral("A biztonsági mentés elkészült:")),
                 qPrintable(answerer.lastSeen()));
        QCOMPARE(backupsIn(folder.path()).size(), 1);
        const backup::Settings saved = backup::loadSettings();
        QCOMPARE(saved.folder, folder.path());
        QCOMPARE(saved.keep, 3);
        QVERIFY(!started.exited);
    }

    // The restore says what the backup holds, then ends the program as "Kilépés" ends it; the
    // data is swapped once it is closed.
    void restoreAsksThenEndsTheProgram()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        StartedProgram started;
        const QStringList seen = backUpAndRestore(started, dir.path(), folder.path());
        QVERIFY(seen.size() >= 2);
        const QString question = seen.value(seen.size() - 2);
        QVERIFY2(question.contains(QStringLiteral(
                     "Tartalma: 1 ingatlan, 0 archivált ingatlan, 0 keresési igény, 1 fénykép.")),
                 qPrintable(question));
        QVERIFY(question.contains(QStringLiteral("elozo-adatok-")));
        QCOMPARE(seen.constLast(),
                 QStringLiteral("A program most újraindul a visszaállított adatokkal."));
        QVERIFY(started.exited);
        QVERIFY(!QFileInfo::exists(datadirectory::lockFilePath(dir.path())));
        QVERIFY(started.program.shutDown());
    }

    // The program started again runs on the backup, and the data it replaced is kept aside.
    void restartRunsOnTheBackup()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        {
            StartedProgram started;
            QVERIFY(!backUpAndRestore(started, dir.path(), folder.path()).isEmpty());
            QVERIFY(started.program.shutDown());
        }
        // No backup at quit went over the one being restored.
        QCOMPARE(backupsIn(folder.path()).size(), 1);

        Program restarted;
        QVERIFY(restarted.start());
        TfMain *main = restarted.main();
        QCOMPARE(main->findChild<QLabel *>(QStringLiteral("cegnev"))->text(),
                 QStringLiteral("Első Iroda"));
        QCOMPARE(main->cursors().tEgyszeru.recordCount(), 1);
        QCOMPARE(main->cursors().tEgyszeru.text(QStringLiteral("Azonosito")),
                 QStringLiteral("A-1"));
        QCOMPARE(readFile(datadirectory::imagesDir(dir.path()) + QStringLiteral("1-1.jpg")),
                 backedUpPhoto());
        const QStringList aside =
            QDir(dir.path()).entryList({QStringLiteral("elozo-adatok-*")}, QDir::Dirs);
        QCOMPARE(aside.size(), 1);
        Database kept(dir.path() + aside.constFirst());
        Cursor keptProperties(kept, tables::egyszeru, true);
        keptProperties.open();
        QCOMPARE(keptProperties.recordCount(), 2);
    }

    void refusedOrDeclinedRestoreChangesNothing()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        Database db(dir.path(), datadirectory::seed);
        datadirectory::prepare(db);
        Cursor properties(db, tables::egyszeru, true);
        properties.open();
        addProperty(properties, QStringLiteral("C-3"));
        const QString good = backup::create(db, folder.path());
        addProperty(properties, QStringLiteral("D-4"));
        const QString junk = folder.filePath(QStringLiteral("szamla.tar"));
        QVERIFY(writeFile(junk, "nem mentés"));

        DialogAnswerer answerer;
        bool stillOpen = false;
        answerer.handle([&](QWidget *w) {
            child<QPushButton>(w, "mVisszaallitas")->click();
            child<QPushButton>(w, "mVisszaallitas")->click();
            stillOpen = w->isVisible();
            w->close();
        });
        pickInFileDialog(answerer, junk);
        answerer.answerIn(QStringLiteral("fUzenet"), QStringLiteral("OK"));
        pickInFileDialog(answerer, good);
        answerer.answerIn(QStringLiteral("fKerdes"), QStringLiteral("Mégsem"));
        TfMentes window(db);
        window.exec();
        QCOMPARE(answerer.pending(), 0);
        QVERIFY(stillOpen);
        QVERIFY(!window.restoreConfirmed());
        QVERIFY2(answerer.seen().value(2).startsWith(
                     QStringLiteral("A kiválasztott fájl nem állítható vissza.")),
                 qPrintable(answerer.seen().value(2)));
        QVERIFY(answerer.seen().value(4).contains(QStringLiteral("Tartalma: 1 ingatlan")));
        QCOMPARE(child<QLabel>(&window, "mAllapot")->text(),
                 QStringLiteral("A visszaállítás elmaradt."));
        QVERIFY(!backup::stagedReady(dir.path()));
        QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral(".visszaallitas")));
        QCOMPARE(properties.recordCount(), 2);
    }

    // "Megszakítás" stops the work and the window cannot be closed under it.
    void runningBackupCanBeCancelledNotClosed()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        Database db(dir.path(), datadirectory::seed);
        datadirectory::prepare(db);
        backup::saveSettings({folder.path(), 10, true});

        DialogAnswerer answerer;
        bool visibleAfter = false;
        answerer.handle([&](QWidget *w) {
            auto *cancel = child<QPushButton>(w, "mMegszakit");
            // Both reach the window while the backup is running.
            QTimer::singleShot(0, w, [w, cancel] {
                w->close();
                QVERIFY(cancel->isEnabled());
                cancel->click();
            });
            child<QPushButton>(w, "mMentes")->click();
            visibleAfter = w->isVisible();
            w->close();
        });
        TfMentes window(db);
        window.exec();
        QVERIFY(visibleAfter);
        QCOMPARE(child<QLabel>(&window, "mAllapot")->text(),
                 QStringLiteral("A biztonsági mentés megszakítva."));
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList());
    }

    void quitMakesABackupAndKeepsTheLastN()
    {
        QTemporaryDir folder;
        const QStringList old {QStringLiteral("pelmora-2020-01-01-1200.tar"),
                               QStringLiteral("pelmora-2020-01-02-1200.tar"),
                               QStringLiteral("pelmora-2020-01-03-1200.tar")};
        for (const QString &name : old)
            QVERIFY(writeFile(folder.filePath(name), "régi"));
        backup::saveSettings({folder.path(), 2, true});
        {
            TempDataDir dir;
            Program program;
            QVERIFY(program.start());
            program.show();
            QVERIFY(!program.shutDown());
        }
        const QStringList left = backupsIn(folder.path());
        QCOMPARE(left.size(), 2);
        QCOMPARE(left.value(0), old[2]);
        QVERIFY(!old.contains(left.value(1)));
        QVERIFY(QFileInfo(folder.filePath(left.value(1))).size() > 1024);

        // Switched off, quitting writes nothing.
        backup::saveSettings({folder.path(), 2, false});
        {
            TempDataDir dir;
            Program program;
            QVERIFY(program.start());
            QVERIFY(!program.shutDown());
        }
        QCOMPARE(backupsIn(folder.path()), left);
    }
};

QTEST_MAIN(TestMentes)
#include "test_mentes.moc"
