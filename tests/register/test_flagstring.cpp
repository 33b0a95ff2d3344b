#include "register/flagstring.h"

#include <QtTest>

// The two stored encodings of a multiple-choice list, which the modify and browse windows read
// back and the data sheets print.
class TestFlagString : public QObject
{
    Q_OBJECT

private slots:
    void encodings()
    {
        const QStringList parkolas {QStringLiteral("garázs"), QStringLiteral("beálló"),
                                    QStringLiteral("nincs"), QStringLiteral("egyéb")};
        const QList<bool> garageAndNone {true, false, true, false};
        QCOMPARE(flagstring::fromTicks(garageAndNone), QStringLiteral("1010"));
        QCOMPARE(flagstring::captionList(parkolas, garageAndNone), QStringLiteral("garázs, nincs"));

        QList<bool> onlyFirst(12, false);
        onlyFirst[0] = true;
        QCOMPARE(flagstring::fromTicks(onlyFirst), QStringLiteral("100000000000"));

        const QStringList teto {QStringLiteral("cserép"),
                                QStringLiteral("pala"),
                                QStringLiteral("hullámpala"),
                                QStringLiteral("zsindely"),
                                QStringLiteral("bitumenes zsindely"),
                                QStringLiteral("egyéb:")};
        const QList<bool> onlyOther {false, false, false, false, false, true};
        QCOMPARE(flagstring::fromTicks(onlyOther), QStringLiteral("000001"));
        QCOMPARE(flagstring::captionList(teto, onlyOther), QStringLiteral("egyéb:"));

        const QList<bool> none(6, false);
        QCOMPARE(flagstring::fromTicks(none), QStringLiteral("000000"));
        QCOMPARE(flagstring::captionList(teto, none), QString());
        QCOMPARE(flagstring::captionList(teto, QList<bool>(6, true)),
                 QStringLiteral("cserép, pala, hullámpala, zsindely, bitumenes zsindely, egyéb:"));
    }

    void ticking()
    {
        // Shorter texts untick what lies beyond them; anything but "1" unticks.
        QCOMPARE(flagstring::toTicks(QStringLiteral("0101"), 6),
                 (QList<bool> {false, true, false, true, false, false}));
        QCOMPARE(flagstring::toTicks(QString(), 4), QList<bool>(4, false));
        QCOMPARE(flagstring::toTicks(QStringLiteral("1x1 "), 4),
                 (QList<bool> {true, false, true, false}));
        // The clearing text is longer than every list; the extra characters are ignored.
        QCOMPARE(flagstring::toTicks(QStringLiteral("00000000000000"), 3), QList<bool>(3, false));
        QCOMPARE(flagstring::toTicks(QStringLiteral("111"), 2), QList<bool>(2, true));
        // Round trip for every length a list has.
        for (int length = 1; length <= 12; ++length) {
            QList<bool> ticks;
            for (int i = 0; i < length; ++i)
                ticks << (i % 3 == 1);
            QCOMPARE(flagstring::toTicks(flagstring::fromTicks(ticks), length), ticks);
        }
    }
};

QTEST_GUILESS_MAIN(TestFlagString)
#include "test_flagstring.moc"
