#pragma once

#include "register/jpegcodec.h"
#include "register/kepmegtekintes.h"
#include "register/photos.h"
#include "register/registerwindows.h"
#include "register/tulajhozzaad.h"
#include "register/tulajmodosit.h"
#include "register/ujkep.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "tests/register/jpegfiles.h"
#include "tests/support/tempdatadir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>

// A register in a temporary data directory with the main window's cursors and the long-lived
// photo and owner windows, as start-up makes them, and helpers to fill it.
struct RegisterFixture
{
    TempDataDir dir;
    Database db {dir.path()};
    RegisterState c {db};
    RegisterWindows windows;
    TfKepmegtekint viewer;
    TfUjKep ujKep {windows};
    TfTulajHozzaad hozzaad {c.tdTulaj};
    TfTulajModosit modosit {c.tdTulaj};

    RegisterFixture()
    {
        QDir(dir.path()).mkpath(QStringLiteral("Images"));
        windows.fUjKep = &ujKep;
        windows.fKepmegtekint = &viewer;
        windows.fTulajHozzaad = &hozzaad;
        windows.fTulajModosit = &modosit;
        c.tEgyszeru.open();
        c.tdTulaj.open();
    }

    static int append(Cursor &cursor, const QVariantMap &fields)
    {
        cursor.open();
        cursor.append();
        for (auto it = fields.begin(); it != fields.end(); ++it)
            cursor.setValue(it.key(), it.value());
        cursor.post();
        return cursor.integer(QStringLiteral("Id"));
    }

    void addTypes(const QStringList &names)
    {
        for (const QString &name : names)
            append(c.tItypes, {{QStringLiteral("Name"), name}});
        c.tItypes.close();
    }
    // Leaves the new property current in `tEgyszeru`.
    int addProperty(const QVariantMap &fields) { return append(c.tEgyszeru, fields); }
    void addOwner(Cursor &owners, int id, const QString &name, const QString &phone = {})
    {
        append(owners,
               {{QStringLiteral("EgyszeruId"), id},
                {QStringLiteral("Nev"), name},
                {QStringLiteral("Telefon"), phone}});
    }
    int addDetailed(int id, const QVariantMap &fields)
    {
        QVariantMap all = fields;
        all.insert(QStringLiteral("EgyszeruId"), id);
        const int detailedId = append(c.tReszletes, all);
        c.tReszletes.close();
        return detailedId;
    }
    // A stored photo `width` pixels wide, so the tests can tell photos apart by size.
    QString writePhoto(const QString &name, int width) const
    {
        const QString path = photoPath(dir.path(), name);
        jpegfiles::writeJpeg(path, width, 30);
        return path;
    }
    int photoWidth(const QString &name) const
    {
        const QByteArray data = jpegfiles::read(photoPath(dir.path(), name));
        return data.isEmpty() ? 0 : jpeg::decode(data, name).width;
    }
    void selectProperty(int id)
    {
        c.tEgyszeru.setFiltered(false);
        c.tEgyszeru.locate(QStringLiteral("Id = %1").arg(id));
    }

    // Rows of a table as "field=value" lines, in stored order, read apart from every cursor.
    QStringList rows(const QString &table, const QString &where = {}) const
    {
        QSqlQuery query(db.connection());
        query.exec(QStringLiteral("SELECT * FROM \"%1\" %2 ORDER BY rowid")
                       .arg(table, where.isEmpty() ? QString() : QStringLiteral("WHERE ") + where));
        QStringList out;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << query.record().fieldName(i) + QLatin1Char('=') +
                        query.value(i).toString();
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }
    QVariant single(const QString &sql) const
    {
        QSqlQuery query(db.connection());
        query.exec(sql);
        return query.next() ? query.value(0) : QVariant();
    }

    // Every table and every byte of the Images folder: what a failed operation must not change.
    // The working owner list is left out: it is the open window's scratch pad.
    QStringList snapshot() const
    {
        QStringList out;
        for (const TableDef &table : tables::all()) {
            if (table.name == tables::dtulaj)
                continue;
            for (const QString &row : rows(table.name))
                out << table.name + QLatin1Char(':') + row;
        }
        const QDir images(imagesFolder(dir.path()));
        for (const QString &name : images.entryList(QDir::Files | QDir::Hidden, QDir::Name))
            out << QStringLiteral("Images/") + name + QLatin1Char(':') +
                    QString::fromLatin1(
                        QCryptographicHash::hash(jpegfiles::read(images.filePath(name)),
                                                 QCryptographicHash::Sha1)
                            .toHex());
        return out;
    }
};
