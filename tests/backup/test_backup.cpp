#include "backup/backup.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/support/tempdatadir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>
#include <memory>

namespace {

// Every row of every table, as text, in stored order.
QStringList dumpTables(Database &db)
{
    QStringList rows;
    for (const TableDef &table : tables::all()) {
        QSqlQuery query(db.connection());
        if (!query.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table.name))) {
            // Recorded as a row, so the comparison that uses the dump fails and names the table.
            rows << QStringLiteral("cannot read ") + table.name;
            continue;
        }
        while (query.next()) {
            QStringList values {table.name};
            for (int i = 0; i < query.record().count(); ++i)
                values << query.value(i).toString();
            rows << values.join(QLatin1Char('|'));
        }
    }
    return rows;
}

QMap<QString, QByteArray> photoBytes(const QString &dataDir)
{
    QMap<QString, QByteArray> photos;
    const QDir images(datadirectory::imagesDir(dataDir));
    for (const QString &name : images.entryList(QDir::Files)) {
        QFile file(images.filePath(name));
        file.open(QIODevice::ReadOnly);
        photos.insert(name, file.readAll());
    }
    return photos;
}

void addProperty(Database &db, const QString &azonosito, double ar)
{
    Cursor c(db, tables::egyszeru, true);
    c.open();
    c.append();
    c.setValue(QStringLiteral("Azonosito"), azonosito);
    c.setValue(QStringLiteral("Ar"), ar);
    c.setValue(QStringLiteral("CimVaros"), QStringLiteral("Győr"));
    c.post();
}

void addRow(Database &db, const QString &table, const QString &field, const QString &value)
{
    Cursor c(db, table, false);
    c.open();
    c.append();
    c.setValue(field, value);
    c.post();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// A register with a little of everything, photos among them.
std::unique_ptr<Database> filledRegister(const QString &dataDir)
{
    auto db = std::make_unique<Database>(dataDir, datadirectory::seed);
    datadirectory::prepare(*db);
    addProperty(*db, QStringLiteral("GY-1"), 25000000);
    addProperty(*db, QStringLiteral("GY-2 O'Brien"), 31500000);
    addRow(*db, tables::archiv, QStringLiteral("Azonosito"), QStringLiteral("R-9"));
    addRow(*db, tables::erdeklodes, QStringLiteral("Nev"), QStringLiteral("Kovács Éva"));
    Cursor settings(*db, tables::defaults, false);
    settings.open();
    settings.edit();
    settings.setValue(QStringLiteral("Name"), QStringLiteral("Ház és Otthon Kft."));
    settings.post();
    writeFile(datadirectory::imagesDir(dataDir) + QStringLiteral("1-1.jpg"), randomBytes(70000, 1));
    writeFile(datadirectory::imagesDir(dataDir) + QStringLiteral("1-2.jpg"), randomBytes(5000, 2));
    writeFile(datadirectory::imagesDir(dataDir) + QStringLiteral("2-1.jpg"), QByteArray());
    return db;
}

QString stagingDir(const QString &dataDir)
{
    return dataDir + QStringLiteral(".visszaallitas");
}

} // namespace

// Backups made, checked and restored on real data directories and real archive files.
class TestBackup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

    // A refused file names its fault, leaves no unpacked copy and touches no current data.
    static void expectRefused(const QString &archive, const QString &dataDir, Database &db,
                              const QString &fault)
    {
        const QStringList before = dumpTables(db);
        const auto photos = photoBytes(dataDir);
        QString message;
        try {
            backup::stage(archive, dataDir);
        } catch (const StoreError &error) {
            message = error.message();
        }
        QVERIFY2(message.startsWith(QStringLiteral("A kiválasztott fájl nem állítható vissza.")),
                 qPrintable(message));
        QVERIFY2(message.contains(fault), qPrintable(message));
        QVERIFY(!QFileInfo::exists(stagingDir(dataDir)));
        QVERIFY(!backup::stagedReady(dataDir));
        QCOMPARE(dumpTables(db), before);
        QCOMPARE(photoBytes(dataDir), photos);
    }

private slots:
    void initTestCase()
    {
        // The workstation settings of this run stay in a folder of its own.
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    }

    void backupAndRestoreGiveTheSameData()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        auto db = filledRegister(dir.path());
        const QStringList tablesAtBackup = dumpTables(*db);
        const auto photosAtBackup = photoBytes(dir.path());
        const QByteArray licence = readFile(datadirectory::licencePath(dir.path()));

        qint64 lastDone = -1, lastTotal = 0;
        int calls = 0;
        const QString path = backup::create(*db, folder.path(), [&](qint64 done, qint64 total) {
            if (done < lastDone)
                qWarning("progress went back");
            lastDone = done;
            lastTotal = total;
            ++calls;
            return true;
        });
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(QRegularExpression(QStringLiteral("^pelmora-\\d{4}-\\d{2}-\\d{2}-\\d{4}\\.tar$"))
                    .match(QFileInfo(path).fileName())
                    .hasMatch());
        QVERIFY(calls > 0);
        QCOMPARE(lastDone, lastTotal);
        // Nothing but the backup is left in the folder.
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList {QFileInfo(path).fileName()});

        // Work goes on after the backup: a new property, a photo gone, a new name.
        addProperty(*db, QStringLiteral("GY-3"), 1000);
        QFile::remove(datadirectory::imagesDir(dir.path()) + QStringLiteral("1-2.jpg"));
        writeFile(datadirectory::imagesDir(dir.path()) + QStringLiteral("3-1.jpg"),
                  randomBytes(100, 3));
        const QStringList tablesAfter = dumpTables(*db);

        const std::optional<backup::Contents> contents = backup::stage(path, dir.path());
        QVERIFY(contents);
        QCOMPARE(contents->properties, 2);
        QCOMPARE(contents->archived, 1);
        QCOMPARE(contents->requests, 1);
        QCOMPARE(contents->photos, 3);
        QVERIFY(contents->made.isValid());
        // Checking changed nothing yet.
        QCOMPARE(dumpTables(*db), tablesAfter);

        const QString aside = backup::confirmStaged(dir.path(), QDateTime::currentDateTime());
        QVERIFY(backup::stagedReady(dir.path()));
        db.reset();
        QCOMPARE(backup::commitStaged(dir.path()), aside);

        Database restored(dir.path());
        QCOMPARE(dumpTables(restored), tablesAtBackup);
        QCOMPARE(photoBytes(dir.path()), photosAtBackup);
        QCOMPARE(readFile(datadirectory::licencePath(dir.path())), licence);
        QVERIFY(!QFileInfo::exists(stagingDir(dir.path())));

        // The data replaced is kept whole beside it.
        Database kept(aside);
        QCOMPARE(dumpTables(kept), tablesAfter);
        QVERIFY(QFileInfo::exists(aside + QStringLiteral("/Images/3-1.jpg")));
        QVERIFY(QFileInfo::exists(aside + QStringLiteral("/licence.txt")));
    }

    void cancelledWorkLeavesNothing()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        auto db = filledRegister(dir.path());
        int calls = 0;
        const auto cancelSecond = [&calls](qint64, qint64) {
            return ++calls < 2;
        };
        QCOMPARE(backup::create(*db, folder.path(), cancelSecond), QString());
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList());

        const QString path = backup::create(*db, folder.path());
        calls = 0;
        QVERIFY(!backup::stage(path, dir.path(), cancelSecond));
        QVERIFY(!QFileInfo::exists(stagingDir(dir.path())));
    }

    void damagedOrForeignFilesAreRefused()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        auto db = filledRegister(dir.path());
        const QString good = backup::create(*db, folder.path());
        const QByteArray bytes = readFile(good);

        const QString text = folder.filePath(QStringLiteral("level.tar"));
        writeFile(text, "Kedves Ügyfelünk!\n");
        expectRefused(text, dir.path(), *db, QStringLiteral("sérült, vagy nem Pelmora"));

        const QString empty = folder.filePath(QStringLiteral("ures.tar"));
        writeFile(empty, QByteArray());
        expectRefused(empty, dir.path(), *db, QStringLiteral("nem Pelmora"));

        expectRefused(folder.filePath(QStringLiteral("nincs.tar")), dir.path(), *db,
                      QStringLiteral("nem nyitható meg"));

        // Some other program's tar, holding a file of the same name.
        const QString foreignDir = folder.filePath(QStringLiteral("idegen"));
        QDir().mkpath(foreignDir);
        writeFile(foreignDir + QStringLiteral("/pelmora.sqlite"), "nem adatbázis");
        const QString foreign = folder.filePath(QStringLiteral("idegen.tar"));
        QCOMPARE(QProcess::execute(QStringLiteral("tar"),
                                   {QStringLiteral("-cf"), foreign, QStringLiteral("-C"),
                                    foreignDir, QStringLiteral("pelmora.sqlite")}),
                 0);
        expectRefused(foreign, dir.path(), *db, QStringLiteral("nem Pelmora biztonsági mentés"));

        // Cut short: at half, and just before the list at its end.
        const QString half = folder.filePath(QStringLiteral("fel.tar"));
        writeFile(half, bytes.left(bytes.size() / 2));
        expectRefused(half, dir.path(), *db, QStringLiteral("sérült"));
        const qsizetype listAt = bytes.lastIndexOf("pelmora-mentes.txt");
        QVERIFY(listAt > 0);
        const QString cut = folder.filePath(QStringLiteral("csonka.tar"));
        writeFile(cut, bytes.left(listAt - listAt % 512));
        expectRefused(cut, dir.path(), *db, QStringLiteral("nem Pelmora"));

        // One byte of a photo changed.
        QByteArray flipped = bytes;
        const qsizetype photoAt = bytes.indexOf(randomBytes(70000, 1).mid(30000, 64));
        QVERIFY(photoAt > 0);
        flipped[photoAt] = char(flipped[photoAt] ^ 0x40);
        const QString changed = folder.filePath(QStringLiteral("valtozott.tar"));
        writeFile(changed, flipped);
        expectRefused(changed, dir.path(), *db, QStringLiteral("Images/1-1.jpg"));

        // A backup never leaves a staged copy that a later start would take for confirmed.
        QVERIFY(backup::stage(good, dir.path()));
        backup::discardStaged(dir.path());
        QVERIFY(!QFileInfo::exists(stagingDir(dir.path())));
    }

    void damagedDatabaseIsRefused()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        {
            auto db = filledRegister(dir.path());
            for (int i = 0; i < 200; ++i)
                addProperty(*db, QStringLiteral("T-%1").arg(i), i);
        }
        // Garbage over the tables' pages, the file header left intact: the backup copies the
        // pages as they are, and only the check on restore can tell.
        {
            QFile file(dir.filePath(QString::fromLatin1(Database::fileName)));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.size() > 8 * 4096);
            file.seek(4 * 4096);
            file.write(randomBytes(3 * 4096, 7));
        }
        auto db = std::make_unique<Database>(dir.path());
        const QString path = backup::create(*db, folder.path());
        expectRefused(path, dir.path(), *db, QStringLiteral("adatbázisa sérült"));
    }

    void otherVersionIsRefused()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        auto db = filledRegister(dir.path());
        db->exec(QStringLiteral("UPDATE defaults SET Version = 2"));
        const QString path = backup::create(*db, folder.path());
        db->exec(QStringLiteral("UPDATE defaults SET Version = 3"));
        expectRefused(path, dir.path(), *db, QStringLiteral("adatbázis-verziója (2)"));
    }

    void rotationKeepsTheNewest()
    {
        QTemporaryDir folder;
        QStringList names;
        for (int day = 1; day <= 13; ++day)
            names
                << QStringLiteral("pelmora-2026-11-%1-0930.tar").arg(day, 2, 10, QLatin1Char('0'));
        names << QStringLiteral("pelmora-2026-12-01-0800.tar");
        for (const QString &name : names)
            writeFile(folder.filePath(name), "x");
        for (const char *other :
             {"pelmora-jegyzet.tar", "pelmora-2026-01-01-0000.tar.txt", "regi.tar"})
            writeFile(folder.filePath(QString::fromLatin1(other)), "y");

        QCOMPARE(backup::rotate(folder.path(), 10), 4);
        QStringList left = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(left.size(), 13);
        for (int i = 4; i < names.size(); ++i)
            QVERIFY2(left.contains(names[i]), qPrintable(names[i]));
        QVERIFY(left.contains(QStringLiteral("pelmora-jegyzet.tar")));
        QVERIFY(left.contains(QStringLiteral("regi.tar")));
        QCOMPARE(backup::rotate(folder.path(), 10), 0);
        QCOMPARE(backup::rotate(folder.path(), 1), 9);
        QVERIFY(QFileInfo::exists(folder.filePath(QStringLiteral("pelmora-2026-12-01-0800.tar"))));
    }

    // A restore cut off half-way is finished by the next start; one never confirmed is dropped.
    void startUpFinishesOrDropsARestore()
    {
        TempDataDir dir;
        QTemporaryDir folder;
        auto db = filledRegister(dir.path());
        const QStringList atBackup = dumpTables(*db);
        const QString path = backup::create(*db, folder.path());
        addProperty(*db, QStringLiteral("UJ-1"), 5);
        const QStringList after = dumpTables(*db);

        QVERIFY(backup::stage(path, dir.path()));
        db.reset();
        backup::recover(dir.path());
        QVERIFY(!QFileInfo::exists(stagingDir(dir.path())));
        db = std::make_unique<Database>(dir.path());
        QCOMPARE(dumpTables(*db), after);

        QVERIFY(backup::stage(path, dir.path()));
        const QString aside = backup::confirmStaged(dir.path(), QDateTime::currentDateTime());
        db.reset();
        // As if the power went right after the current database was moved aside.
        QDir().mkpath(aside);
        QVERIFY(QDir().rename(dir.filePath(QStringLiteral("pelmora.sqlite")),
                              aside + QStringLiteral("/pelmora.sqlite")));
        backup::recover(dir.path());
        QVERIFY(!QFileInfo::exists(stagingDir(dir.path())));
        db = std::make_unique<Database>(dir.path());
        QCOMPARE(dumpTables(*db), atBackup);
        Database kept(aside);
        QCOMPARE(dumpTables(kept), after);
    }

    void settingsAreKeptPerWorkstation()
    {
        TempDataDir dir;
        const backup::Settings defaults = backup::loadSettings();
        QCOMPARE(defaults.keep, 10);
        QVERIFY(defaults.atQuit);
        QCOMPARE(backup::folderFor(defaults, dir.path()), dir.path() + QStringLiteral("mentesek/"));

        backup::saveSettings({QStringLiteral("/srv/mentes"), 3, false});
        const backup::Settings read = backup::loadSettings();
        QCOMPARE(read.folder, QStringLiteral("/srv/mentes"));
        QCOMPARE(read.keep, 3);
        QVERIFY(!read.atQuit);
        QCOMPARE(backup::folderFor(read, dir.path()), QStringLiteral("/srv/mentes"));
        QVERIFY(QFileInfo::exists(m_config.path() + QStringLiteral("/Pelmora/Pelmora.conf")));
        backup::saveSettings({});
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "test_backup.moc"
