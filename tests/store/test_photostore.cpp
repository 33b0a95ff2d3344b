#include "store/database.h"
#include "store/datadirectory.h"
#include "store/photostore.h"
#include "tests/support/tempdatadir.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(nincs)");
}

int count(Database &db, const QString &table)
{
    QSqlQuery query(db.connection());
    query.exec(u"SELECT COUNT(*) FROM %1"_s.arg(table));
    return query.next() ? query.value(0).toInt() : -1;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Properties 1 to `last`, the last naming `photo` in Kep1.
void addProperties(Database &db, int last, const QString &photo)
{
    QSqlQuery query(db.connection());
    for (int id = 1; id <= last; ++id) {
        query.prepare(u"INSERT INTO egyszeru (Id, Azonosito, Kep1) VALUES (?, ?, ?)"_s);
        query.addBindValue(id);
        query.addBindValue(u"A%1"_s.arg(id));
        query.addBindValue(id == last ? photo : QString());
        QVERIFY(query.exec());
    }
}

} // namespace

// What a start finds in the Images folder after a crash, and what it makes of it.
class TestPhotoStore : public QObject
{
    Q_OBJECT

private slots:
    void recordedMovesFinishAtTheNextStart()
    {
        TempDataDir dir;
        const QString images = datadirectory::imagesDir(dir.path());
        {
            Database db(dir.path());
            datadirectory::prepare(db);
            addProperties(db, 5, u"5-1.jpg"_s);
            write(images + u"5-1.jpg"_s, "régi");
            write(images + u".5-1.jpg.Ab12Cd"_s, "új");
            write(images + u".5-2.jpg.Xy34Zw"_s, "második");
            Database::Transaction unit(db);
            const QList<qint64> rows = photostore::record(
                db, {{u".5-1.jpg.Ab12Cd"_s, u"5-1.jpg"_s}, {u".5-2.jpg.Xy34Zw"_s, u"5-2.jpg"_s}});
            QCOMPARE(rows.size(), 2);
            unit.commit();
            // Killed here: the record is committed, the files are not yet in place.
        }
        QCOMPARE(read(images + u"5-1.jpg"_s), QByteArray("régi"));
        for (int start = 0; start < 2; ++start) {
            Database db(dir.path());
            datadirectory::prepare(db);
            QCOMPARE(count(db, u"kepcsere"_s), 0);
            QCOMPARE(read(images + u"5-1.jpg"_s), QByteArray("új"));
            QCOMPARE(read(images + u"5-2.jpg"_s), QByteArray("második"));
            QCOMPARE(filesIn(images), (QStringList {u"5-1.jpg"_s, u"5-2.jpg"_s}));
        }

        // Moves recorded in a unit that was rolled back are not done; its temporaries go.
        {
            Database db(dir.path());
            datadirectory::prepare(db);
            write(images + u".5-1.jpg.Qq77Rr"_s, "elveszett");
            Database::Transaction unit(db);
            photostore::record(db, {{u".5-1.jpg.Qq77Rr"_s, u"5-1.jpg"_s}});
        }
        {
            Database db(dir.path());
            datadirectory::prepare(db);
            QCOMPARE(read(images + u"5-1.jpg"_s), QByteArray("új"));
            QCOMPARE(filesIn(images), (QStringList {u"5-1.jpg"_s, u"5-2.jpg"_s}));
        }
    }

    void leftoversSwept()
    {
        TempDataDir dir;
        const QString images = datadirectory::imagesDir(dir.path());
        {
            Database db(dir.path());
            datadirectory::prepare(db);
            addProperties(db, 6, u"6-1.jpg"_s);
            QSqlQuery query(db.connection());
            QVERIFY(query.exec(u"INSERT INTO archiv (Azonosito, Kep2) VALUES ('R', '9-2.jpg')"_s));
        }
        const QStringList kept {u"3-2.jpg"_s, u"6-1.jpg"_s, u"9-2.jpg"_s, u"logo.jpg"_s,
                                u"megjegyzes.txt"_s};
        for (const QString &name : kept)
            write(images + name, name.toUtf8());
        // Temporaries of units that never committed, and photos of a number never given out,
        // which the next property would otherwise find in its empty slots.
        for (const char *name :
             {".6-2.jpg.AAbb12", ".7-1.jpg.x9Y8z7", "7-1.jpg", "7-3.jpg", "120-4.jpg"})
            write(images + QString::fromUtf8(name), "maradék");

        // While another copy has the register open, nothing is swept.
        {
            Database first(dir.path());
            datadirectory::prepare(first);
            QCOMPARE(filesIn(images), kept);
            for (const char *name : {".6-2.jpg.AAbb12", "7-1.jpg"})
                write(images + QString::fromUtf8(name), "maradék");
            Database second(dir.path());
            datadirectory::prepare(second);
            QCOMPARE(filesIn(images),
                     (QStringList {u".6-2.jpg.AAbb12"_s, u"3-2.jpg"_s, u"6-1.jpg"_s, u"7-1.jpg"_s,
                                   u"9-2.jpg"_s, u"logo.jpg"_s, u"megjegyzes.txt"_s}));
        }
        Database db(dir.path());
        datadirectory::prepare(db);
        QCOMPARE(filesIn(images), kept);
        for (const QString &name : kept)
            QCOMPARE(read(images + name), name.toUtf8());
        QVERIFY(photostore::isTemporaryName(u".57-1.jpg.aB3dE9"_s));
        QVERIFY(!photostore::isTemporaryName(u"57-1.jpg"_s));
        QVERIFY(!photostore::isTemporaryName(u".hidden"_s));
    }
};

QTEST_GUILESS_MAIN(TestPhotoStore)
#include "test_photostore.moc"
