#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class Database;

// The office's change log (`naplo`): who changed which property, when and on which computer,
// and every upload run. An entry is written in the unit of the change it tells of, so it stands
// exactly when the change was committed.
namespace changelog {

// The actions as the log names them.
inline const QString felvitel = QStringLiteral("Felvitel");
inline const QString modositas = QStringLiteral("Módosítás");
inline const QString archivalas = QStringLiteral("Archiválás");
inline const QString veglegesTorles = QStringLiteral("Végleges törlés");
inline const QString keresesFelvitele = QStringLiteral("Keresés felvitele");
inline const QString keresesModositasa = QStringLiteral("Keresés módosítása");
inline const QString keresesTorlese = QStringLiteral("Keresés törlése");
inline const QString feltoltes = QStringLiteral("Feltöltés");

struct Entry
{
    QDateTime when;
    QString workstation;
    QString user;
    QString action;
    int propertyId = 0; // the record number in the register; 0 for what no property is behind
    int archiveId = 0; // the archive's record number, once the property went there
    QString identifier;
    QString details;
};

// The computer this copy runs on, as the office knows it.
QString workstation();
// Who works in this copy: the office server's database user, and on the embedded register the
// login name of this computer's user.
QString userName(Database &db);

// Appends one entry, time, workstation and user filled in, inside the caller's unit when there
// is one: undone with it. Throws StoreError.
void append(Database &db, const Entry &entry);

// The entries of a property of the register, newest first.
QList<Entry> ofProperty(Database &db, int propertyId);
// The entries of an archived property: those from its time in the register and its own since,
// newest first.
QList<Entry> ofArchived(Database &db, int archiveId);
// The register's record number of an archived property, 0 when it was archived before the log.
int registerIdOfArchived(Database &db, int archiveId);

} // namespace changelog
