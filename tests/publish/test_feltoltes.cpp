#include "publish/feltoltes.h"
#include "tests/publish/uploadscene.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/ftpserverfixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

// The upload window: it runs once when shown, stays responsive while the network works, and
// cannot be closed before the run ends.
class TestFeltoltes : public QObject
{
    Q_OBJECT

private slots:
    void staysResponsiveAndCannotCloseWhileRunning()
    {
        // Slow enough that the photograph takes a few seconds, more than the sockets buffer.
        FtpServerFixture server({u"--throttle"_s, u"4194304"_s});
        QVERIFY(server.isListening());
        QDir().mkpath(server.home() + u"Images"_s);
        UploadScene scene(server.address());
        scene.addPhoto(scene.cursors.tEgyszeru, 2, 1, 16 * 1024 * 1024);
        scene.cursors.tEgyszeru.setFiltered(true);

        TfFeltoltes window(scene.cursors);
        QCOMPARE(window.windowTitle(), u"Pelmora - Feltöltés"_s);
        QCOMPARE(window.findChild<QLabel *>(u"RxLabel4"_s)->text(), u"Feltöltés folyamatban..."_s);
        auto *bar = window.findChild<QProgressBar *>(u"uVonal"_s);
        auto *close = window.findChild<QPushButton *>(u"uBezar"_s);
        auto *log = window.findChild<QPlainTextEdit *>(u"uAllapotLista"_s);
        QVERIFY(bar && close && log);

        int ticksWhileRunning = 0;
        bool closable = false;
        QList<int> partial; // progress seen strictly between the start and the end of a file
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] {
            if (!window.uploadRun().isRunning())
                return;
            ++ticksWhileRunning;
            if (bar->value() > bar->minimum() && bar->value() < bar->maximum())
                partial << bar->value();
            closable = closable || close->isEnabled();
            window.close();
            QTest::keyClick(&window, Qt::Key_Escape);
            closable = closable || !window.isVisible();
        });
        ticker.start(25);

        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(window.runEnded(), 120000);
        ticker.stop();
        QVERIFY(ticksWhileRunning > 10);
        QVERIFY2(partial.size() >= 2, qPrintable(QString::number(partial.size())));
        QVERIFY(!closable);
        QVERIFY(window.isVisible());
        QVERIFY(log->toPlainText().contains(u"  2-1.jpg feltöltése\n"_s));
        QVERIFY(log->toPlainText().endsWith(u"  Kész."_s));
        QCOMPARE(server.fileBytes(u"Images/2-1.jpg"_s), scene.photo(u"2-1.jpg"_s));

        QVERIFY(close->isEnabled());
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }

    void connectionFailureIsShownAndEnds()
    {
        UploadScene scene {QString()};
        DialogAnswerer answers;
        answers.answer(u"OK"_s);
        TfFeltoltes window(scene.cursors);
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(window.runEnded(), 60000);
        QCOMPARE(answers.seen(),
                 QStringList {u"Hiba az FTP szerver csatlakozásánál! Hibás cím!"_s});
        const QString log = window.findChild<QPlainTextEdit *>(u"uAllapotLista"_s)->toPlainText();
        QVERIFY(log.contains(u"  Kapcsolódás az FTP szerverhez...\n"_s));
        QVERIFY(log.endsWith(u"  Hiba."_s));
        QVERIFY(window.findChild<QPushButton *>(u"uBezar"_s)->isEnabled());
        QVERIFY(scene.cursors.tEgyszeru.filtered());
        QCOMPARE(scene.marked(), QStringList());

        // Shown again, the window does not start another run.
        window.hide();
        window.show();
        QVERIFY(settleQueuedWork()); // a second run would have emptied the log by now
        QCOMPARE(window.findChild<QPlainTextEdit *>(u"uAllapotLista"_s)->toPlainText(), log);
    }
};

QTEST_MAIN(TestFeltoltes)
#include "test_feltoltes.moc"
