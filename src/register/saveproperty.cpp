#include "register/saveproperty.h"

#include "register/photos.h"
#include "register/workingowners.h"
#include "store/cp1250.h"
#include "store/cursor.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/textformat.h"

using namespace Qt::StringLiterals;

namespace {

QString ownerFilter(int id)
{
    return QStringLiteral("EgyszeruId = %1").arg(id);
}

void replaceOwners(RegisterState &c, int id)
{
    Cursor &owners = c.tTulajdonos;
    owners.open();
    owners.setFilterText(ownerFilter(id));
    owners.setFiltered(true);
    owners.first();
    while (!owners.isEmpty())
        owners.remove();
    owners.setFiltered(false);
    Cursor &working = c.modifyWorkingOwners;
    working.open();
    copyOwnerRows(working, owners, id);
    owners.close();
}

void writeDetailed(RegisterState &c, int id, const QString &identifier,
                   const PropertyChanges &changes)
{
    Cursor &detailed = c.tReszletes;
    detailed.open();
    detailed.setFiltered(false);
    // Only this property's own record: never a second one, never another property's.
    const bool found = detailed.locate(ownerFilter(id));
    if (changes.writeDetailed) {
        if (found)
            detailed.edit();
        else
            detailed.append();
        detailed.setValue(u"Azonosito"_s, identifier);
        detailed.setValue(u"EgyszeruId"_s, id);
        changes.writeDetailed(detailed);
        detailed.post();
    } else if (found) {
        detailed.remove();
    }
    detailed.close();
}

} // namespace

bool identifierTaken(Database &db, const QString &identifier, int ownId)
{
    const QString stored = cp1250::clean(identifier.left(20));
    Cursor probe(db, tables::egyszeru, true);
    probe.open();
    probe.setFilterText(u"Azonosito = "_s + Filter::quote(stored));
    probe.setFiltered(true);
    // A trailing "*" makes the filter a prefix match, so each hit is compared whole as well.
    const QString wanted = textformat::fold(stored);
    for (int at = 0, count = probe.recordCount(); at < count; ++at) {
        const Record other = probe.recordAt(at);
        if (other.integer(u"Id"_s) != ownId &&
            textformat::fold(other.text(u"Azonosito"_s)) == wanted)
            return true;
    }
    return false;
}

void loadWorkingOwners(RegisterState &c, int id)
{
    emptyWorkingOwners(c.modifyWorkingOwners);
    Cursor &owners = c.tTulajdonos;
    owners.open();
    owners.setFilterText(ownerFilter(id));
    owners.setFiltered(true);
    copyOwnerRows(owners, c.modifyWorkingOwners, std::nullopt);
    // Saving selects them again; meanwhile nobody else finds this table filtered.
    owners.setFiltered(false);
    owners.close();
    c.modifyWorkingOwners.first();
}

void saveModifiedProperty(RegisterState &c, const PropertyChanges &changes)
{
    Cursor &property = c.tEgyszeru;
    if (property.isEmpty())
        return;
    const int id = property.integer(u"Id"_s);
    PhotoUpdate photos(c.db);
    try {
        property.edit();
        QString identifier = property.text(u"Azonosito"_s);
        for (const auto &[field, value] : changes.fields) {
            property.setValue(field, value);
            if (field == u"Azonosito"_s)
                identifier = value.toString();
        }
        property.setValue(u"Change"_s, textformat::timestampNow());
        property.setValue(u"Feltoltve"_s, false);
        for (int slot = 1; slot <= maxPhotos; ++slot)
            property.setValue(QStringLiteral("Kep%1").arg(slot), QString());
        // Every photo is read and shrunk before any stored one is replaced: a photo moving to a
        // lower slot would otherwise overwrite one that is still to be read.
        photos.prepare(property, changes.photos, changes.photoCount);

        Database::Transaction unit(c.db);
        property.post();
        replaceOwners(c, id);
        writeDetailed(c, id, identifier, changes);
        photos.record();
        unit.commit();
    } catch (...) {
        property.cancel();
        // A post that moved the view may have left another record current; the window stays
        // open on this property, so a second try must again save into it.
        property.locate(QStringLiteral("Id = %1").arg(id));
        c.tTulajdonos.cancel();
        c.tTulajdonos.close();
        c.tReszletes.cancel();
        c.tReszletes.close();
        throw;
    }
    photos.finish();
}
