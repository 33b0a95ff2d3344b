#include "store/changelog.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/schema.h"
#include "store/tables.h"
#include "tests/support/errorof.h"
#include "tests/support/oldregister.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"

#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

// How a register comes to be and how it is brought up to date: made whole or not at all, and
// one of an earlier build upgraded in place without losing a row.
class TestSchema : public QObject
{
    Q_OBJECT

    static int rows(Database &db, const QString &table)
    {
        QSqlQuery query = db.query(QStringLiteral("SELECT COUNT(*) FROM ") + table);
        return query.next() ? query.value(0).toInt() : -1;
    }
    static bool hasColumn(Database &db, const QString &table, const QString &column)
    {
        return db.connection().record(table).indexOf(column) >= 0;
    }
    static double settingsVersion(Database &db)
    {
        Cursor settings(db, tables::defaults, false);
        return settings.number(QStringLiteral("Version"));
    }
    // Every table and column of the list, as a new register has them.
    static void checkFullLayout(Database &db)
    {
        QCOMPARE(schema::layoutOf(db), tables::layoutVersion);
        for (const TableDef &table : tables::all()) {
            for (const FieldDef &field : table.fields) {
                if (!hasColumn(db, table.name, field.name))
                    QFAIL(qPrintable(table.name + QLatin1Char('.') + field.name));
            }
        }
    }

private slots:
    void newRegisterIsMadeWhole()
    {
        TempDataDir dir;
        {
            Database db(dir.path(), datadirectory::seed);
            QVERIFY(db.createdNow());
            checkFullLayout(db);
            QCOMPARE(settingsVersion(db), 3.0);
            QVERIFY(rows(db, tables::itypes) > 10);
            QVERIFY(rows(db, tables::telepules) > 50);
        }
        Database again(dir.path(), datadirectory::seed);
        QVERIFY(!again.createdNow());
        QCOMPARE(rows(again, tables::defaults), 1); // seeded once only
    }

    // A first start that fails half way through the reference rows leaves no register that
    // every later start would refuse: the next start makes it again, whole.
    void failedSeedLeavesNothingHalfMade()
    {
        TempDataDir dir;
        const QString error = errorOf([&] {
            Database db(dir.path(), [](Database &db) {
                datadirectory::seed(db);
                throw StoreError(QStringLiteral("Megszakadt."));
            });
        });
        QCOMPARE(error, QStringLiteral("Megszakadt."));
        if (!testserver::active())
            QVERIFY(QFile::exists(dir.filePath(QLatin1String(Database::fileName))));
        Database db(dir.path(), datadirectory::seed);
        QVERIFY(db.createdNow());
        checkFullLayout(db);
        QCOMPARE(rows(db, tables::defaults), 1);
        QCOMPARE(settingsVersion(db), 3.0);
    }

    // The same, with the first start killed for real between its tables and its rows.
    void killedFirstStartIsMadeAgain()
    {
        TempDataDir dir;
        QProcess killed;
        killed.start(QStringLiteral(PELMORA_SEEDKILLER), {dir.path()});
        QVERIFY(killed.waitForFinished(60000));
        QCOMPARE(killed.exitStatus(), QProcess::CrashExit);
        if (!testserver::active())
            QVERIFY(QFile::exists(dir.filePath(QLatin1String(Database::fileName))));

        Database db(dir.path(), datadirectory::seed);
        QVERIFY(db.createdNow());
        QCOMPARE(rows(db, tables::defaults), 1);
        QCOMPARE(settingsVersion(db), 3.0);
        QVERIFY(rows(db, tables::itypes) > 10);
    }

    // A register of a build before the tables and columns added since: it gains them in place,
    // keeps every row, and keeps its settings version, which the start-up check reads.
    void oldRegisterIsUpgradedInPlace()
    {
        PELMORA_SQLITE_ONLY();
        for (const int version : {3, 2}) {
            TempDataDir dir;
            QCOMPARE(writeOldRegister(dir.filePath(QLatin1String(Database::fileName)), version),
                     QString());
            {
                Database db(dir.path(), datadirectory::seed);
                QVERIFY(!db.createdNow());
                checkFullLayout(db);
                QCOMPARE(settingsVersion(db), double(version)); // refused at start-up when 2
                QCOMPARE(rows(db, tables::defaults), 1);
                QCOMPARE(rows(db, tables::itypes), 1); // no reference rows added
                QCOMPARE(rows(db, tables::hirkivonat), 0);
                QCOMPARE(rows(db, tables::kepcsere), 0);
                QCOMPARE(rows(db, tables::ftpkapcsolat), 0);
                QCOMPARE(rows(db, tables::naplo), 0);
            }
            Database db(dir.path());
            checkFullLayout(db);
            Cursor c(db, tables::egyszeru, true);
            c.setFilterText(QStringLiteral("CimVaros = 'GYŐ*' and TipusText = 'családi*'"));
            c.setFiltered(true);
            QCOMPARE(c.recordCount(), 1);
            QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("RÉGI-1"));
            QCOMPARE(c.number(QStringLiteral("Ar")), 25000000.0);
            QCOMPARE(c.text(QStringLiteral("LeirasMagyar")),
                     QStringLiteral("Első sor\r\nMásodik sor"));
            QCOMPARE(c.text(QStringLiteral("PrintText")), QStringLiteral("Igen"));
            QCOMPARE(c.text(QStringLiteral("CimUtca")), QString()); // gained, empty
            c.setIndexName(QStringLiteral("ivaros")); // the named indexes are there
            QCOMPARE(rows(db, tables::tulajdonos), 1);
            // The working list row of a window long gone belongs to no list of today.
            QCOMPARE(rows(db, tables::dtulaj), 1);
            QSqlQuery indexes = db.query(
                QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND "
                               "tbl_name = 'egyszeru'"));
            QVERIFY(indexes.next());
            QCOMPARE(indexes.value(0).toInt(),
                     tables::def(tables::egyszeru).indexes.size() +
                         tables::def(tables::egyszeru).filterIndexes.size());
        }
    }

    // A register of the layout before the price order lost the print mark and the handouts
    // their index: the price order is made anew in the upgrade, the handouts' index added, the
    // rows and the print list untouched, and the order still serves.
    void priceOrderIsRemadeWithoutThePrintMark()
    {
        PELMORA_SQLITE_ONLY();
        TempDataDir dir;
        auto indexSql = [](Database &db) {
            QSqlQuery query = db.query(QStringLiteral(
                "SELECT sql FROM sqlite_master WHERE type = 'index' AND name = 'egyszeru_iar'"));
            return query.next() ? query.value(0).toString() : QString();
        };
        {
            Database db(dir.path(), datadirectory::seed);
            QVERIFY(!indexSql(db).contains(QStringLiteral("Print")));
            Cursor c(db, tables::egyszeru, true);
            for (int i = 0; i < 3; ++i) {
                c.append();
                c.setValue(QStringLiteral("Azonosito"), QStringLiteral("A%1").arg(i));
                c.setValue(QStringLiteral("Ar"), 30 - i * 10);
                c.setValue(QStringLiteral("Print"), i != 1);
                c.post();
            }
            db.exec(QStringLiteral("DROP INDEX egyszeru_iar"));
            db.exec(QStringLiteral("CREATE INDEX egyszeru_iar ON egyszeru "
                                   "(Ar, CimVaros_f, TipusText_f, Print)"));
            db.exec(QStringLiteral("DROP INDEX erdeklodok_IngatlanId"));
            db.exec(QStringLiteral("PRAGMA user_version = 2"));
        }
        Database db(dir.path(), datadirectory::seed);
        checkFullLayout(db);
        const QString remade = indexSql(db);
        QVERIFY(remade.contains(QStringLiteral("TipusText_f")));
        QVERIFY(!remade.contains(QStringLiteral("Print")));
        QSqlQuery handouts = db.query(
            QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM erdeklodok WHERE IngatlanId = 5"));
        QVERIFY(handouts.next());
        QVERIFY(handouts.value(3).toString().contains(QStringLiteral("USING INDEX")));
        Cursor c(db, tables::egyszeru, true);
        c.setIndexName(QStringLiteral("iar"));
        QStringList order;
        for (c.first(); !c.atEnd(); c.next())
            order << c.text(QStringLiteral("Azonosito")) +
                    (c.boolean(QStringLiteral("Print")) ? QStringLiteral("*") : QString());
        QCOMPARE(
            order,
            (QStringList {QStringLiteral("A2*"), QStringLiteral("A1"), QStringLiteral("A0*")}));
    }

    // A register of the layout before the change log gains its table, empty and indexed, in
    // the upgrade; its rows stay, and the log takes entries at once.
    void layoutThreeRegisterGainsTheLog()
    {
        PELMORA_SQLITE_ONLY();
        TempDataDir dir;
        {
            Database db(dir.path(), datadirectory::seed);
            Cursor c(db, tables::egyszeru, true);
            c.append();
            c.setValue(QStringLiteral("Azonosito"), QStringLiteral("MARAD-1"));
            c.post();
            db.exec(QStringLiteral("DROP TABLE naplo"));
            db.exec(QStringLiteral("PRAGMA user_version = 3"));
        }
        {
            Database db(dir.path(), datadirectory::seed);
            QVERIFY(!db.createdNow());
            checkFullLayout(db);
            QCOMPARE(rows(db, tables::naplo), 0);
            QCOMPARE(rows(db, tables::egyszeru), 1);
            QCOMPARE(rows(db, tables::defaults), 1);
            for (const QString &column :
                 {QStringLiteral("IngatlanId"), QStringLiteral("ArchivId")}) {
                QSqlQuery plan =
                    db.query(QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM naplo WHERE %1 = 1")
                                 .arg(column));
                QVERIFY(plan.next());
                QVERIFY(plan.value(3).toString().contains(QStringLiteral("USING INDEX")));
            }
            changelog::Entry entry;
            entry.action = changelog::felvitel;
            entry.propertyId = 1;
            changelog::append(db, entry);
        }
        Database db(dir.path());
        QCOMPARE(schema::layoutOf(db), tables::layoutVersion);
        QCOMPARE(changelog::ofProperty(db, 1).size(), 1);
        Cursor c(db, tables::egyszeru, true);
        c.open();
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("MARAD-1"));
    }

    // A build that counted no layout may have made some of the later tables already.
    void partlyUpgradedRegisterGainsTheRest()
    {
        PELMORA_SQLITE_ONLY();
        TempDataDir dir;
        const QString file = dir.filePath(QLatin1String(Database::fileName));
        QCOMPARE(writeOldRegister(file), QString());
        {
            Database db(dir.path());
            db.exec(QStringLiteral("PRAGMA user_version = 0"));
            db.exec(QStringLiteral("DROP TABLE kepcsere"));
            db.exec(QStringLiteral("ALTER TABLE dtulaj DROP COLUMN Munkalista"));
            db.exec(QStringLiteral("INSERT INTO hirkivonat (Kivonat) VALUES ('abc')"));
        }
        Database db(dir.path());
        checkFullLayout(db);
        QCOMPARE(rows(db, tables::hirkivonat), 1);
        QCOMPARE(rows(db, tables::egyszeru), 1);
    }

    // An upgrade that fails half way leaves the register as it was, to be tried again.
    void failedUpgradeChangesNothing()
    {
        PELMORA_SQLITE_ONLY();
        TempDataDir dir;
        const QString file = dir.filePath(QLatin1String(Database::fileName));
        QCOMPARE(writeOldRegister(file), QString());
        {
            Database db(dir.path());
            db.exec(QStringLiteral("PRAGMA user_version = 0"));
            db.exec(QStringLiteral("DROP TABLE ftpkapcsolat"));
            db.exec(QStringLiteral("DROP TABLE kepcsere"));
            db.exec(QStringLiteral("ALTER TABLE dtulaj DROP COLUMN Munkalista"));
            // Something of another name in the way of the new table.
            db.exec(QStringLiteral("CREATE VIEW kepcsere AS SELECT 1"));
        }
        QVERIFY(!errorOf([&] { Database db(dir.path()); }).isEmpty());
        QSqlDatabase raw =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("failedUpgrade"));
        raw.setDatabaseName(file);
        QVERIFY(raw.open());
        {
            QSqlQuery query(raw);
            QVERIFY(query.exec(QStringLiteral("PRAGMA user_version")) && query.next());
            QCOMPARE(query.value(0).toInt(), 0);
            QCOMPARE(raw.record(QStringLiteral("dtulaj")).indexOf(QStringLiteral("Munkalista")),
                     -1);
            QVERIFY(raw.record(QStringLiteral("ftpkapcsolat")).isEmpty());
        }
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("failedUpgrade"));
    }

    // Windows size their boxes by asking the list; a misspelt name must fail loudly, as a
    // message, rather than leave a box that takes any length.
    void fieldsAreLookedUpInTheList()
    {
        QCOMPARE(tables::width(tables::egyszeru, QStringLiteral("Azonosito")), 20);
        QCOMPARE(tables::width(tables::egyszeru, QStringLiteral("cimirsz")), 4);
        QCOMPARE(tables::width(tables::defaults, QStringLiteral("Telefon")), 200);
        QCOMPARE(tables::field(tables::egyszeru, QStringLiteral("LeirasMagyar")).kind,
                 FieldKind::Memo);
        QCOMPARE(tables::width(tables::egyszeru, QStringLiteral("Ar")), 0);
        QCOMPARE(errorOf([] { tables::width(tables::egyszeru, QStringLiteral("Nincs")); }),
                 QStringLiteral("Ismeretlen mező: egyszeru.Nincs"));
        QVERIFY(!errorOf([] {
                     tables::field(QStringLiteral("nincs"), QStringLiteral("Name"));
                 }).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
