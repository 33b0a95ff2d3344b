#include "register/archiving.h"

#include "register/workingowners.h"
#include "store/changelog.h"
#include "store/cursor.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "store/textformat.h"

using namespace Qt::StringLiterals;

namespace {

void removeAll(Cursor &cursor)
{
    cursor.first();
    while (!cursor.isEmpty())
        cursor.remove();
}

// The owners of property `id` in `tTulajdonos`, filtered to them.
void selectOwners(RegisterState &c, int id)
{
    c.tTulajdonos.open();
    c.tTulajdonos.setFilterText(filters::ofProperty(id));
    c.tTulajdonos.setFiltered(true);
    c.tTulajdonos.first();
}

int copyToArchive(RegisterState &c, const QString &reason)
{
    const Record property = c.tEgyszeru.record();
    Cursor &archive = c.tArchiv;
    archive.open();
    archive.append();
    for (const FieldDef &field : archive.def().fields) {
        if (field.kind == FieldKind::AutoInc || field.name == u"Ok"_s)
            continue;
        if (property.def()->fieldIndex(field.name) >= 0)
            archive.setValue(field.name, property.value(field.name));
    }
    archive.setValue(u"Stop"_s, textformat::timestampNow());
    archive.setValue(u"Ok"_s, reason);
    archive.post();
    const int archiveId = archive.integer(u"Id"_s);

    // Each copy is linked to the new archive record as it is made, so archived owners of other
    // records are never touched whatever their numbers.
    Cursor &archivedOwners = c.tArchivTulaj;
    archivedOwners.open();
    copyOwnerRows(c.tTulajdonos, archivedOwners, archiveId);
    return archiveId;
}

// The archive numbers its copy anew: the entry carries both numbers, so that the archived
// property's log still finds what happened to it in the register.
void logLeaving(RegisterState &c, int id, int archiveId, const QString &reason)
{
    changelog::Entry entry;
    entry.propertyId = id;
    entry.archiveId = archiveId;
    entry.identifier = c.tEgyszeru.text(u"Azonosito"_s);
    if (archiveId != 0) {
        entry.action = changelog::archivalas;
        entry.details = reason;
    } else {
        entry.action = changelog::veglegesTorles;
        entry.details = u"Törölve a nyilvántartásból, archiválás nélkül."_s;
    }
    changelog::append(c.db, entry);
}

void leaveRegister(RegisterState &c, bool keepInArchive, const QString &reason)
{
    if (c.tEgyszeru.isEmpty())
        return;
    const int id = c.tEgyszeru.integer(u"Id"_s);
    try {
        Database::Transaction unit(c.db);
        selectOwners(c, id);
        const int archiveId = keepInArchive ? copyToArchive(c, reason) : 0;
        logLeaving(c, id, archiveId, reason);
        removeAll(c.tTulajdonos);
        c.tEgyszeru.remove();
        unit.commit();
    } catch (...) {
        c.tArchiv.cancel();
        c.tArchivTulaj.cancel();
        c.tEgyszeru.cancel();
        c.tTulajdonos.close();
        c.tArchiv.close();
        c.tArchivTulaj.close();
        throw;
    }
    c.tTulajdonos.close();
    c.tArchiv.close();
    c.tArchivTulaj.close();
}

} // namespace

QStringList deletionReasons()
{
    return {u"az ingatlan eladva"_s, u"megbízás visszavonva"_s, u"megbízás felfüggesztve"_s,
            u"saját eladás"_s,       u"megbízás lejárt"_s,      u"egyéb"_s};
}

void archiveProperty(RegisterState &cursors, const QString &reason)
{
    leaveRegister(cursors, true, reason);
}

void deletePropertyOutright(RegisterState &cursors)
{
    leaveRegister(cursors, false, QString());
}

void deleteArchivedProperty(RegisterState &c)
{
    Cursor &archive = c.tArchiv;
    if (!archive.isOpen() || archive.isEmpty())
        return;
    const int id = archive.integer(u"Id"_s);
    const int position = archive.position();
    // The owner grid keeps its own filter; the deletion works on a cursor of its own.
    Cursor owners(c.db, c.tArchivTulaj.def().name, false);
    try {
        Database::Transaction unit(c.db);
        owners.open();
        owners.setFilterText(filters::ofProperty(id));
        owners.setFiltered(true);
        removeAll(owners);
        changelog::Entry entry;
        entry.action = changelog::veglegesTorles;
        entry.propertyId = changelog::registerIdOfArchived(c.db, id);
        entry.archiveId = id;
        entry.identifier = archive.text(u"Azonosito"_s);
        entry.details =
            u"Törölve az archívumból (archiválás oka: %1)."_s.arg(archive.text(u"Ok"_s));
        changelog::append(c.db, entry);
        archive.remove();
        unit.commit();
    } catch (...) {
        archive.moveTo(position);
        throw;
    }
}
