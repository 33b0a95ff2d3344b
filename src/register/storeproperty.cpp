#include "register/storeproperty.h"

#include "register/photos.h"
#include "register/workingowners.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "store/textformat.h"

namespace {

const QString azonositoField = QStringLiteral("Azonosito");

// The width of the identifier field: what is stored of a longer text.
int identifierWidth(const Cursor &tEgyszeru)
{
    for (const FieldDef &field : tEgyszeru.def().fields) {
        if (field.name == azonositoField)
            return field.width;
    }
    return 0;
}

void copyOwners(Cursor &workingOwners, Cursor &owners, int propertyId)
{
    if (!workingOwners.isOpen())
        workingOwners.open();
    owners.open();
    copyOwnerRows(workingOwners, owners, propertyId);
    owners.close();
}

void writeDetailed(Cursor &reszletes, const NewProperty &property, int propertyId)
{
    reszletes.open();
    reszletes.append();
    reszletes.setValue(azonositoField, property.text("Azonosito"));
    reszletes.setValue(QStringLiteral("EgyszeruId"), propertyId);
    if (property.writeDetailed)
        property.writeDetailed(reszletes);
    reszletes.post();
    reszletes.close();
}

} // namespace

bool identifierExists(Cursor &tEgyszeru, const QString &identifier)
{
    // The stored identifier is cut to the field's width, so that is what a duplicate shares.
    const QString stored = identifier.left(identifierWidth(tEgyszeru));
    const QString wanted = textformat::fold(stored);
    tEgyszeru.setFilterText(azonositoField + QStringLiteral(" = ") + Filter::quote(stored));
    tEgyszeru.setFiltered(true);
    tEgyszeru.first();
    bool found = false;
    // A trailing asterisk makes the constant a prefix, so only an exact match counts.
    for (; !found && !tEgyszeru.atEnd() && !tEgyszeru.isEmpty(); tEgyszeru.next())
        found = textformat::fold(tEgyszeru.text(azonositoField)) == wanted;
    tEgyszeru.setFiltered(false);
    return found;
}

std::optional<CheckFailure> checkNewProperty(const NewProperty &property, Cursor &tEgyszeru)
{
    if (property.text("Azonosito").isEmpty())
        return CheckFailure {QStringLiteral("Az azonosító mező nincs kitöltve"),
                             QStringLiteral("nAzonosito")};
    if (property.text("TipusText").isEmpty())
        return CheckFailure {QStringLiteral("A típus mező nincs kitöltve"),
                             QStringLiteral("nTipus")};
    if (property.fields.value(QStringLiteral("Ar")).toDouble() == 0)
        return CheckFailure {QStringLiteral("Az ár mező nincs kitöltve"), QStringLiteral("nAr")};
    if (property.text("CimVaros").isEmpty() || property.text("CimMegye").isEmpty())
        return CheckFailure {
            QStringLiteral("A cím hiányos. Legalább város és megye mező kitöltendő!"),
            QStringLiteral("nCimVaros")};
    if (identifierExists(tEgyszeru, property.text("Azonosito")))
        return CheckFailure {QStringLiteral("Van már ilyen azonosító!"),
                             QStringLiteral("nAzonosito")};
    return std::nullopt;
}

int storeNewProperty(RegisterState &cursors, const NewProperty &property)
{
    Cursor &tEgyszeru = cursors.tEgyszeru;
    PhotoUpdate photos(cursors.db);
    int id = 0;
    try {
        Database::Transaction unit(cursors.db);
        // The new record must stay current after its first post to give its number, so it
        // cannot be hidden by a filter another window left on.
        tEgyszeru.setFiltered(false);
        tEgyszeru.append();
        for (auto it = property.fields.cbegin(); it != property.fields.cend(); ++it)
            tEgyszeru.setValue(it.key(), it.value());
        tEgyszeru.setValue(QStringLiteral("Start"), textformat::timestampNow());
        tEgyszeru.setValue(QStringLiteral("Feltoltve"), false);
        tEgyszeru.setValue(QStringLiteral("Print"), false);
        tEgyszeru.post();
        id = tEgyszeru.integer(QStringLiteral("Id"));
        tEgyszeru.edit();

        copyOwners(cursors.tdTulaj, cursors.tTulajdonos, id);
        // Every copy is made before anything is put in place, so an unreadable photo leaves
        // nothing in the Images folder.
        photos.prepare(tEgyszeru, property.photos, property.photoCount);
        tEgyszeru.post();
        if (property.detailed)
            writeDetailed(cursors.tReszletes, property, id);
        photos.record();
        unit.commit();
    } catch (...) {
        tEgyszeru.cancel();
        cursors.tTulajdonos.close();
        cursors.tReszletes.close();
        throw;
    }
    photos.finish();
    return id;
}
