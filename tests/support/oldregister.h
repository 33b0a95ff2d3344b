#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QUuid>

// A register as the first builds of the program left it: the twelve tables only, no layout
// count in the file, no working list names, and a settings record of the given version. Made
// with plain SQL, as no build of today would make it; returns the first failed statement's
// error, empty when all went in.
inline QString writeOldRegister(const QString &file, int version = 3)
{
    const QStringList statements {
        QStringLiteral("CREATE TABLE egyszeru (Id INTEGER PRIMARY KEY AUTOINCREMENT, Azonosito "
                       "TEXT, Azonosito_f TEXT, Azonosito_k TEXT, TipusText TEXT, TipusText_f "
                       "TEXT, TipusText_k TEXT, Ar REAL, CimVaros TEXT, CimVaros_f TEXT, "
                       "CimVaros_k TEXT, LeirasMagyar TEXT, Print INTEGER)"),
        QStringLiteral("CREATE TABLE reszletes (Id INTEGER PRIMARY KEY AUTOINCREMENT, Azonosito "
                       "TEXT, EgyszeruId INTEGER, Megjegyzes TEXT)"),
        QStringLiteral("CREATE TABLE tulajdonos (Id INTEGER PRIMARY KEY AUTOINCREMENT, EgyszeruId "
                       "INTEGER, Nev TEXT, Varos TEXT)"),
        QStringLiteral("CREATE TABLE dtulaj (Id INTEGER PRIMARY KEY AUTOINCREMENT, EgyszeruId "
                       "INTEGER, Nev TEXT, Varos TEXT)"),
        QStringLiteral("CREATE TABLE archiv (Id INTEGER PRIMARY KEY AUTOINCREMENT, Azonosito "
                       "TEXT, Azonosito_f TEXT, Azonosito_k TEXT, Ok TEXT)"),
        QStringLiteral("CREATE TABLE archivtulaj (Id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "EgyszeruId INTEGER, Nev TEXT)"),
        QStringLiteral("CREATE TABLE defaults (Userid TEXT, Name TEXT, Version REAL)"),
        QStringLiteral("CREATE TABLE telepules (Name TEXT, Irsz TEXT, Megye TEXT)"),
        QStringLiteral("CREATE TABLE itypes (Id INTEGER, Name TEXT)"),
        QStringLiteral("CREATE TABLE erdeklodok (Id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "IngatlanId REAL, Name TEXT, \"When\" TEXT)"),
        QStringLiteral("CREATE TABLE erdeklodes (Id INTEGER PRIMARY KEY AUTOINCREMENT, Nev TEXT, "
                       "Artol REAL, Arig REAL, Utkozes INTEGER)"),
        QStringLiteral("CREATE TABLE hirek (Id INTEGER PRIMARY KEY AUTOINCREMENT, Mikor TEXT, "
                       "Uzenet TEXT, Action INTEGER, Kuldo TEXT)"),
        QStringLiteral("INSERT INTO egyszeru (Azonosito, Azonosito_f, Azonosito_k, TipusText, "
                       "TipusText_f, TipusText_k, Ar, CimVaros, CimVaros_f, CimVaros_k, "
                       "LeirasMagyar, Print) VALUES ('RÉGI-1', 'régi-1', 'régi-1', 'Családi "
                       "ház', 'családi ház', 'családi ház', 25000000, 'Győr', 'győr', 'győr', "
                       "'Első sor\r\nMásodik sor', 1)"),
        QStringLiteral("INSERT INTO dtulaj (Nev, Varos) VALUES ('Félbehagyott Ödön', 'Pécs')"),
        QStringLiteral("INSERT INTO tulajdonos (EgyszeruId, Nev) VALUES (1, 'Régi Tulaj')"),
        QStringLiteral("INSERT INTO defaults (Userid, Name, Version) VALUES ('ab12', 'Régi "
                       "Iroda', %1)")
            .arg(version),
        QStringLiteral("INSERT INTO itypes (Id, Name) VALUES (1, 'Családi ház')"),
    };
    const QString connection = QUuid::createUuid().toString();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        if (!db.open())
            return db.lastError().text();
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            if (!query.exec(statement)) {
                error = statement + QStringLiteral(": ") + query.lastError().text();
                break;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return error;
}
