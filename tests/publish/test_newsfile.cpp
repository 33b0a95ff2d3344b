#include "publish/newsfile.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"
#include "tests/publish/publishtestdata.h"
#include "tests/support/tempdatadir.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// "news.txt" read by its line rules, stored as messages and search requests in one unit.
class TestNewsFile : public QObject
{
    Q_OBJECT

private:
    static QByteArray inquiry(const QByteArray &artol = "10000000",
                              const QByteArray &arig = "25000000")
    {
        return "2026.12.02 11:00\r\nKiss Anna\r\n2\r\nKiss Anna\r\n6720\r\nSzeged\r\nF\xf5 u. "
               "1.\r\nCsongr\xe1\x64\r\n"
               "+36 30 1234567\r\nanna@pelda.hu\r\nCsal\xe1\x64i h\xe1z\r\nSzeged\r\nKertes "
               "h\xe1zat keresek\r\n" +
            artol + "\r\n" + arig + "\r\n";
    }

    static QStringList rows(Database &db, const QString &table, const QStringList &fields)
    {
        Cursor c(db, table, false);
        QStringList result;
        for (c.first(); !c.isEmpty() && !c.atEnd(); c.next()) {
            QStringList values;
            for (const QString &field : fields) {
                const QVariant value = c.value(field);
                values << (value.typeId() == QMetaType::Double
                               ? QString::number(value.toDouble(), 'f', 0)
                               : value.toString());
            }
            result << values.join(u'|');
            if (c.position() == c.recordCount() - 1)
                break;
        }
        return result;
    }

    static QStringList messages(Database &db)
    {
        return rows(db, tables::hirek, {u"Mikor"_s, u"Kuldo"_s, u"Action"_s, u"Uzenet"_s});
    }

    static QStringList requests(Database &db)
    {
        return rows(db, tables::erdeklodes,
                    {u"Nev"_s, u"CimIrsz"_s, u"CimVaros"_s, u"CimUtca"_s, u"CimMegye"_s,
                     u"Telefon"_s, u"Email"_s, u"TipusText"_s, u"Telepules"_s, u"Szoveg"_s,
                     u"Artol"_s, u"Arig"_s, u"Tipus"_s, u"Utkozes"_s});
    }

private slots:
    void readsAndStores_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("inquiries");
        QTest::addColumn<QStringList>("log");

        QTest::newRow("news and inquiry")
            << QByteArray("2026.12.01 10:00\r\nPelmora\r\n1\r\n\xdc\x64v\xf6zl\xfcnk!\r\n") +
                inquiry()
            << QStringList {u"2026.12.01 10:00|Pelmora|1|Üdvözlünk!"_s,
                            u"2026.12.02 11:00|Kiss Anna|2|Érdeklődés érkezett."_s}
            << 1 << QStringList {u"2 új hír érkezett."_s, u"1 új érdeklődés érkezett."_s};
        QTest::newRow("news only") << QByteArray("a\r\nb\r\n1\r\nx\r\nc\r\nd\r\n1\r\ny\r\n")
                                   << QStringList {u"a|b|1|x"_s, u"c|d|1|y"_s} << 0
                                   << QStringList {u"2 új hír érkezett."_s};
        QTest::newRow("other action code shows its line")
            << QByteArray("a\r\nb\r\n7\r\nc\r\nd\r\n-3\r\n")
            << QStringList {u"a|b|7|7"_s, u"c|d|-3|-3"_s} << 0
            << QStringList {u"2 új hír érkezett."_s};
        QTest::newRow("lone CR, lone LF inside, no final line end")
            << QByteArray("a\rb\nc\r1\rhello") << QStringList {u"a|b\nc|1|hello"_s} << 0
            << QStringList {u"1 új hír érkezett."_s};
        QTest::newRow("0x1A ends the file")
            << QByteArray("a\r\nb\r\n1\r\nx\r\n\x1a\x63\r\nd\r\n") << QStringList {u"a|b|1|x"_s}
            << 0 << QStringList {u"1 új hír érkezett."_s};
        QTest::newRow("blank lines after the last entry")
            << QByteArray("a\r\nb\r\n1\r\nx\r\n\r\n\r\n") << QStringList {u"a|b|1|x"_s} << 0
            << QStringList {u"1 új hír érkezett."_s};
        QTest::newRow("empty file")
            << QByteArray() << QStringList {} << 0 << QStringList {u"0 új hír érkezett."_s};
        QTest::newRow("undefined and NUL bytes")
            << QByteArray("a\x81\r\nb\x98\r\n1\r\nx\0y\r\n", 16)
            << QStringList {u"a?|b?|1|x"_s + QChar(0) + u"y"_s} << 0
            << QStringList {u"1 új hír érkezett."_s};
        QTest::newRow("long text cut to its field")
            << QByteArray("a\r\nb\r\n1\r\n") + QByteArray(1 << 20, 'z') + "\r\n"
            << QStringList {u"a|b|1|"_s + QString(255, u'z')} << 0
            << QStringList {u"1 új hír érkezett."_s};
        QTest::newRow("inquiry prices at the 32-bit limits")
            << inquiry("-2147483648", "2147483647")
            << QStringList {u"2026.12.02 11:00|Kiss Anna|2|Érdeklődés érkezett."_s} << 1
            << QStringList {u"1 új hír érkezett."_s, u"1 új érdeklődés érkezett."_s};
    }

    void readsAndStores()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, stored);
        QFETCH(int, inquiries);
        QFETCH(QStringList, log);

        TempDataDir data;
        Database db(data.path());
        WorkDir work;
        work.write(u"news.txt"_s, file);
        QStringList logged;
        NewsCounts counts;
        QVERIFY(ProcessNewsFile(
            db, work.path() + u"news.txt"_s, [&](const QString &line) { logged << line; },
            &counts));
        QCOMPARE(logged, log);
        QCOMPARE(messages(db), stored);
        QCOMPARE(counts.messages, stored.size());
        QCOMPARE(counts.inquiries, inquiries);
        QCOMPARE(requests(db).size(), inquiries);
        QVERIFY(!QFileInfo::exists(work.path() + u"news.txt"_s));
    }

    void inquiryBecomesSearchRequest()
    {
        TempDataDir data;
        Database db(data.path());
        WorkDir work;
        work.write(u"news.txt"_s, inquiry());
        const QDateTime before = QDateTime::currentDateTime();
        QVERIFY(ProcessNewsFile(db, work.path() + u"news.txt"_s, [](const QString &) {}));
        QCOMPARE(
            requests(db),
            QStringList {
                u"Kiss Anna|6720|Szeged|Fő u. 1.|Csongrád|+36 30 1234567|anna@pelda.hu|Családi ház|"
                u"Szeged|Kertes házat keresek|10000000|25000000|0|false"_s});
        // Recorded at the time of processing, not the time the portal gave.
        Cursor c(db, tables::erdeklodes, false);
        const QString mikor = c.text(u"Mikor"_s);
        QVERIFY2(mikor.startsWith(QLocale::system().toString(before.date(), QLocale::ShortFormat)),
                 qPrintable(mikor));
    }

    void malformedStoresNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("where");
        const QByteArray good = "a\r\nb\r\n1\r\nx\r\n";
        QTest::newRow("action not a number") << good + "c\r\nd\r\nhat\r\ny\r\n" << u"7. sor"_s;
        QTest::newRow("action empty") << good + "c\r\nd\r\n\r\ny\r\n" << u"7. sor"_s;
        QTest::newRow("action beyond 16 bits") << good + "c\r\nd\r\n40000\r\n" << u"7. sor"_s;
        QTest::newRow("price not a number") << good + inquiry("sok") << u"18. sor"_s;
        QTest::newRow("price beyond 32 bits") << good + inquiry("10", "3000000000") << u"19. sor"_s;
        QTest::newRow("ends inside an entry") << good + "c\r\nd\r\n1\r\n" << u"8. sor"_s;
        QTest::newRow("ends inside an inquiry") << good + inquiry().left(60) << u"sor"_s;
        QTest::newRow("LF alone reads as one line") << QByteArray("a\nb\n1\nx\n") << u"2. sor"_s;
    }

    void malformedStoresNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, where);
        TempDataDir data;
        Database db(data.path());
        Cursor hirek(db, tables::hirek, false);
        addRecord(hirek, {{u"Mikor"_s, u"régi"_s}, {u"Uzenet"_s, u"megvan"_s}, {u"Action"_s, 1}});
        Cursor erdeklodes(db, tables::erdeklodes, false);
        addRecord(erdeklodes, {{u"Nev"_s, u"Régi Róbert"_s}});

        WorkDir work;
        work.write(u"news.txt"_s, file);
        QStringList logged;
        NewsCounts counts;
        QVERIFY(!ProcessNewsFile(
            db, work.path() + u"news.txt"_s, [&](const QString &line) { logged << line; },
            &counts));
        QCOMPARE(logged.size(), 1);
        QVERIFY2(logged.first().contains(where), qPrintable(logged.first()));
        QCOMPARE(messages(db), QStringList {u"régi||1|megvan"_s});
        QCOMPARE(requests(db).size(), 1);
        // Kept aside for the portal, so that it no longer holds up the next run.
        QVERIFY(counts.malformed);
        QVERIFY(counts.keptAside.startsWith(data.path() + u"hibas-hirek/news-"_s));
        QVERIFY2(logged.first().contains(counts.keptAside), qPrintable(logged.first()));
        QFile copy(counts.keptAside);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), file);
        QVERIFY(!QFileInfo::exists(work.path() + u"news.txt"_s));
    }

    // Two refused files in one second keep both copies; where no copy can be made, the file
    // itself stays for another try.
    void refusedFilesKeptApart()
    {
        TempDataDir data;
        Database db(data.path());
        WorkDir work;
        QStringList kept;
        for (const QByteArray &file : {QByteArray("a\r\nb\r\nx\r\n"), QByteArray("c\r\n")}) {
            work.write(u"news.txt"_s, file);
            NewsCounts counts;
            QVERIFY(!ProcessNewsFile(
                db, work.path() + u"news.txt"_s, [](const QString &) {}, &counts));
            kept << counts.keptAside;
        }
        QCOMPARE(QDir(RefusedNewsDir(data.path())).entryList(QDir::Files).size(), 2);
        QVERIFY(kept[0] != kept[1]);

        QVERIFY(QDir(RefusedNewsDir(data.path())).removeRecursively());
        QFile blocker(data.path() + u"hibas-hirek"_s);
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        work.write(u"news.txt"_s, "a\r\nb\r\nx\r\n");
        QStringList logged;
        NewsCounts counts;
        QVERIFY(!ProcessNewsFile(
            db, work.path() + u"news.txt"_s, [&](const QString &line) { logged << line; },
            &counts));
        QVERIFY(counts.malformed);
        QVERIFY(counts.keptAside.isEmpty());
        QVERIFY2(logged.value(0).contains(u"másolata sem menthető"_s), qPrintable(logged.value(0)));
        QCOMPARE(work.read(u"news.txt"_s), QByteArray("a\r\nb\r\nx\r\n"));
    }

    // A file the server kept comes again, perhaps with more entries after the old ones: only
    // what was not stored before is stored, twin entries of one file each once.
    void entriesStoredOnce()
    {
        TempDataDir data;
        Database db(data.path());
        WorkDir work;
        const QByteArray twins = "a\r\nb\r\n1\r\nx\r\na\r\nb\r\n1\r\nx\r\n";
        const QByteArray first = twins + inquiry();
        const auto process = [&](const QByteArray &file, QStringList *logged) {
            work.write(u"news.txt"_s, file);
            NewsCounts counts;
            const bool ok = ProcessNewsFile(
                db, work.path() + u"news.txt"_s, [&](const QString &line) { *logged << line; },
                &counts);
            return ok ? counts : NewsCounts {-1, -1, -1, false, {}};
        };
        QStringList logged;
        NewsCounts counts = process(first, &logged);
        QCOMPARE(counts.messages, 3);
        QCOMPARE(counts.inquiries, 1);
        QCOMPARE(counts.alreadyStored, 0);

        logged.clear();
        counts = process(first, &logged);
        QCOMPARE(counts.messages, 0);
        QCOMPARE(counts.inquiries, 0);
        QCOMPARE(counts.alreadyStored, 3);
        QCOMPARE(
            logged,
            (QStringList {u"0 új hír érkezett."_s,
                          u"3 korábban már rögzített bejegyzés nem került újra rögzítésre."_s}));

        logged.clear();
        counts = process(first + "a\r\nb\r\n1\r\nx\r\nc\r\nd\r\n1\r\nuj\r\n", &logged);
        QCOMPARE(counts.messages, 2); // the third twin, and the new one
        QCOMPARE(counts.alreadyStored, 3);
        QCOMPARE(messages(db).size(), 5);
        QCOMPARE(requests(db).size(), 1);
        QCOMPARE(messages(db).last(), u"c|d|1|uj"_s);
    }

    void unreadableFile()
    {
        TempDataDir data;
        Database db(data.path());
        WorkDir work;
        QStringList logged;
        QVERIFY(!ProcessNewsFile(db, work.path() + u"news.txt"_s,
                                 [&](const QString &line) { logged << line; }));
        QCOMPARE(logged.size(), 1);
        QVERIFY(logged.first().contains(u"news.txt"_s));
        QVERIFY(messages(db).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNewsFile)
#include "test_newsfile.moc"
