#include "buyers/erdeklodo.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/tempdatadir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The buyer window as the print dialog uses it, and the handout records it leads to.
class TestErdeklodo : public QObject
{
    Q_OBJECT

private:
    static QLineEdit *box(QWidget *window, const char *name)
    {
        return window->findChild<QLineEdit *>(QLatin1String(name));
    }
    static void click(QWidget *window, const char *name)
    {
        window->findChild<QPushButton *>(QLatin1String(name))->click();
    }
    // For a click that opens a modal window of its own: the answerer can only reach that from
    // the event loop, after the current answer has returned.
    static void clickLater(QWidget *window, const char *name)
    {
        QMetaObject::invokeMethod(window->findChild<QPushButton *>(QLatin1String(name)),
                                  &QPushButton::click, Qt::QueuedConnection);
    }
    // Types as the keyboard would, accented letters included.
    static void type(QWidget *widget, const QString &text)
    {
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    static void fill(QWidget *window, const QStringList &values)
    {
        const char *names[] = {"Edit1", "Edit2", "Edit3", "Edit4"};
        for (int i = 0; i < 4; ++i) {
            box(window, names[i])->clear();
            type(box(window, names[i]), values[i]);
        }
    }

private slots:
    void layoutAndTabOrder()
    {
        TempDataDir dir;
        Database db(dir.path());
        RegisterState cursors(db);
        TfErdeklodo window(cursors);
        QCOMPARE(window.objectName(), QStringLiteral("fErdeklodo"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Pelmora - Új érdeklődő"));
        auto *rogzit = window.findChild<QPushButton *>(QStringLiteral("BitBtn1"));
        QCOMPARE(rogzit->text(), QStringLiteral("Rögzít"));
        QVERIFY(rogzit->isDefault());
        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Button2"))->text(),
                 QStringLiteral("Mezők törlése"));
        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("BitBtn2"))->text(),
                 QStringLiteral("Mégsem"));

        QStringList order;
        QWidget *w = box(&window, "Edit1");
        for (int i = 0; i < 7; ++i, w = w->nextInFocusChain()) {
            while (w->focusPolicy() == Qt::NoFocus)
                w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(
            order,
            QStringList({"Edit1", "Edit2", "Edit3", "Edit4", "BitBtn1", "Button2", "BitBtn2"}));
    }

    void checksAndOutcomes()
    {
        TempDataDir dir;
        Database db(dir.path());
        RegisterState cursors(db);
        TfErdeklodo window(cursors);
        DialogAnswerer answers;

        // Each missing value in turn, in the order of the checks; the window stays open on it.
        const QStringList full {"Nagy Ilona", "Pécs, Ág u. 3.", "30/111-2222", "AB123456"};
        QStringList focused;
        for (int missing = 0; missing < 4; ++missing) {
            answers.handle([&, missing](QWidget *w) {
                QStringList values = full;
                values[missing].clear();
                fill(w, values);
                clickLater(w, "BitBtn1");
            });
            answers.answer(QStringLiteral("OK"));
            answers.handle([&](QWidget *w) {
                focused << w->focusWidget()->objectName();
                click(w, "BitBtn2");
            });
            QCOMPARE(window.ask(), TfErdeklodo::Outcome::Abandon);
        }
        QCOMPARE(answers.seen().count(QStringLiteral("Nincs elegendő adat!")), 4);
        QCOMPARE(focused, QStringList({"Edit1", "Edit2", "Edit3", "Edit4"}));

        // Every box filled goes on, and the next showing offers the same buyer with the focus
        // back on the name, wherever it was left.
        answers.handle([&](QWidget *w) {
            fill(w, full);
            box(w, "Edit3")->setFocus();
            click(w, "BitBtn1");
        });
        QCOMPARE(window.ask(), TfErdeklodo::Outcome::GoOn);
        const Buyer buyer = window.buyer();
        QCOMPARE(QStringList({buyer.name, buyer.address, buyer.telefon, buyer.szigsz}), full);
        answers.handle([&](QWidget *w) {
            QCOMPARE(w->focusWidget(), box(w, "Edit1"));
            QCOMPARE(box(w, "Edit2")->text(), full[1]);
            click(w, "BitBtn1");
        });
        QCOMPARE(window.ask(), TfErdeklodo::Outcome::GoOn);

        // "Mezők törlése" empties the boxes and keeps the window; closing by the frame or Esc
        // abandons, whatever the boxes hold.
        answers.handle([&](QWidget *w) {
            click(w, "Button2");
            QVERIFY(w->isVisible());
            QVERIFY(box(w, "Edit1")->text().isEmpty() && box(w, "Edit4")->text().isEmpty());
            fill(w, full);
            w->close();
        });
        QCOMPARE(window.ask(), TfErdeklodo::Outcome::Abandon);
        answers.handle([&](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
        QCOMPARE(window.ask(), TfErdeklodo::Outcome::Abandon);
        QCOMPARE(answers.pending(), 0);
        // The window itself writes nothing.
        window.tErdeklodo().open();
        QCOMPARE(window.tErdeklodo().recordCount(), 0);
    }

    void handoutRecords()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor handouts(db, tables::erdeklodok, false);
        const Buyer buyer {QStringLiteral("O'Brien Ődön"), QStringLiteral("Győr, Rózsa u. 1."),
                           QStringLiteral("20/1"), QStringLiteral("XY-1")};
        const QDateTime when(QDate(2024, 3, 5), QTime(14, 30, 0));
        ErdeklodoFelvitel(handouts, 7, QStringLiteral("A-7"), buyer, when);
        ErdeklodoFelvitel(handouts, 8, QStringLiteral("A-8"), buyer, when);
        ErdeklodoFelvitel(handouts, 9, QStringLiteral("A-9"), buyer, when);
        QCOMPARE(handouts.recordCount(), 3);
        for (int i = 0; i < 3; ++i) {
            const Record r = handouts.recordAt(i);
            QCOMPARE(r.number(QStringLiteral("IngatlanId")), 7.0 + i);
            QCOMPARE(r.text(QStringLiteral("IngatlanAzon")), QStringLiteral("A-%1").arg(7 + i));
            QCOMPARE(r.text(QStringLiteral("Name")), buyer.name);
            QCOMPARE(r.text(QStringLiteral("Address")), buyer.address);
            QCOMPARE(r.text(QStringLiteral("Telefon")), buyer.telefon);
            QCOMPARE(r.text(QStringLiteral("Szigsz")), buyer.szigsz);
            QCOMPARE(r.dateTime(QStringLiteral("When")), when);
        }

        // The latest handout is the property's last record, also after its identifier changed;
        // other properties' handouts are not taken.
        ErdeklodoFelvitel(handouts, 8, QStringLiteral("B-8"),
                          {QStringLiteral("Második"), {}, {}, {}}, when.addDays(1));
        ErdeklodoFelvitel(handouts, 9, QStringLiteral("A-9"),
                          {QStringLiteral("Harmadik"), {}, {}, {}}, when.addDays(2));
        Record latest = latestHandout(handouts, 8);
        QCOMPARE(latest.text(QStringLiteral("Name")), QStringLiteral("Második"));
        QCOMPARE(latest.text(QStringLiteral("IngatlanAzon")), QStringLiteral("B-8"));
        QCOMPARE(handouts.recordCount(), 2);
        QVERIFY(latestHandout(handouts, 10).isNull());

        // Without a time given, the handout is stamped now.
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        handouts.setFiltered(false);
        ErdeklodoFelvitel(handouts, 11, QStringLiteral("C"), buyer);
        QVERIFY(latestHandout(handouts, 11).dateTime(QStringLiteral("When")) >= before);
    }
};

QTEST_MAIN(TestErdeklodo)
#include "test_erdeklodo.moc"
