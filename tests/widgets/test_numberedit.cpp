#include "widgets/numberedit.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest>

// The number edit as a user types into it: grouped digits, a suffix, what cannot be taken turned
// into the nearest value it can hold, and a wheel that only acts on the edit with the focus.
class TestNumberEdit : public QObject
{
    Q_OBJECT

private:
    // The text on screen with the regional group separator (a no-break space) made plain.
    static QString shown(const NumberEdit &edit)
    {
        QString text = edit.text();
        text.replace(QChar(0x00A0), QLatin1Char(' ')).replace(QChar(0x202F), QLatin1Char(' '));
        return text;
    }

    static void typeInto(NumberEdit &edit, const QString &keys)
    {
        edit.setFocus();
        edit.selectAll();
        QTest::keyClicks(&edit, keys);
        QTest::keyClick(&edit, Qt::Key_Return);
    }

    static bool turnWheel(QWidget &target)
    {
        const QPointF at(target.width() / 2.0, target.height() / 2.0);
        QWheelEvent wheel(at, target.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&target, &wheel);
        return wheel.isAccepted();
    }

private slots:
    void typingAndShowing()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *price = new NumberEdit(QStringLiteral("nAr"), QStringLiteral(" Ft"), 0, 2e9);
        auto *rooms = makeCounter(QStringLiteral("rSzoba"));
        layout->addWidget(price);
        layout->addWidget(rooms);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));

        typeInto(*price, QStringLiteral("12500000"));
        QCOMPARE(price->value(), 12500000.0);
        QCOMPARE(shown(*price), QStringLiteral("12 500 000 Ft"));

        // Fractions are kept as typed; the whole number shown is the one that will be stored.
        typeInto(*rooms, QStringLiteral("2,5"));
        QCOMPARE(rooms->value(), 2.5);
        QCOMPARE(rooms->wholeValue(), 2);
        QCOMPARE(shown(*rooms), QStringLiteral("2 darab"));
        typeInto(*rooms, QStringLiteral("3,5"));
        QCOMPARE(rooms->wholeValue(), 4);
        QCOMPARE(shown(*rooms), QStringLiteral("4 darab"));

        // A counter fits its 16-bit field: more becomes the most it holds, not a wrapped value.
        typeInto(*rooms, QStringLiteral("99999"));
        QCOMPARE(rooms->wholeValue(), 32767);
        // The minus key is refused where nothing below zero makes sense.
        typeInto(*rooms, QStringLiteral("-5"));
        QCOMPARE(rooms->wholeValue(), 5);
        // Letters are refused; an emptied edit is 0.
        typeInto(*rooms, QStringLiteral("x7y"));
        QCOMPARE(rooms->wholeValue(), 7);
        rooms->setFocus();
        rooms->selectAll();
        QTest::keyClick(rooms, Qt::Key_Delete);
        QTest::keyClick(rooms, Qt::Key_Return);
        QCOMPARE(rooms->wholeValue(), 0);
        QCOMPARE(shown(*rooms), QStringLiteral("0 darab"));

        // A value set by the program shows grouped with its suffix.
        price->setValue(49900000);
        QCOMPARE(shown(*price), QStringLiteral("49 900 000 Ft"));
    }

    void wheelOnlyWithFocus()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *first = makeCounter(QStringLiteral("rSzoba"));
        auto *second = makeCounter(QStringLiteral("rFurdo"));
        layout->addWidget(first);
        layout->addWidget(second);
        first->setValue(3);
        second->setValue(3);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        first->setFocus();
        QTRY_VERIFY(first->hasFocus());

        // The edit without the focus leaves the turn to whatever scrolls around it.
        QVERIFY(!turnWheel(*second));
        QCOMPARE(second->wholeValue(), 3);
        QVERIFY(!second->hasFocus());
        // The edit with the focus takes it.
        turnWheel(*first);
        QCOMPARE(first->wholeValue(), 4);
        QCOMPARE(first->focusPolicy(), Qt::StrongFocus);
    }
};

QTEST_MAIN(TestNumberEdit)
#include "test_numberedit.moc"
