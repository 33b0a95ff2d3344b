#include "register/propertystore.h"

#include "register/photos.h"
#include "register/workingowners.h"
#include "store/changelog.h"
#include "store/cp1250.h"
#include "store/cursor.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/textformat.h"

using namespace Qt::StringLiterals;

namespace {

const QString azonositoField = u"Azonosito"_s;

// What the table keeps of a typed identifier, so that is what a duplicate shares.
QString storedIdentifier(const QString &identifier)
{
    return cp1250::clean(identifier.left(tables::width(tables::egyszeru, azonositoField)));
}

QString identifierFilter(const QString &stored)
{
    return azonositoField + u" = "_s + Filter::quote(stored);
}

// The property's owners become the working list's rows: a new property has none to drop.
void replaceOwners(Cursor &working, Cursor &owners, int id)
{
    owners.open();
    owners.setFilterText(filters::ofProperty(id));
    owners.setFiltered(true);
    owners.first();
    while (!owners.isEmpty())
        owners.remove();
    owners.setFiltered(false);
    if (!working.isOpen())
        working.open();
    copyOwnerRows(working, owners, id);
    owners.close();
}

// Only the property's own detailed record is touched: never a second one, never another
// property's. Without a writer the property keeps no detailed record.
void writeDetailedRecord(Cursor &reszletes, int id, const QString &identifier,
                         const DetailedWriter &write)
{
    reszletes.open();
    reszletes.setFiltered(false);
    const bool found = reszletes.locate(filters::ofProperty(id));
    if (write) {
        if (found)
            reszletes.edit();
        else
            reszletes.append();
        reszletes.setValue(azonositoField, identifier);
        reszletes.setValue(u"EgyszeruId"_s, id);
        write(reszletes);
        reszletes.post();
    } else if (found) {
        reszletes.remove();
    }
    reszletes.close();
}

// What a failed write leaves open is dropped, so the next try starts from the tables.
void dropOpenWrites(RegisterState &c)
{
    c.tTulajdonos.cancel();
    c.tTulajdonos.close();
    c.tReszletes.cancel();
    c.tReszletes.close();
}

QString newPropertyDetails(const NewProperty &property)
{
    QStringList parts;
    for (const QString &part : {property.text("TipusText"), property.text("CimVaros")}) {
        if (!part.isEmpty())
            parts << part;
    }
    parts << textformat::moneyText(property.fields.value(u"Ar"_s).toDouble());
    return parts.join(u", "_s);
}

void logNewProperty(Database &db, const NewProperty &property, int id)
{
    changelog::Entry entry;
    entry.action = changelog::felvitel;
    entry.propertyId = id;
    entry.identifier = property.text("Azonosito");
    entry.details = newPropertyDetails(property);
    changelog::append(db, entry);
}

// What a property looked like before a save, as far as the log names its changes.
struct SavedState
{
    Record property;
    QList<QStringList> owners;
    Record detailed;
};

QList<QStringList> ownerRows(const Cursor &owners)
{
    QList<QStringList> rows;
    for (int at = 0, count = owners.recordCount(); at < count; ++at) {
        const Record owner = owners.recordAt(at);
        QStringList values;
        for (const char *field : ownerFields)
            values << owner.text(QString::fromLatin1(field));
        rows << values;
    }
    return rows;
}

// The first record of `table` the filter lets through, or a null record. The cursor is filtered
// before it opens: opened on a whole register of properties it would count and read that first,
// on every save.
Record onlyRecord(Database &db, const QString &table, const QString &filterText)
{
    Cursor probe(db, table, false); // a record number is the same in any case
    probe.setFilterText(filterText);
    probe.setFiltered(true);
    probe.open();
    return probe.isEmpty() ? Record() : probe.record();
}

QList<QStringList> storedOwners(Database &db, int id)
{
    Cursor owners(db, tables::tulajdonos, false);
    // Filtered before it opens: opened on the whole table it would count and read that first.
    owners.setFilterText(filters::ofProperty(id));
    owners.setFiltered(true);
    owners.open();
    return ownerRows(owners);
}

// The fields that differ, by name; the save's own bookkeeping is no change of the user's.
QStringList differingFields(const Record &before, const Record &after, const QStringList &skipped)
{
    QStringList names;
    const TableDef *def = after.def();
    for (int index = 0; def && index < def->fields.size(); ++index) {
        const QString &name = def->fields[index].name;
        if (skipped.contains(name))
            continue;
        if (before.isNull() || before.value(index).toString() != after.value(index).toString())
            names << name;
    }
    return names;
}

QString changeDetails(const SavedState &before, const SavedState &after)
{
    static const QStringList bookkeeping {u"Id"_s,    u"Change"_s, u"Feltoltve"_s,
                                          u"Print"_s, u"Start"_s,  u"Stop"_s};
    QStringList changed = differingFields(before.property, after.property, bookkeeping);
    if (before.owners != after.owners)
        changed << u"tulajdonosok"_s;
    // The detailed record repeats the identifier and the link: those are no change of its own.
    static const QStringList links {u"Id"_s, u"Azonosito"_s, u"EgyszeruId"_s};
    const bool detailedChanged = before.detailed.isNull() != after.detailed.isNull() ||
        (!after.detailed.isNull() &&
         !differingFields(before.detailed, after.detailed, links).isEmpty());
    if (detailedChanged)
        changed << u"részletes adatok"_s;
    return changed.isEmpty() ? u"Nem változott adat."_s : changed.join(u", "_s);
}

// Read apart from the shared cursor, which a post may have moved off a property its filter no
// longer shows.
Record propertyRecord(Database &db, int id)
{
    return onlyRecord(db, tables::egyszeru, filters::withId(id));
}

void logModifiedProperty(RegisterState &c, const SavedState &before, int id)
{
    SavedState after {propertyRecord(c.db, id), ownerRows(c.modifyWorkingOwners),
                      detailedRecordOf(c.db, id)};
    changelog::Entry entry;
    entry.action = changelog::modositas;
    entry.propertyId = id;
    entry.identifier = after.property.text(azonositoField);
    entry.details = changeDetails(before, after);
    changelog::append(c.db, entry);
}

} // namespace

bool identifierTaken(Database &db, const QString &identifier, int ownId)
{
    const QString stored = storedIdentifier(identifier);
    Cursor probe(db, tables::egyszeru, true);
    probe.setFilterText(identifierFilter(stored));
    probe.setFiltered(true);
    probe.open();
    // A trailing "*" makes the filter a prefix match, so each hit is compared whole as well.
    const QString wanted = textformat::fold(stored);
    for (int at = 0, count = probe.recordCount(); at < count; ++at) {
        const Record other = probe.recordAt(at);
        if (other.integer(u"Id"_s) != ownId &&
            textformat::fold(other.text(azonositoField)) == wanted)
            return true;
    }
    return false;
}

std::optional<CheckFailure> checkNewProperty(const NewProperty &property, Cursor &tEgyszeru)
{
    const QString identifier = property.text("Azonosito");
    if (identifier.isEmpty())
        return CheckFailure {u"Az azonosító mező nincs kitöltve"_s, u"nAzonosito"_s};
    if (property.text("TipusText").isEmpty())
        return CheckFailure {u"A típus mező nincs kitöltve"_s, u"nTipus"_s};
    if (property.fields.value(u"Ar"_s).toDouble() == 0)
        return CheckFailure {u"Az ár mező nincs kitöltve"_s, u"nAr"_s};
    if (property.text("CimVaros").isEmpty() || property.text("CimMegye").isEmpty())
        return CheckFailure {u"A cím hiányos. Legalább város és megye mező kitöltendő!"_s,
                             u"nCimVaros"_s};
    tEgyszeru.setFilterText(identifierFilter(storedIdentifier(identifier)));
    tEgyszeru.setFiltered(true);
    tEgyszeru.first();
    tEgyszeru.setFiltered(false);
    if (identifierTaken(tEgyszeru.database(), identifier))
        return CheckFailure {u"Van már ilyen azonosító!"_s, u"nAzonosito"_s};
    return std::nullopt;
}

int storeNewProperty(RegisterState &c, const NewProperty &property)
{
    Cursor &tEgyszeru = c.tEgyszeru;
    PhotoUpdate photos(c.db);
    int id = 0;
    try {
        Database::Transaction unit(c.db);
        // The new record must stay current after its first post to give its number, so it
        // cannot be hidden by a filter another window left on.
        tEgyszeru.setFiltered(false);
        tEgyszeru.append();
        for (auto it = property.fields.cbegin(); it != property.fields.cend(); ++it)
            tEgyszeru.setValue(it.key(), it.value());
        tEgyszeru.setValue(u"Start"_s, textformat::timestampNow());
        tEgyszeru.setValue(u"Feltoltve"_s, false);
        tEgyszeru.setValue(u"Print"_s, false);
        tEgyszeru.post();
        id = tEgyszeru.integer(u"Id"_s);
        logNewProperty(c.db, property, id);
        tEgyszeru.edit();

        replaceOwners(c.tdTulaj, c.tTulajdonos, id);
        // Every copy is made before anything is put in place, so an unreadable photo leaves
        // nothing in the Images folder.
        photos.prepare(tEgyszeru, property.photos, property.photoCount);
        tEgyszeru.post();
        if (property.detailed) {
            DetailedWriter write = property.writeDetailed;
            if (!write)
                write = [](Cursor &) {
                };
            writeDetailedRecord(c.tReszletes, id, property.text("Azonosito"), write);
        }
        photos.record();
        unit.commit();
    } catch (...) {
        tEgyszeru.cancel();
        dropOpenWrites(c);
        throw;
    }
    photos.finish();
    return id;
}

Record detailedRecordOf(Database &db, int id)
{
    return onlyRecord(db, tables::reszletes, filters::ofProperty(id));
}

void loadWorkingOwners(RegisterState &c, int id)
{
    emptyWorkingOwners(c.modifyWorkingOwners);
    Cursor &owners = c.tTulajdonos;
    // Filtered before it opens and unfiltered once closed: either way round while open would
    // count and read the whole table.
    owners.setFilterText(filters::ofProperty(id));
    owners.setFiltered(true);
    owners.open();
    copyOwnerRows(owners, c.modifyWorkingOwners, std::nullopt);
    // Saving selects them again; meanwhile nobody else finds this table filtered.
    owners.close();
    owners.setFiltered(false);
    c.modifyWorkingOwners.first();
}

void saveModifiedProperty(RegisterState &c, const PropertyChanges &changes)
{
    Cursor &property = c.tEgyszeru;
    if (changes.id != 0 && property.integer(u"Id"_s) != changes.id &&
        !property.locate(filters::withId(changes.id)))
        throw ConflictError(tables::egyszeru, true);
    // An empty register has no current property; counting a large one for that costs a scan.
    if (property.record().rowId == 0)
        return;
    const int id = property.integer(u"Id"_s);
    PhotoUpdate photos(c.db);
    try {
        const SavedState before {property.record(), storedOwners(c.db, id),
                                 detailedRecordOf(c.db, id)};
        property.edit(changes.readVersion);
        QString identifier = property.text(azonositoField);
        for (const auto &[field, value] : changes.fields) {
            property.setValue(field, value);
            if (field == azonositoField)
                identifier = value.toString();
        }
        property.setValue(u"Change"_s, textformat::timestampNow());
        property.setValue(u"Feltoltve"_s, false);
        for (int slot = 1; slot <= maxPhotos; ++slot)
            property.setValue(u"Kep%1"_s.arg(slot), QString());
        // Every photo is read and shrunk before any stored one is replaced: a photo moving to a
        // lower slot would otherwise overwrite one that is still to be read.
        photos.prepare(property, changes.photos, changes.photoCount);

        Database::Transaction unit(c.db);
        property.post();
        replaceOwners(c.modifyWorkingOwners, c.tTulajdonos, id);
        writeDetailedRecord(c.tReszletes, id, identifier, changes.writeDetailed);
        photos.record();
        logModifiedProperty(c, before, id);
        unit.commit();
    } catch (...) {
        property.cancel();
        // A post that moved the view may have left another record current; the window stays
        // open on this property, so a second try must again save into it.
        property.locate(filters::withId(id));
        dropOpenWrites(c);
        throw;
    }
    photos.finish();
}
