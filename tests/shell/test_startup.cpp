#include "buyers/erdeklodes.h"
#include "buyers/erdeklodo.h"
#include "buyers/erdmodosit.h"
#include "buyers/erdutkoztet.h"
#include "buyers/ujerdeklodes.h"
#include "publish/hirek.h"
#include "register/kepmegtekintes.h"
#include "register/modosit.h"
#include "register/tulajhozzaad.h"
#include "register/tulajmodosit.h"
#include "register/ujkep.h"
#include "shell/main.h"
#include "shell/program.h"
#include "store/cp1250.h"
#include "store/cursor.h"
#include "store/datadirectory.h"
#include "store/instancelock.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/guardedtestmain.h"
#include "tests/support/helperprocess.h"
#include "tests/support/oldregister.h"
#include "tests/support/tempdatadir.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSqlQuery>
#include <QSysInfo>
#include <QtTest>

#include <csignal>
#include <functional>

// Start-up as a user meets it: a fresh data directory, a lock file left behind, a database of
// another version, and the two ways out.
class TestStartup : public QObject
{
    Q_OBJECT

    // Starts the register once, lets `alter` change it while it is open, and removes the lock
    // file that start left, so the next start meets only the change.
    static bool startAndAlter(const TempDataDir &dir, const std::function<void(Program &)> &alter)
    {
        {
            Program first;
            if (!first.start())
                return false;
            alter(first);
        }
        QFile::remove(dir.filePath(QStringLiteral("ingatlan.lck")));
        return true;
    }

private slots:
    void firstStartCreatesTheRegister()
    {
        TempDataDir dir;
        Program program;
        QVERIFY(program.start());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("pelmora.sqlite"))));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Images"))).isDir());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("licence.txt"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("ingatlan.lck"))));

        TfMain *main = program.main();
        QCOMPARE(main->findChild<QLabel *>(QStringLiteral("Label32"))->text(),
                 QStringLiteral("Edition: 20011002/1 DBVer: 3"));
        auto *sTipus = main->findChild<QComboBox *>(QStringLiteral("sTipus"));
        QVERIFY(sTipus->count() > 10);
        QCOMPARE(sTipus->itemText(0), QStringLiteral("<üres>"));
        QCOMPARE(sTipus->currentIndex(), 0);
        auto *sTelepules = main->findChild<QComboBox *>(QStringLiteral("sTelepules"));
        QVERIFY(sTelepules->findText(QStringLiteral("Hódmezővásárhely")) >= 0);
        QVERIFY(main->backgroundShown());

        // Reference rows: every county seat with its postcode and county.
        Cursor telep(*program.database(), tables::telepules, true);
        telep.setFilterText(QStringLiteral("Irsz = 6720"));
        telep.setFiltered(true);
        QCOMPARE(telep.text(QStringLiteral("Name")), QStringLiteral("Szeged"));
        QCOMPARE(telep.text(QStringLiteral("Megye")), QStringLiteral("Csongrád"));
        for (const char *seat :
             {"Kecskemét", "Pécs", "Békéscsaba", "Miskolc", "Székesfehérvár", "Győr", "Debrecen",
              "Eger", "Szolnok", "Tatabánya", "Salgótarján", "Kaposvár", "Nyíregyháza", "Szekszárd",
              "Szombathely", "Veszprém", "Zalaegerszeg", "Budapest V. kerület"}) {
            telep.setFilterText(QStringLiteral("Name = ") + Filter::quote(QString::fromUtf8(seat)));
            QVERIFY2(telep.recordCount() == 1, seat);
            QCOMPARE(telep.text(QStringLiteral("Irsz")).size(), 4);
        }
    }

    // A file left by a copy that is gone (crashed, or refused at start) holds nobody's lock:
    // the start asks nothing and the file then names this copy.
    void staleLockFileAsksNothing()
    {
        TempDataDir dir;
        const QString lockPath = dir.filePath(QStringLiteral("ingatlan.lck"));
        QFile old(lockPath);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("left behind\r\n");
        old.close();

        DialogAnswerer answerer;
        Program program;
        QVERIFY(program.start());
        QVERIFY(answerer.seen().isEmpty());
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::ReadOnly));
        const InstanceLock::Holder holder = InstanceLock::parse(lock.readAll());
        QCOMPARE(holder.host, QSysInfo::machineHostName());
        QCOMPARE(holder.pid, QCoreApplication::applicationPid());
    }

    void lockFileQuestion_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("started");
        QTest::newRow("OK goes on") << "OK" << true;
        QTest::newRow("Mégsem ends") << "Mégsem" << false;
    }

    // Another copy runs: the question names its computer and start, and whatever the answer,
    // that copy's lock stays as it was.
    void lockFileQuestion()
    {
        QFETCH(QString, answer);
        QFETCH(bool, started);
        TempDataDir dir;
        const QString lockPath = dir.filePath(QStringLiteral("ingatlan.lck"));
        InstanceLock running(lockPath);
        QCOMPARE(running.acquire(QStringLiteral("2026. 12. 10. 8:00:00")),
                 InstanceLock::State::Alone);
        const QByteArray before = [&lockPath] {
            QFile file(lockPath);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();

        DialogAnswerer answerer;
        answerer.answer(answer);
        {
            Program program;
            QCOMPARE(program.start(), started);
            QCOMPARE(answerer.seen(),
                     QStringList {
                         QStringLiteral("A program úgy érzékeli, hogy már egy példányban fut! Ha "
                                        "ez nem így van, kérem nyomja meg az \"OK\" gombot!\n\n"
                                        "Gép: %1, indítva: 2026. 12. 10. 8:00:00")
                             .arg(QSysInfo::machineHostName())});
            if (started) {
                program.show();
                QVERIFY(program.main()->close());
            }
        }
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::ReadOnly));
        QCOMPARE(lock.readAll(), before);
        lock.close();
        // The copy that took the lock is the last one out, and takes the file with it.
        running.release();
        QVERIFY(!QFile::exists(lockPath));
    }

    // The owners a killed copy was entering are cleared by the next start that finds no copy
    // running, and kept while one may still be working on them.
    void abandonedWorkingListsCleared()
    {
        TempDataDir dir;
        {
            Program first;
            QVERIFY(first.start());
        }
        HelperProcess killed;
        QVERIFY(killed.start(QStringLiteral(PELMORA_OWNERLISTCOPY), {dir.path()}));
        QCOMPARE(killed.ask(QStringLiteral("add Félbehagyott Feri")), QStringLiteral("ok"));
        ::kill(pid_t(killed.process.processId()), SIGKILL);
        QVERIFY(killed.process.waitForFinished());
        const auto workingRows = [](Program &program) {
            QSqlQuery query(program.database()->connection());
            query.exec(QStringLiteral("SELECT COUNT(*) FROM dtulaj"));
            return query.next() ? query.value(0).toInt() : -1;
        };
        {
            InstanceLock running(dir.filePath(QStringLiteral("ingatlan.lck")));
            running.acquire(QStringLiteral("most"));
            DialogAnswerer answerer;
            answerer.answer(QStringLiteral("OK"));
            Program beside;
            QVERIFY(beside.start());
            QCOMPARE(workingRows(beside), 1);
        }
        Program alone;
        QVERIFY(alone.start());
        QCOMPARE(workingRows(alone), 0);
    }

    void wrongVersionEnds()
    {
        TempDataDir dir;
        QVERIFY(startAndAlter(dir, [](Program &first) {
            Cursor settings(*first.database(), tables::defaults, false);
            settings.edit();
            settings.setValue(QStringLiteral("Version"), 2);
            settings.post();
        }));
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        Program program;
        QVERIFY(!program.start());
        QCOMPARE(answerer.lastSeen(),
                 QStringLiteral("Hibás software verzió! Adatbázis Verzió: 2 Software verzió:3. "
                                "Hívja az ügyfélszolgáltatot!"));
        // The lock file written before the check stays.
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("ingatlan.lck"))));
    }

    // A table the main window opens at start is missing: the user is told, the start is
    // refused with no window left over, and the mended register starts again without asking
    // about the lock file the refused start left.
    void missingTableRefusesTheStart()
    {
        TempDataDir dir;
        QVERIFY(startAndAlter(dir, [](Program &first) {
            first.database()->exec(QStringLiteral("ALTER TABLE telepules RENAME TO telepules_el"));
        }));
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        {
            Program program;
            QVERIFY(!program.start());
            QCOMPARE(answerer.seen().size(), 1);
            QVERIFY(answerer.lastSeen().startsWith(QStringLiteral("Adatbázis hiba")));
            QVERIFY(answerer.lastSeen().contains(QStringLiteral("telepules")));
            QVERIFY(!program.main());
            QVERIFY(!program.database());
        }

        {
            Database db(dir.path());
            db.exec(QStringLiteral("ALTER TABLE telepules_el RENAME TO telepules"));
        }
        Program mended;
        QVERIFY(mended.start());
        auto *sTelepules = mended.main()->findChild<QComboBox *>(QStringLiteral("sTelepules"));
        QVERIFY(sTelepules->findText(QStringLiteral("Szeged")) >= 0);
        QCOMPARE(answerer.seen().size(), 1);
    }

    // A register of an earlier build starts on the tables of today; one of another version is
    // refused all the same.
    void oldRegisterStartsOrIsRefused()
    {
        {
            TempDataDir dir;
            QCOMPARE(writeOldRegister(dir.filePath(QLatin1String(Database::fileName)), 3),
                     QString());
            Program program;
            QVERIFY(program.start());
            QCOMPARE(program.main()->findChild<QLabel *>(QStringLiteral("cegnev"))->text(),
                     QStringLiteral("Régi Iroda"));
        }
        TempDataDir dir;
        QCOMPARE(writeOldRegister(dir.filePath(QLatin1String(Database::fileName)), 2), QString());
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        Program program;
        QVERIFY(!program.start());
        QCOMPARE(answerer.lastSeen(),
                 QStringLiteral("Hibás software verzió! Adatbázis Verzió: 2 Software verzió:3. "
                                "Hívja az ügyfélszolgáltatot!"));
    }

    void quitRemovesTheLockFile()
    {
        TempDataDir dir;
        Program program;
        QVERIFY(program.start());
        TfMain *main = program.main();
        bool exited = false;
        main->setExitHandler([&exited] { exited = true; });
        program.show();
        auto *quit = main->findChild<QLabel *>(QStringLiteral("Label81"));

        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("Nem"));
        QTest::mouseClick(quit, Qt::LeftButton);
        QVERIFY(!exited);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("ingatlan.lck"))));

        answerer.answer(QStringLiteral("Igen"));
        QTest::mouseClick(quit, Qt::LeftButton);
        QVERIFY(exited);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("ingatlan.lck"))));
        QCOMPARE(answerer.windows(),
                 QStringList({QStringLiteral("fQuit"), QStringLiteral("fQuit")}));
    }

    // Every long-lived window belongs to the main window alone and is deleted exactly once when
    // the program ends, even one still showing; the windows work on the main window's cursors.
    void windowsShareCursorsAndGoOnce()
    {
        TempDataDir dir;
        QList<QPointer<QWidget>> windows;
        std::vector<int> deletions;
        {
            Program program;
            QVERIFY(program.start());
            TfMain *main = program.main();
            RegisterState &cursors = main->cursors();
            const Windows &w = program.windows();
            // Each handle makes its window when it is first asked for it.
            const QList<QWidget *> made = {w.fErdeklodo.get(),
                                           w.fModosit.get(),
                                           w.fHirek.get(),
                                           w.registerWindows.fUjKep.get(),
                                           w.registerWindows.fKepmegtekint.get(),
                                           w.registerWindows.fTulajHozzaad.get(),
                                           w.registerWindows.fTulajModosit.get(),
                                           w.requestWindows.fErdeklodes.get(),
                                           w.requestWindows.fUjErdeklodes.get(),
                                           w.requestWindows.fModositErdeklodes.get(),
                                           w.requestWindows.fErdUtkoztet.get()};
            for (QWidget *window : made) {
                QVERIFY(window);
                QCOMPARE(window->parentWidget(), main);
                QVERIFY(window->isWindow());
            }
            const QList<QWidget *> owned =
                main->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            deletions.assign(owned.size(), 0);
            for (int i = 0; i < owned.size(); ++i) {
                windows.append(owned[i]);
                QObject::connect(owned[i], &QObject::destroyed,
                                 [&deletions, i] { ++deletions[i]; });
            }

            QCOMPARE(&w.fHirek->tHirek(), &cursors.tHirek);
            QCOMPARE(&w.requestWindows.fErdeklodes->tErdeklodes(), &cursors.tErdeklodes);
            QCOMPARE(&w.fErdeklodo->tErdeklodo(), &cursors.tErdeklodo);
            QCOMPARE(cursors.tErdeklodo.objectName(), QStringLiteral("tErdeklodo"));
            QVERIFY(!cursors.tHirek.isOpen());
            program.show();
            w.fHirek->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.fHirek.get()));
            QVERIFY(cursors.tHirek.isOpen());
            w.fHirek->hide();
            QVERIFY(!cursors.tHirek.isOpen());
            w.fHirek->show();
            QVERIFY(cursors.tHirek.isOpen());
        }
        QVERIFY(!deletions.empty());
        for (int i = 0; i < static_cast<int>(deletions.size()); ++i) {
            QCOMPARE(deletions[i], 1);
            QVERIFY(windows[i].isNull());
        }
    }

    void closingByTheFrameRemovesTheLockFile()
    {
        TempDataDir dir;
        Program program;
        QVERIFY(program.start());
        program.show();
        QVERIFY(program.main()->close());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("ingatlan.lck"))));
    }
};

PELMORA_GUARDED_TEST_MAIN(TestStartup)
#include "test_startup.moc"
