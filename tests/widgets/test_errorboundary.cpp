#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/guardedtestmain.h"
#include "tests/support/tempdatadir.h"
#include "widgets/cursorgrid.h"
#include "widgets/errorboundary.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

const QString tableGone = u"Adatbázis hiba: a tábla nem olvasható"_s;

// A window part whose painting fails while `failing` is set.
class FailingPainter : public QWidget
{
public:
    bool failing = false;
    bool painting = false;
    int painted = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        painting = true;
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (std::exchange(failing, false)) {
            painting = false;
            throw StoreError(tableGone);
        }
        ++painted;
        painting = false;
    }
};

// A text box whose Enter key runs into a failing table.
class FailingEdit : public QLineEdit
{
protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return)
            throw StoreError(tableGone);
        QLineEdit::keyPressEvent(event);
    }
};

} // namespace

// Every error that leaves our code ends as one Hungarian message, and the program goes on.
class TestErrorBoundary : public QObject
{
    Q_OBJECT

private slots:
    void failuresInTheUsersWords()
    {
        QCOMPARE(failureOf([] {}), std::nullopt);
        QCOMPARE(failureOf([] { throw StoreError(tableGone); }), tableGone);
        QCOMPARE(failureOf([] { throw std::runtime_error("stoi"); }),
                 u"Váratlan hiba történt: stoi"_s);
        QCOMPARE(failureOf([] { throw std::bad_alloc(); }),
                 u"Nincs elég memória a művelet elvégzéséhez."_s);
        QCOMPARE(failureOf([] { throw 42; }), u"Váratlan hiba történt."_s);

        DialogAnswerer answers;
        bool ran = false;
        QVERIFY(guarded([&] { ran = true; }));
        QVERIFY(ran);
        answers.answer(u"OK"_s);
        QVERIFY(!guarded([] { throw StoreError(tableGone); }));
        QCOMPARE(answers.seen(), QStringList {tableGone});
        QCOMPARE(answers.pending(), 0);
    }

    void eventHandlersReportAndGoOn()
    {
        QWidget window;
        auto *button = new QPushButton(u"Rögzít"_s, &window);
        auto *edit = new FailingEdit;
        edit->setParent(&window);
        edit->move(0, 40);
        int clicks = 0;
        connect(button, &QPushButton::clicked, [&clicks] {
            if (++clicks == 1)
                throw StoreError(tableGone);
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        DialogAnswerer answers;
        answers.answer(u"OK"_s);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(answers.seen(), QStringList {tableGone});
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(answers.seen().size(), 1);

        answers.answer(u"OK"_s);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(answers.seen().size(), 2);
        QTest::keyClicks(edit, u"ok"_s);
        QCOMPARE(edit->text(), u"ok"_s);

        answers.answer(u"OK"_s);
        QTimer::singleShot(0, &window, [] { throw std::runtime_error("timer"); });
        QTRY_COMPARE(answers.seen().size(), 3);
        QCOMPARE(answers.lastSeen(), u"Váratlan hiba történt: timer"_s);
    }

    void paintingFailureReportedAfterThePaint()
    {
        FailingPainter window;
        window.resize(200, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.painted > 0);

        DialogAnswerer answers;
        bool duringPaint = true;
        answers.handle([&](QWidget *dialog) {
            duringPaint = window.painting;
            dialog->close();
        });
        window.failing = true;
        window.update();
        QTRY_COMPARE(answers.seen(), QStringList {tableGone});
        QVERIFY(!duringPaint);
        const int before = window.painted;
        window.update();
        QTRY_VERIFY(window.painted > before);
    }

    void gridOverAFailingTable()
    {
        TempDataDir data;
        Database db(data.path());
        Cursor seed(db, tables::hirek, false);
        seed.open();
        // More rows than the cursor reads at once: the later ones come from the table only
        // when the grid scrolls to them.
        for (int i = 0; i < 500; ++i) {
            seed.append();
            seed.setValue(u"Kuldo"_s, u"Feladó %1"_s.arg(i));
            seed.post();
        }
        Cursor shown(db, tables::hirek, false);
        shown.open();
        CursorGrid grid(&shown, {{u"Kuldo"_s, u"Feladó"_s}});
        QAbstractItemModelTester tester(grid.model());
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCOMPARE(grid.model()->index(0, 0).data().toString(), u"Feladó 0"_s);

        db.exec(u"ALTER TABLE hirek RENAME TO hirek_el"_s);
        DialogAnswerer answers;
        answers.answer(u"OK"_s);
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
        QTRY_COMPARE(answers.seen().size(), 1);
        QVERIFY(answers.seen().first().startsWith(u"Adatbázis hiba"_s));
        QCOMPARE(grid.model()->index(450, 0).data().toString(), QString());
        // Every later paint reads the same failing rows; the user has heard of it once.
        grid.viewport()->repaint();
        QVERIFY(settleQueuedWork());
        QCOMPARE(answers.seen().size(), 1);

        // Mended, the grid shows the rows again, and the window responds throughout.
        db.exec(u"ALTER TABLE hirek_el RENAME TO hirek"_s);
        shown.setFiltered(false);
        shown.close();
        shown.open();
        QCOMPARE(grid.model()->rowCount(), 500);
        QCOMPARE(grid.model()->index(450, 0).data().toString(), u"Feladó 450"_s);
        QCOMPARE(answers.seen().size(), 1);
    }
};

PELMORA_GUARDED_TEST_MAIN(TestErrorBoundary)
#include "test_errorboundary.moc"
