#include "publish/uploadfiles.h"
#include "store/database.h"
#include "store/registerstate.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/publish/publishtestdata.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The three files the portal reads, compared with bytes written out by hand.
class TestUploadFiles : public QObject
{
    Q_OBJECT

private:
    // A register covering every column form: one property with everything, one with nothing
    // but its identifier, price and Web flag, and one that is not in the upload set.
    static void fillRegister(Cursor &c)
    {
        addRecord(c,
                  {
                      {u"Azonosito"_s, u"ÁRV-1\tx"_s},
                      {u"TipusId"_s, 2.5},
                      {u"TipusText"_s, u"Családi ház"_s},
                      {u"MinimumAr"_s, 11000000.0},
                      {u"Ar"_s, 12500000.5},
                      {u"EpitesEve"_s, 1985},
                      {u"FelujitasEve"_s, 2019},
                      {u"EpuletTerulet"_s, -0.4},
                      {u"TelekTerulet"_s, 720.5},
                      {u"TelekTeruletMertek"_s, u"négyszögöl"_s},
                      {u"OsszesHelyseg"_s, 5},
                      {u"Szoba"_s, 3},
                      {u"Garazs"_s, 1},
                      {u"CimIrsz"_s, u"6720"_s},
                      {u"CimVaros"_s, u"Hódmezővásárhely"_s},
                      {u"CimMegye"_s, u"Csongrád"_s},
                      {u"CimUtca"_s, u"Kossuth\r\nLajos"_s},
                      {u"CimHazszam"_s, u"12/B"_s},
                      {u"CimEmelet"_s, u"2."_s},
                      {u"CimAjto"_s, u"5"_s},
                      {u"Hrsz"_s, u"1234/5"_s},
                      {u"MegbizoNev"_s, u"Titkos Tamás"_s},
                      {u"Kep1"_s, u"1-1.jpg"_s},
                      {u"Kep3"_s, u"1-3.jpg"_s},
                      {u"Apro"_s, true},
                      {u"Telepulestis"_s, true},
                      {u"Kulcs"_s, true},
                      {u"LeirasMagyar"_s, u"Szép ház,\r\n3 szoba"_s},
                      {u"LeirasAngol"_s, u"50% + ÁFA"_s},
                      {u"LeirasNemet"_s, u"Schöne Lage 日"_s},
                      {u"CimRegio"_s, u"Dél-Alföld"_s},
                  });
        addRecord(c, {{u"Azonosito"_s, u"B-2"_s}, {u"Ar"_s, 12500001.5}, {u"Web"_s, true}});
        addRecord(c, {{u"Azonosito"_s, u"C\r\n3"_s}});
    }

    // Properties as agencies type them: accents of both cases, the euro sign, apostrophes,
    // percent and plus signs, memos of several lines, fractions of every rounding kind, empty
    // fields and flags in every combination.
    static void fillTypedRegister(Cursor &c)
    {
        const QStringList towns {u"Hódmezővásárhely"_s, u"Győr"_s,     u"ŐRSÉG"_s,
                                 u"Tűzköves"_s,         u"Ürömháza"_s, u"O'Neill-telep"_s};
        const QStringList memos {u"Szép ház, 3 szoba"_s,
                                 u"50% + ÁFA\r\n2. sor: ŐŰ őű"_s,
                                 u"\r\n"_s,
                                 u"It's 100% new; a+b=c & d/e?f#g"_s,
                                 u"Ára: 12 500 000 € – alkuképes"_s,
                                 QString()};
        for (int i = 0; i < 24; ++i) {
            QVariantMap v {{u"Azonosito"_s, u"ÁRV-%1'ő"_s.arg(i)},
                           {u"TipusId"_s, i * 0.5},
                           {u"TipusText"_s, i % 3 ? u"Családi ház"_s : u"Lakás (tégla)"_s},
                           {u"Ar"_s, 12500000.5 + i * 0.25},
                           {u"EpuletTerulet"_s, -2.5 + i},
                           {u"TelekTerulet"_s, i * 100.75},
                           {u"TelekTeruletMertek"_s, i % 2 ? u"négyszögöl"_s : u"hektár"_s},
                           {u"CimVaros"_s, towns[i % towns.size()]},
                           {u"CimUtca"_s, u"Kossuth Lajos u.\t%1"_s.arg(i)},
                           {u"LeirasMagyar"_s, memos[i % memos.size()]},
                           {u"LeirasAngol"_s, memos[(i + 1) % memos.size()]},
                           {u"LeirasApro"_s, u"ÉÁŰŐÚÖÜÓÍ éáűőúöüóí"_s},
                           {u"Apro"_s, i % 2 == 0},
                           {u"Web"_s, i % 3 == 0},
                           {u"Telepulestis"_s, i % 4 == 0},
                           {u"Feltoltve"_s, i % 5 == 0}};
            if (i % 2) {
                v.insert(u"EpitesEve"_s, 1900 + i);
                v.insert(u"Szoba"_s, i % 7);
                v.insert(u"Kep1"_s, u"%1-1.jpg"_s.arg(i));
                v.insert(u"CimRegio"_s, u"Dél-Dunántúl"_s);
            }
            addRecord(c, v);
        }
    }

    // Rows the table layer would never write but an older register or a hand-edited file may
    // hold: empty columns, numbers stored as text and text as numbers, numbers beyond their
    // field's size, characters outside Windows-1250 and bytes that are not UTF-8 at all.
    static void addForeignRows(Database &db)
    {
        db.exec(u"INSERT INTO egyszeru (Azonosito, TipusId, TipusText, Ar, EpitesEve, Szoba, "
                "Web, Apro, CimVaros, LeirasMagyar, CimRegio) VALUES (NULL, NULL, NULL, NULL, "
                "NULL, NULL, NULL, NULL, NULL, NULL, NULL)"_s);
        db.exec(u"INSERT INTO egyszeru (Azonosito, TipusId, Ar, EpitesEve, FelujitasEve, "
                "OsszesHelyseg, Szoba, Garazs, Web, Apro, Telepulestis, CimIrsz, CimUtca) VALUES "
                "(12345, '2.5', 'sok', 2.5, 5000000000, '12', ' 7 ', 'x', 2, 4294967296, -1, "
                "6720, 3.75)"_s);
        db.exec(u"INSERT INTO egyszeru (Azonosito, TipusText, CimVaros, LeirasMagyar, "
                "LeirasAngol, LeirasNemet, CimUtca, Hrsz, Web) VALUES ('ñ日😀', 'Kő ñ', "
                "'Mañana 😀', 'a😀b日c', CAST(x'48C3' AS TEXT), CAST(x'41EDA08042' AS TEXT), "
                "CAST(x'C3A90041' AS TEXT), x'C3A9', 1)"_s);
        db.exec(u"INSERT INTO egyszeru (Azonosito, Ar, TelekTerulet, EpuletTerulet, CimMegye, "
                "LeirasApro, Web) VALUES (CAST(x'C0AF' AS TEXT), 1e300, -0.5, 0.5, "
                "CAST(x'E282' AS TEXT), CAST(x'F4908080' AS TEXT), 1)"_s);
        db.tableChanged(tables::egyszeru);
    }

    static QByteArray expectedFile(const QString &name)
    {
        QFile file(QStringLiteral(PELMORA_UPLOAD_TEST_DATA "/") + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QByteArray firstDataLine()
    {
        return "1\t\xc1RV-1 "
               "x\t2\tCsal%E1di+h%"
               "E1z\t12500000\t1985\t2019\t0\t720\tn\xe9gysz\xf6g\xf6l\t5\t3\t1\t6720\t"
               "H%F3dmez%F5v%E1s%E1rhely\tCsongr\xe1\x64\tKossuth  "
               "Lajos\t12/B\t2.\t5\t1234/5\t1-1.jpg\t\t1-3.jpg\t\t"
               "1\t0\t1\tSz%E9p+h%E1z%2C%0D%0A3+szoba\t50%25+%2B+%C1FA\tSch%F6ne+Lage+%"
               "3F\t\tD\xe9l-Alf\xf6ld\r\n";
    }

    static QByteArray secondDataLine()
    {
        return "2\tB-"
               "2\t0\t\t12500002\t0\t0\t0\t0\t\t0\t0\t0\t\t\t\t\t\t\t\t\t\t\t\t\t0\t1\t0\t\t\t\t\t"
               "\r\n";
    }

private slots:
    void runStamp_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("example") << QDateTime(QDate(2005, 3, 1), QTime(12, 0))
                                 << u"63245361600000"_s;
        QTest::newRow("midnight") << QDateTime(QDate(2005, 3, 1), QTime(0, 0))
                                  << u"63245318400000"_s;
        QTest::newRow("last millisecond")
            << QDateTime(QDate(2005, 3, 1), QTime(23, 59, 59, 999)) << u"63245404799999"_s;
        QTest::newRow("leap day") << QDateTime(QDate(2024, 2, 29), QTime(8, 30, 15, 250))
                                  << u"63844878615250"_s;
        QTest::newRow("first day") << QDateTime(QDate(1, 1, 1), QTime(0, 0)) << u"86400000"_s;
    }

    void runStamp()
    {
        QFETCH(QDateTime, start);
        QFETCH(QString, stamp);
        QCOMPARE(MakeRunStamp(start), stamp);
    }

    void urlEncode()
    {
        QCOMPARE(UrlEncode(u"Szép ház, 3 szoba"_s), QByteArray("Sz%E9p+h%E1z%2C+3+szoba"));
        QCOMPARE(UrlEncode(u"50% + ÁFA"_s), QByteArray("50%25+%2B+%C1FA"));
        QCOMPARE(UrlEncode(u"a-b.c_d~e*f"_s), QByteArray("a%2Db%2Ec%5Fd%7Ee%2Af"));
        QCOMPARE(UrlEncode(u"őŰ€日"_s), QByteArray("%F5%DB%80%3F"));
        QCOMPARE(UrlEncode(QString()), QByteArray());

        // Every byte value: letters and digits pass, a blank is "+", the rest is "%XX".
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        const QByteArray encoded = UrlEncode(all);
        qsizetype at = 0;
        for (int b = 0; b < 256; ++b) {
            const bool plain =
                (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
            QByteArray expected = plain ? QByteArray(1, static_cast<char>(b))
                : b == ' '              ? QByteArray("+")
                           : "%" + QByteArray::number(b, 16).toUpper().rightJustified(2, '0');
            QCOMPARE(encoded.mid(at, expected.size()), expected);
            at += expected.size();
        }
        QCOMPARE(at, encoded.size());
    }

    void dataHeadAndUserFiles()
    {
        TempDataDir data;
        Database db(data.path());
        RegisterState cursors(db);
        fillRegister(cursors.tEgyszeru);
        setSettings(cursors.tDefaults,
                    {
                        {u"Userid"_s, u"abc123"_s},
                        {u"Name"_s, u"Példa Ingatlaniroda Kft."_s},
                        {u"Irsz"_s, u"6720"_s},
                        {u"Varos"_s, u"Szeged"_s},
                        {u"Megye"_s, u"Csongrád"_s},
                        {u"Utca"_s, u"Fő utca 1.\r\nII. em."_s},
                        {u"Contact"_s, u"Kovács Éva"_s},
                        {u"Telefon"_s, u"+36 62 123 456\t12"_s},
                        {u"Email"_s, u"iroda@pelda.hu"_s},
                        {u"Web"_s, u"www.pelda.hu"_s},
                        {u"Version"_s, 3.0},
                        {u"Ftppass"_s, u"titok"_s},
                    });
        Cursor &properties = cursors.tEgyszeru;
        properties.setFilterText(uploadFilter);
        properties.setFiltered(true);

        WorkDir work;
        const QDir here = QDir::current();
        QCOMPARE(WriteDataFile(u"7"_s, properties, here), work.path() + u"7ingatlan.data"_s);
        QCOMPARE(work.read(u"7ingatlan.data"_s), firstDataLine() + secondDataLine());

        // The head lists every property in the cursor's order, and leaves the filter off.
        properties.setIndexName(u"iar"_s);
        WriteHeadFile(u"7"_s, properties, here);
        QVERIFY(!properties.filtered());
        QCOMPARE(work.read(u"7ingatlan.head"_s),
                 QByteArray("3\tC  3\t\r\n1\t\xc1RV-1 x\t\r\n2\tB-2\t\r\n"));

        WriteUserFile(u"7"_s, cursors.tDefaults, here);
        QCOMPARE(work.read(u"7ingatlan.user"_s),
                 QByteArray(
                     "abc123\r\nP\xe9lda Ingatlaniroda Kft.\r\n6720\r\nSzeged\r\nCsongr\xe1\x64\r\n"
                     "F\xf5 utca 1.  II. em.\r\nKov\xe1\x63s \xc9va\r\n+36 62 123 "
                     "456\t12\r\niroda@pelda.hu\r\n"
                     "www.pelda.hu\r\n3\r\n"));

        // A fractional version keeps the regional decimal separator.
        setSettings(cursors.tDefaults, {{u"Version"_s, 3.25}});
        WriteUserFile(u"8"_s, cursors.tDefaults, here);
        QVERIFY(work.read(u"8ingatlan.user"_s).endsWith("www.pelda.hu\r\n3,25\r\n"));

        // Rewriting a file replaces it.
        properties.setIndexName(QString());
        properties.setFilterText(u"Web = True"_s);
        properties.setFiltered(true);
        WriteDataFile(u"7"_s, properties, here);
        QCOMPARE(work.read(u"7ingatlan.data"_s), secondDataLine());
    }

    void awkwardRegisterGivesTheKnownBytes_data()
    {
        QTest::addColumn<RegisterReader>("reader");
        QTest::newRow("straight from SQLite") << RegisterReader::Fastest;
        QTest::newRow("through Qt SQL") << RegisterReader::QtSql;
    }

    // The register with every kind of value, read through the upload set's filter in the price
    // order and in full in the identifier order: both readers write the files as the writers
    // wrote them when they read through Qt SQL alone.
    void awkwardRegisterGivesTheKnownBytes()
    {
        // Rows of the wrong types and bytes that are no UTF-8: the server refuses to hold them.
        PELMORA_SQLITE_ONLY();
        QFETCH(RegisterReader, reader);
        TempDataDir data;
        Database db(data.path());
        RegisterState cursors(db);
        fillTypedRegister(cursors.tEgyszeru);
        addForeignRows(db);
        Cursor &properties = cursors.tEgyszeru;
        WorkDir work;
        const QDir here = QDir::current();

        properties.setFilterText(uploadFilter);
        properties.setFiltered(true);
        properties.setIndexName(u"iar"_s);
        // The SQLite register is read straight, its filter's values bound as Qt SQL binds them.
        QCOMPARE(properties.scanDirect({u"Id"_s}, [](const directscan::Row &) {}),
                 std::optional<int>(properties.recordCount()));
        WriteDataFile(u"1"_s, properties, here, reader);
        QCOMPARE(work.read(u"1ingatlan.data"_s), expectedFile(u"awkward.data"_s));

        properties.setIndexName(u"iazonosito"_s);
        WriteHeadFile(u"1"_s, properties, here, reader);
        QCOMPARE(work.read(u"1ingatlan.head"_s), expectedFile(u"awkward.head"_s));
        WriteDataFile(u"2"_s, properties, here, reader);
        QCOMPARE(work.read(u"2ingatlan.data"_s), expectedFile(u"awkward-all.data"_s));

        // A filter binding texts and numbers, and a view that changed since it was last read.
        properties.setFilterText(u"CimVaros = 'Győr*' and Ar >= 12500002"_s);
        properties.setFiltered(true);
        QVERIFY(properties.recordCount() > 0);
        properties.last();
        properties.setValue(u"Ar"_s, 12500001.0);
        properties.post();
        WriteDataFile(u"3"_s, properties, here, reader);
        WriteDataFile(u"4"_s, properties, here, RegisterReader::QtSql);
        QCOMPARE(work.read(u"3ingatlan.data"_s).count("\r\n"), properties.recordCount());
        QCOMPARE(work.read(u"3ingatlan.data"_s), work.read(u"4ingatlan.data"_s));
    }

    void emptySetAndEmptyRegister()
    {
        TempDataDir data;
        Database db(data.path());
        RegisterState cursors(db);
        WorkDir work;
        WriteHeadFile(u"1"_s, cursors.tEgyszeru, QDir::current());
        QCOMPARE(QFileInfo(work.path() + u"1ingatlan.head"_s).size(), 0);

        fillRegister(cursors.tEgyszeru);
        cursors.tEgyszeru.setFilterText(u"Feltoltve = True"_s);
        cursors.tEgyszeru.setFiltered(true);
        WriteDataFile(u"2"_s, cursors.tEgyszeru, QDir::current());
        QVERIFY(QFileInfo::exists(work.path() + u"2ingatlan.data"_s));
        QCOMPARE(QFileInfo(work.path() + u"2ingatlan.data"_s).size(), 0);
        WriteHeadFile(u"2"_s, cursors.tEgyszeru, QDir::current());
        QCOMPARE(work.read(u"2ingatlan.head"_s).count("\r\n"), 3);
    }

    void numbersBeyondThirtyTwoBits()
    {
        TempDataDir data;
        Database db(data.path());
        RegisterState cursors(db);
        addRecord(cursors.tEgyszeru,
                  {{u"Azonosito"_s, u"N"_s},
                   {u"TipusId"_s, 3.5},
                   {u"Ar"_s, 3000000000.5},
                   {u"EpuletTerulet"_s, -2.5},
                   {u"TelekTerulet"_s, 1e20}});
        WorkDir work;
        WriteDataFile(u"1"_s, cursors.tEgyszeru, QDir::current());
        const QList<QByteArray> columns = work.read(u"1ingatlan.data"_s).chopped(2).split('\t');
        QCOMPARE(columns.size(), 33);
        QCOMPARE(columns[2], QByteArray("4"));
        QCOMPARE(columns[4], QByteArray("3000000000"));
        QCOMPARE(columns[7], QByteArray("-2"));
        QCOMPARE(columns[8], QByteArray("100000000000000000000"));
    }

    void unwritableDirectoryNamesTheFile()
    {
        TempDataDir data;
        Database db(data.path());
        RegisterState cursors(db);
        const QDir missing(data.path() + u"nincs/ilyen"_s);
        try {
            WriteDataFile(u"5"_s, cursors.tEgyszeru, missing);
            QFAIL("no error for a folder that does not exist");
        } catch (const StoreError &error) {
            QVERIFY2(error.message().contains(u"5ingatlan.data"_s), qPrintable(error.message()));
        }
        QVERIFY_THROWS_EXCEPTION(StoreError, WriteUserFile(u"5"_s, cursors.tDefaults, missing));
    }
};

QTEST_GUILESS_MAIN(TestUploadFiles)
#include "test_uploadfiles.moc"
