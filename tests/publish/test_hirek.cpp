#include "publish/hirek.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "tests/publish/publishtestdata.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/guardedtestmain.h"
#include "tests/support/tempdatadir.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace Qt::StringLiterals;

// The messages window, driven through its controls.
class TestHirek : public QObject
{
    Q_OBJECT

private slots:
    void readAndDelete()
    {
        TempDataDir data;
        Database db(data.path());
        Cursor seed(db, tables::hirek, false);
        addRecord(seed,
                  {{u"Mikor"_s, u"2026.12.01 10:00"_s},
                   {u"Kuldo"_s, u"Pelmora"_s},
                   {u"Uzenet"_s, u"Első hír"_s},
                   {u"Action"_s, 1}});
        addRecord(seed,
                  {{u"Mikor"_s, u"2026.12.02 11:00"_s},
                   {u"Kuldo"_s, u"Kiss Anna"_s},
                   {u"Uzenet"_s, u"Érdeklődés érkezett."_s},
                   {u"Action"_s, 2}});

        RegisterState cursors(db);
        TfHirek window(cursors);
        QCOMPARE(window.windowTitle(), u"Pelmora - Üzenetek"_s);
        QCOMPARE(window.findChild<QLabel *>(u"RxLabel4"_s)->text(), u"Üzenetek"_s);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *grid = window.findChild<QTableView *>(u"DBGrid1"_s);
        auto *when = window.findChild<QLineEdit *>(u"DBEdit1"_s);
        auto *sender = window.findChild<QLineEdit *>(u"DBEdit2"_s);
        auto *text = window.findChild<QPlainTextEdit *>(u"DBMemo1"_s);
        auto *remove = window.findChild<QPushButton *>(u"BitBtn2"_s);
        QVERIFY(grid && when && sender && text && remove);
        QVERIFY(when->isReadOnly() && sender->isReadOnly() && text->isReadOnly());
        QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), u"Hír"_s);
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(when->text(), u"2026.12.01 10:00"_s);
        QCOMPARE(sender->text(), u"Pelmora"_s);
        QCOMPARE(text->toPlainText(), u"Első hír"_s);

        const QModelIndex second = grid->model()->index(1, 0);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(second).center());
        QCOMPARE(sender->text(), u"Kiss Anna"_s);
        QCOMPARE(text->toPlainText(), u"Érdeklődés érkezett."_s);

        const QString question = u"A bejegyzés véglegesen törlődik! Biztosan folytatja?"_s;
        DialogAnswerer answers;
        answers.answer(u"Mégsem"_s);
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(answers.seen(), QStringList {question});
        QCOMPARE(grid->model()->rowCount(), 2);

        answers.answer(u"OK"_s);
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(sender->text(), u"Pelmora"_s);
        answers.answer(u"OK"_s);
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(grid->model()->rowCount(), 0);
        QCOMPARE(sender->text(), QString());

        // An empty table asks nothing: the queued answer stays unused.
        answers.answer(u"OK"_s);
        QTest::mouseClick(remove, Qt::LeftButton);
        QVERIFY(settleQueuedWork());
        QCOMPARE(answers.pending(), 1);
        QCOMPARE(answers.seen().size(), 3);

        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QVERIFY(!window.tHirek().isOpen());

        // Shown again, it reads the table afresh; "Bezár" closes it.
        addRecord(seed,
                  {{u"Mikor"_s, u"most"_s}, {u"Kuldo"_s, u"Portál"_s}, {u"Uzenet"_s, u"Új"_s}});
        window.show();
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(sender->text(), u"Portál"_s);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BitBtn1"_s), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }

    // A table that fails under the window ends the step with the message; the window goes on.
    void failingTable()
    {
        TempDataDir data;
        Database db(data.path());
        Cursor seed(db, tables::hirek, false);
        addRecord(seed, {{u"Mikor"_s, u"tegnap"_s}, {u"Kuldo"_s, u"Pelmora"_s}});
        addRecord(seed, {{u"Mikor"_s, u"ma"_s}, {u"Kuldo"_s, u"Kiss Anna"_s}});
        seed.close();

        RegisterState cursors(db);
        TfHirek window(cursors);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *grid = window.findChild<QTableView *>(u"DBGrid1"_s);
        auto *sender = window.findChild<QLineEdit *>(u"DBEdit2"_s);
        auto *remove = window.findChild<QPushButton *>(u"BitBtn2"_s);
        QCOMPARE(grid->model()->rowCount(), 2);

        db.exec(u"ALTER TABLE hirek RENAME TO hirek_el"_s);
        DialogAnswerer answers;
        answers.answer(u"OK"_s); // the question
        for (int i = 0; i < 3; ++i)
            answers.answer(u"OK"_s);
        QTest::mouseClick(remove, Qt::LeftButton);
        QTRY_COMPARE(answers.seen().size(), 2);
        QCOMPARE(answers.seen().first(), u"A bejegyzés véglegesen törlődik! Biztosan folytatja?"_s);
        QVERIFY(answers.seen().at(1).startsWith(u"Adatbázis hiba"_s));
        QVERIFY(window.isVisible());
        // The rows read before stay in the grid and still follow the mouse.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(1, 0)).center());
        QCOMPARE(sender->text(), u"Kiss Anna"_s);
        QCOMPARE(answers.seen().size(), 2);

        // Closed and opened again over the still failing table: the message, an empty window.
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        const qsizetype before = answers.seen().size();
        window.show();
        QTRY_COMPARE(answers.seen().size(), before + 1);
        QVERIFY(answers.lastSeen().startsWith(u"Adatbázis hiba"_s));
        QVERIFY(window.isVisible());
        QCOMPARE(grid->model()->rowCount(), 0);
        QCOMPARE(sender->text(), QString());

        // Mended, the next opening shows the news, and the window still answers its buttons.
        db.exec(u"ALTER TABLE hirek_el RENAME TO hirek"_s);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BitBtn1"_s), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        window.show();
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(sender->text(), u"Pelmora"_s);
        QCOMPARE(answers.seen().size(), 3);
    }
};

PELMORA_GUARDED_TEST_MAIN(TestHirek)
#include "test_hirek.moc"
