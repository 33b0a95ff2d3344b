#include "database.h"
#include "datadirectory.h"
#include "photostore.h"
#include "tempdatadir.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

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
    query.exec(s("SELECT COUNT(*) FROM %1").arg(table));
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
        query.prepare(s("INSERT INTO egyszeru (Id, Azonosito, Kep1) VALUES (?, ?, ?)"));
        query.addBindValue(id);
        query.addBindValue(s("A%1").arg(id));
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
            addProperties(db, 5, s("5-1.jpg"));
            write(images + s("5-1.jpg"), "régi");
            write(images + s(".5-1.jpg.Ab12Cd"), "új");
            write(images + s(".5-2.jpg.Xy34Zw"), "második");
            Database::Transaction unit(db);
            const QList<qint64> rows = photostore::record(
                db, {{s(".5-1.jpg.Ab12Cd"), s("5-1.jpg")}, {s(".5-2.jpg.Xy34Zw"), s("5-2.jpg")}});
            QCOMPARE(rows.size(), 2);
            unit.commit();
            // Killed here: the record is committed, the files are not yet in place.
        }
        QCOMPARE(read(images + s("5-1.jpg")), QByteArray("régi"));
        for (int start = 0; start < 2; ++start) {
            Database db(dir.path());
            datadirectory::prepare(db);
            QCOMPARE(count(db, s("kepcsere")), 0);
            QCOMPARE(read(images + s("5-1.jpg")), QByteArray("új"));
            QCOMPARE(read(images + s("5-2.jpg")), QByteArray("második"));
            QCOMPARE(filesIn(images), (QStringList {s("5-1.jpg"), s("5-2.jpg")}));
        }

        // Moves recorded in a unit that was rolled back are not done; its temporaries go.
        {
            Database db(dir.path());
            datadirectory::prepare(db);
            write(images + s(".5-1.jpg.Qq77Rr"), "elveszett");
            Database::Transaction unit(db);
            photostore::record(db, {{s(".5-1.jpg.Qq77Rr"), s("5-1.jpg")}});
        }
        {
            Database db(dir.path());
            datadirectory::prepare(db);
            QCOMPARE(read(images + s("5-1.jpg")), QByteArray("új"));
            QCOMPARE(filesIn(images), (QStringList {s("5-1.jpg"), s("5-2.jpg")}));
        }
    }

    void leftoversSwept()
    {
        TempDataDir dir;
        const QString images = datadirectory::imagesDir(dir.path());
        {
            Database db(dir.path());
            datadirectory::prepare(db);
            addProperties(db, 6, s("6-1.jpg"));
            QSqlQuery query(db.connection());
            QVERIFY(query.exec(s("INSERT INTO archiv (Azonosito, Kep2) VALUES ('R', '9-2.jpg')")));
        }
        const QStringList kept {s("3-2.jpg"), s("6-1.jpg"), s("9-2.jpg"), s("logo.jpg"),
                                s("megjegyzes.txt")};
        for (const QString &name : kept)
            write(images + name, name.toUtf8());
        // Temporaries of units that never committed, and photos of a number never given out,
        // which the next property would otherwise find in its empty slots.
        for (const char *name :
             {".6-2.jpg.AAbb12", ".7-1.jpg.x9Y8z7", "7-1.jpg", "7-3.jpg", "120-4.jpg"})
            write(images + s(name), "maradék");

        // While another copy has the register open, nothing is swept.
        {
            Database first(dir.path());
            datadirectory::prepare(first);
            QCOMPARE(filesIn(images), kept);
            for (const char *name : {".6-2.jpg.AAbb12", "7-1.jpg"})
                write(images + s(name), "maradék");
            Database second(dir.path());
            datadirectory::prepare(second);
            QCOMPARE(filesIn(images),
                     (QStringList {s(".6-2.jpg.AAbb12"), s("3-2.jpg"), s("6-1.jpg"), s("7-1.jpg"),
                                   s("9-2.jpg"), s("logo.jpg"), s("megjegyzes.txt")}));
        }
        Database db(dir.path());
        datadirectory::prepare(db);
        QCOMPARE(filesIn(images), kept);
        for (const QString &name : kept)
            QCOMPARE(read(images + name), name.toUtf8());
        QVERIFY(photostore::isTemporaryName(s(".57-1.jpg.aB3dE9")));
        QVERIFY(!photostore::isTemporaryName(s("57-1.jpg")));
        QVERIFY(!photostore::isTemporaryName(s(".hidden")));
    }
};

QTEST_GUILESS_MAIN(TestPhotoStore)
#include "test_photostore.moc"
