#include "store/cp1250.h"
#include "store/filter.h"
#include "store/textformat.h"

#include <QtTest>

class TestTextFormat : public QObject
{
    Q_OBJECT

private slots:
    void rounding_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("72,5") << 72.5 << 72.0;
        QTest::newRow("73,5") << 73.5 << 74.0;
        QTest::newRow("72,6") << 72.6 << 73.0;
        QTest::newRow("-0,4") << -0.4 << 0.0;
        QTest::newRow("-2,5") << -2.5 << -2.0;
        QTest::newRow("299,7") << 299.7 << 300.0;
        QTest::newRow("large half") << 12500000.5 << 12500000.0;
        QTest::newRow("large odd half") << 12500001.5 << 12500002.0;
        QTest::newRow("beyond 32 bits") << 5000000000.5 << 5000000000.0;
    }

    void rounding()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(textformat::roundHalfEven(value), expected);
    }

    void timestamps()
    {
        QCOMPARE(textformat::timestampText(QDateTime(QDate(2026, 12, 9), QTime(0, 0))),
                 QStringLiteral("2026. 12. 09."));
        QCOMPARE(textformat::timestampText(QDateTime(QDate(2026, 12, 9), QTime(8, 5, 3))),
                 QStringLiteral("2026. 12. 09. 8:05:03"));
        QCOMPARE(textformat::timestampText(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59))),
                 QStringLiteral("2024. 02. 29. 23:59:59"));
    }

    void numbersAndMoney()
    {
        QCOMPARE(textformat::numberText(3), QStringLiteral("3"));
        QCOMPARE(textformat::numberText(12.5), QStringLiteral("12,5"));
        QCOMPARE(textformat::numberText(9999999999.0), QStringLiteral("9999999999"));
        QCOMPARE(textformat::filterNumber(12.5), QStringLiteral("12.5"));
        QCOMPARE(textformat::filterNumber(9999999999.0), QStringLiteral("9999999999"));
        QCOMPARE(textformat::filterNumber(1e17), QStringLiteral("100000000000000000"));
        QCOMPARE(Filter::parse(QStringLiteral("Ar <= ") + textformat::filterNumber(1e17))
                     .root()
                     ->constant.number,
                 1e17);
        QString money = textformat::moneyText(12500000);
        money.replace(QChar(0xa0), QLatin1Char(' '));
        QCOMPARE(money, QStringLiteral("12 500 000 Ft"));
        QCOMPARE(textformat::moneyText(0).replace(QChar(0xa0), QLatin1Char(' ')),
                 QStringLiteral("0 Ft"));
    }

    void memoLineBreaks()
    {
        QCOMPARE(textformat::memoFromEdit(QStringLiteral("a\nb\r\nc")),
                 QStringLiteral("a\r\nb\r\nc"));
        QCOMPARE(textformat::memoToEdit(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
    }

    void foldingAndSorting()
    {
        QCOMPARE(textformat::fold(QStringLiteral("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP")),
                 QStringLiteral("árvíztűrő tükörfúrógép"));
        QStringList words {QStringLiteral("Pécs"),         QStringLiteral("Örkény"),
                           QStringLiteral("Ózd"),          QStringLiteral("Ács"),
                           QStringLiteral("Zalaegerszeg"), QStringLiteral("Abony"),
                           QStringLiteral("Orosháza")};
        std::sort(words.begin(), words.end(), [](const QString &a, const QString &b) {
            return textformat::sortKey(a) < textformat::sortKey(b);
        });
        QCOMPARE(
            words,
            QStringList({QStringLiteral("Abony"), QStringLiteral("Ács"), QStringLiteral("Orosháza"),
                         QStringLiteral("Ózd"), QStringLiteral("Örkény"), QStringLiteral("Pécs"),
                         QStringLiteral("Zalaegerszeg")}));
    }

    void windows1250()
    {
        QCOMPARE(cp1250::encode(QStringLiteral("őŐűŰ€")), QByteArray("\xf5\xd5\xfb\xdb\x80"));
        QCOMPARE(cp1250::decode(QByteArray("\xf5\xd5\xfb\xdb\x80")), QStringLiteral("őŐűŰ€"));
        QCOMPARE(cp1250::encode(QStringLiteral("ñ日")), QByteArray("??"));
        // Bytes Windows-1250 leaves undefined read as "?".
        for (const char b : {'\x81', '\x83', '\x88', '\x90', '\x98'})
            QCOMPARE(cp1250::decode(QByteArray(1, b)), QStringLiteral("?"));
        for (int b = 0; b < 256; ++b) {
            const QByteArray one(1, static_cast<char>(b));
            const QString text = cp1250::decode(one);
            if (text != QStringLiteral("?"))
                QCOMPARE(cp1250::encode(text), one);
        }
    }
};

QTEST_GUILESS_MAIN(TestTextFormat)
#include "test_textformat.moc"
