#pragma once

#include "store/database.h"
#include "store/photostore.h"
#include "store/registerstate.h"
#include "tests/publish/publishtestdata.h"
#include "tests/support/tempdatadir.h"

#include <QDir>

// A small register ready for an upload run: three properties in the upload set (one with
// photographs in slots 1 and 3, one with a photograph in slot 1, one with none) and one that
// may not be published; the settings point at the given server.
struct UploadScene
{
    explicit UploadScene(const QString &server, const QString &password = QString())
        : db(data.path())
        , cursors(db)
    {
        QDir().mkpath(data.path() + QStringLiteral("Images"));
        Cursor &c = cursors.tEgyszeru;
        const int first = addRecord(
            c,
            {{QStringLiteral("Azonosito"), QStringLiteral("P-1")}, {QStringLiteral("Web"), true}});
        addPhoto(c, first, 1);
        addPhoto(c, first, 3);
        const int second = addRecord(
            c,
            {{QStringLiteral("Azonosito"), QStringLiteral("P-2")}, {QStringLiteral("Apro"), true}});
        addPhoto(c, second, 1);
        addRecord(
            c,
            {{QStringLiteral("Azonosito"), QStringLiteral("P-3")}, {QStringLiteral("Web"), true}});
        addRecord(c, {{QStringLiteral("Azonosito"), QStringLiteral("P-4")}});
        setSettings(cursors.tDefaults,
                    {
                        {QStringLiteral("Userid"), QStringLiteral("test01")},
                        {QStringLiteral("Ftppass"),
                         password.isNull() ? QStringLiteral("titok-42") : password},
                        {QStringLiteral("Ftpserver"), server},
                        {QStringLiteral("Name"), QStringLiteral("Próba Iroda")},
                        {QStringLiteral("Version"), 3.0},
                    });
        c.setFilterText(uploadFilter);
        c.setFiltered(true);
    }

    // Bytes a text transfer would mangle: every line-end kind, NUL and 0x1A.
    static QByteArray photoBytes(int id, int slot, int size = 5000)
    {
        QByteArray bytes("\xff\xd8\r\n\n\r\x1a");
        bytes.append('\0');
        for (int i = 0; bytes.size() < size; ++i)
            bytes.append(static_cast<char>((i * 31 + id * 7 + slot) & 0xff));
        return bytes;
    }

    void addPhoto(Cursor &c, int id, int slot, int size = 5000)
    {
        const QString name = QStringLiteral("%1-%2.jpg").arg(id).arg(slot);
        if (db.isServer()) {
            photostore::put(db, name, photoBytes(id, slot, size));
        } else {
            QFile file(data.path() + QStringLiteral("Images/") + name);
            file.open(QIODevice::WriteOnly);
            file.write(photoBytes(id, slot, size));
        }
        c.setValue(QStringLiteral("Kep%1").arg(slot), name);
        c.post();
    }

    QByteArray photo(const QString &name)
    {
        QFile file(photostore::localFile(db, name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // As if the photo had never reached the register's store of photos.
    bool losePhoto(const QString &name)
    {
        if (!db.isServer())
            return QFile::remove(data.path() + QStringLiteral("Images/") + name);
        db.query(QStringLiteral("DELETE FROM %1 WHERE \"Kep\" = ?").arg(tables::kepadat), {name});
        return true;
    }

    // The identifiers of the properties marked uploaded.
    QStringList marked()
    {
        Cursor c(db, tables::egyszeru, true);
        QStringList result;
        c.scan({QStringLiteral("Azonosito"), QStringLiteral("Feltoltve")}, [&](const Record &r) {
            if (r.boolean(QStringLiteral("Feltoltve")))
                result << r.text(QStringLiteral("Azonosito"));
        });
        return result;
    }

    TempDataDir data;
    Database db;
    RegisterState cursors;
    WorkDir work;
};
