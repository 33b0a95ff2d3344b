// Works on the register of PELMORA_DATA without end, as an agency's busy day would, so that the
// crash test can kill it at any moment: stores, modifies, archives and deletes properties with
// photos and owners, and processes portal message files. Every record says what it was given
// (how many owners in `Szoba`, a detailed record in `Garazs`, the source of each photo in
// `TelekTeruletMertek`), so whoever looks afterwards can tell whether it came out whole.
//
// Usage: crashworker SEED SOURCEDIR WORKDIR. Prints "ready" once the register is open and one
// line per finished unit.

#include "publish/newsfile.h"
#include "register/archiving.h"
#include "register/propertystore.h"
#include "register/workingowners.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/registerstate.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

struct Worker
{
    Worker(Database &database, quint32 seed, const QString &sourceDir, const QString &workDir)
        : db(database)
        , random(seed)
        , sources(sourceDir)
        , work(workDir)
        , unit(int(seed % 100000) * 1000)
    { }

    Database &db;
    RegisterState c {db};
    QRandomGenerator random;
    QString sources;
    QString work;
    int unit;

    int below(int n) { return int(random.bounded(n)); }

    void fillOwners(int count)
    {
        emptyWorkingOwners(c.tdTulaj);
        c.tdTulaj.open();
        for (int i = 0; i < count; ++i) {
            c.tdTulaj.append();
            c.tdTulaj.setValue(u"Nev"_s, u"Tulaj %1-%2"_s.arg(unit).arg(i));
            c.tdTulaj.post();
        }
    }

    // Up to four photos from the eight sources; the code names the source of each slot.
    QStringList pickPhotos(int &count, QString &code)
    {
        QStringList photos;
        count = below(5);
        code.clear();
        for (int slot = 0; slot < count; ++slot) {
            const int source = below(8);
            photos << sources + u"forras%1.jpg"_s.arg(source);
            code += QString::number(source);
        }
        return photos;
    }

    QList<int> ids(const QString &table)
    {
        QList<int> found;
        QSqlQuery query(db.connection());
        query.exec(u"SELECT Id FROM %1"_s.arg(table));
        while (query.next())
            found << query.value(0).toInt();
        return found;
    }

    bool selectSome()
    {
        const QList<int> all = ids(u"egyszeru"_s);
        if (all.isEmpty())
            return false;
        c.tEgyszeru.open();
        c.tEgyszeru.setFiltered(false);
        return c.tEgyszeru.locate(u"Id = %1"_s.arg(all.at(below(int(all.size())))));
    }

    void store()
    {
        NewProperty property;
        const int owners = below(3);
        fillOwners(owners);
        QString code;
        property.photos = pickPhotos(property.photoCount, code);
        property.detailed = below(2) == 1;
        property.fields = {{u"Azonosito"_s, u"W%1"_s.arg(unit)},
                           {u"TipusText"_s, u"Lakás"_s},
                           {u"Ar"_s, 1000000 + unit},
                           {u"CimVaros"_s, u"Szeged"_s},
                           {u"CimMegye"_s, u"Csongrád"_s},
                           {u"Szoba"_s, owners},
                           {u"Garazs"_s, property.detailed ? 1 : 0},
                           {u"TelekTeruletMertek"_s, code}};
        storeNewProperty(c, property);
    }

    void modify()
    {
        if (!selectSome())
            return;
        // The owners go through the modify window's list and are written back as they were.
        loadWorkingOwners(c, c.tEgyszeru.integer(u"Id"_s));
        PropertyChanges changes;
        QString code;
        changes.photos = pickPhotos(changes.photoCount, code);
        const bool detailed = below(2) == 1;
        if (detailed)
            changes.writeDetailed = [](Cursor &) {
            };
        changes.fields = {{u"Garazs"_s, detailed ? 1 : 0}, {u"TelekTeruletMertek"_s, code}};
        saveModifiedProperty(c, changes);
    }

    void news()
    {
        const QString path = work + u"news.txt"_s;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return;
        // Each file differs, so a run that recognises files it stored before stores this one.
        const QByteArray tag =
            QByteArray::number(unit) + "-" + QByteArray::number(random.generate());
        file.write("2026.12.01 10:00\r\nPelmora\r\n1\r\n\xdc\x64v\xf6zl\xfcnk " + tag +
                   "!\r\n2026.12.02 11:00\r\nKiss Anna\r\n2\r\nKiss Anna\r\n6720\r\nSzeged\r\n"
                   "F\xf5 u. 1.\r\nCsongr\xe1\x64\r\n+36 30 1234567\r\nanna@pelda.hu\r\n"
                   "Csal\xe1\x64i h\xe1z\r\nSzeged\r\nKertes h\xe1zat keresek " +
                   tag + "\r\n10000000\r\n25000000\r\n");
        file.close();
        ProcessNewsFile(db, path, [](const QString &) {});
    }

    void step()
    {
        ++unit;
        const int kind = below(10);
        if (kind < 4)
            store();
        else if (kind < 7)
            modify();
        else if (kind == 7 && selectSome())
            archiveProperty(c, u"az ingatlan eladva"_s);
        else if (kind == 8 && selectSome())
            deletePropertyOutright(c);
        else if (kind == 9)
            news();
        std::printf("done %d\n", kind);
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    try {
        Database db(datadirectory::resolve(), datadirectory::seed);
        datadirectory::prepare(db);
        Worker worker(db, args.at(1).toUInt(), args.at(2), args.at(3));
        std::printf("ready\n");
        std::fflush(stdout);
        for (;;)
            worker.step();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
