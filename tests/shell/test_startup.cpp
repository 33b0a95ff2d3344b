#include "cp1250.h"
#include "cursor.h"
#include "datadirectory.h"
#include "dialoganswerer.h"
#include "main.h"
#include "program.h"
#include "tables.h"
#include "tempdatadir.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QtTest>

// Start-up as a user meets it: a fresh data directory, a lock file left behind, a database of
// another version, and the two ways out.
class TestStartup : public QObject
{
    Q_OBJECT

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

    void lockFileQuestion_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("started");
        QTest::newRow("OK goes on") << "OK" << true;
        QTest::newRow("Mégsem ends") << "Mégsem" << false;
    }

    void lockFileQuestion()
    {
        QFETCH(QString, answer);
        QFETCH(bool, started);
        TempDataDir dir;
        { // a register made by an earlier run
            Program first;
            QVERIFY(first.start());
        }
        const QString lockPath = dir.filePath(QStringLiteral("ingatlan.lck"));
        QFile old(lockPath);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("left behind\r\n");
        old.close();

        DialogAnswerer answerer;
        answerer.answer(answer);
        Program program;
        QCOMPARE(program.start(), started);
        QCOMPARE(
            answerer.seen(),
            QStringList {QStringLiteral("A program úgy érzékeli, hogy már egy példányban fut! Ha "
                                        "ez nem így van, kérem nyomja meg az \"OK\" gombot!")});
        QVERIFY(QFile::exists(lockPath));
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::ReadOnly));
        const QString content = cp1250::decode(lock.readAll());
        // Refused: the old file stays as it was; accepted: it holds this start's time.
        QCOMPARE(content == QStringLiteral("left behind\r\n"), !started);
    }

    void wrongVersionEnds()
    {
        TempDataDir dir;
        {
            Program first;
            QVERIFY(first.start());
            Cursor settings(*first.database(), tables::defaults, false);
            settings.edit();
            settings.setValue(QStringLiteral("Version"), 2);
            settings.post();
        }
        QFile::remove(dir.filePath(QStringLiteral("ingatlan.lck")));
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

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
