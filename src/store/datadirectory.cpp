#include "store/datadirectory.h"

#include "store/cp1250.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/photostore.h"
#include "store/storeerror.h"
#include "store/tables.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace datadirectory {

QString resolve()
{
    QString dir = qEnvironmentVariable("PELMORA_DATA");
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.local/share/Pelmora");
    return QDir::cleanPath(dir) + QLatin1Char('/');
}

QString imagesDir(const QString &dataDir)
{
    return dataDir + QStringLiteral("Images/");
}

QString lockFilePath(const QString &dataDir)
{
    return dataDir + QStringLiteral("ingatlan.lck");
}

QString licencePath(const QString &dataDir)
{
    return dataDir + QStringLiteral("licence.txt");
}

namespace {

QStringList referenceLines(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("A program alapadatai hiányoznak: %1").arg(resource));
    QStringList lines;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')))
            lines << line.trimmed();
    }
    return lines;
}

} // namespace

void seed(Database &db)
{
    Cursor types(db, tables::itypes, true);
    int number = 1;
    for (const QString &name : referenceLines(QStringLiteral(":/data/tipusok.txt"))) {
        types.append();
        types.setValue(QStringLiteral("Id"), number++);
        types.setValue(QStringLiteral("Name"), name);
        types.post();
    }
    Cursor settlements(db, tables::telepules, true);
    for (const QString &line : referenceLines(QStringLiteral(":/data/telepulesek.txt"))) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        if (parts.size() != 3)
            throw StoreError(QStringLiteral("Hibás településsor: %1").arg(line));
        settlements.append();
        settlements.setValue(QStringLiteral("Name"), parts[0]);
        settlements.setValue(QStringLiteral("Irsz"), parts[1]);
        settlements.setValue(QStringLiteral("Megye"), parts[2]);
        settlements.post();
    }
    Cursor settings(db, tables::defaults, false);
    settings.append();
    settings.setValue(QStringLiteral("Version"), tables::databaseVersion);
    settings.post();
}

namespace {

void writeLicence(const QString &path)
{
    QFile source(QStringLiteral(":/data/licence.txt"));
    QFile target(path);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        throw StoreError(QStringLiteral("A licence.txt nem írható: %1").arg(path));
    QString text = QString::fromUtf8(source.readAll());
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    target.write(cp1250::encode(text));
}

} // namespace

void prepare(Database &db)
{
    const QString dataDir = db.dataDir();
    if (db.createdNow())
        writeLicence(licencePath(dataDir));
    if (!QDir().mkpath(imagesDir(dataDir)))
        throw StoreError(
            QStringLiteral("A képek könyvtára nem hozható létre: %1").arg(imagesDir(dataDir)));
    photostore::recover(db);
}

} // namespace datadirectory
