#include "store/cp1250.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The UTF-8 form must give, character for character, what the UTF-16 form gives: the portal's
// files are written from either.
class TestCp1250 : public QObject
{
    Q_OBJECT

private slots:
    void utf8AndUtf16GiveTheSameBytes()
    {
        for (char32_t code = 0; code <= 0x10FFFF; ++code) {
            if (code >= 0xD800 && code < 0xE000)
                continue;
            const QString text = QString::fromUcs4(&code, 1);
            QByteArray fromUtf16("x");
            QByteArray fromUtf8("x");
            cp1250::append(fromUtf16, text);
            QVERIFY(cp1250::appendUtf8(fromUtf8, text.toUtf8()));
            if (fromUtf8 != fromUtf16)
                QFAIL(qPrintable(u"U+%1"_s.arg(quint32(code), 4, 16, QLatin1Char('0'))));
        }
        QCOMPARE(cp1250::encode(u"őű ŐŰ áé €'%"_s),
                 QByteArray("\xf5\xfb \xd5\xdb \xe1\xe9 \x80'%"));
        QCOMPARE(cp1250::encode(u"ñ日😀"_s), QByteArray("???"));
        QByteArray out("a");
        QVERIFY(cp1250::appendUtf8(out, u"Győr\r\n😀\t"_s.toUtf8()));
        QCOMPARE(out, QByteArray("aGy\xf5r\r\n?\t"));
    }

    void illFormedUtf8AppendsNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("cut short") << QByteArray("ab\xc3");
        QTest::newRow("lone continuation") << QByteArray("a\x80z");
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf");
        QTest::newRow("overlong three bytes") << QByteArray("\xe0\x80\xaf");
        QTest::newRow("surrogate") << QByteArray("A\xed\xa0\x80");
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80");
        QTest::newRow("not a lead byte") << QByteArray("\xff");
        QTest::newRow("continuation missing") << QByteArray("\xe2\x82z");
    }

    void illFormedUtf8AppendsNothing()
    {
        QFETCH(QByteArray, bytes);
        QByteArray out("kept");
        QVERIFY(!cp1250::appendUtf8(out, bytes));
        QCOMPARE(out, QByteArray("kept"));
    }
};

QTEST_GUILESS_MAIN(TestCp1250)
#include "test_cp1250.moc"
