#include "store/tables.h"

#include "store/record.h"
#include "store/storeerror.h"
#include "store/textformat.h"
#include "store/workinglist.h"

#include <stdexcept>

namespace tables {
namespace {

using K = FieldKind;

// A property's identifier, wherever it is kept.
constexpr int identifierWidth = 20;

FieldDef text(const char *name, int width)
{
    return {QString::fromLatin1(name), K::Text, width};
}
FieldDef searched(const char *name, int width)
{
    return {QString::fromLatin1(name), K::Text, width, true};
}
FieldDef field(const char *name, K kind)
{
    return {QString::fromLatin1(name), kind, 0};
}

QString fullAddress(const Record &r)
{
    return r.text(QStringLiteral("CimIrsz")) + QLatin1Char(' ') +
        r.text(QStringLiteral("CimVaros")) + QStringLiteral(", ") +
        r.text(QStringLiteral("CimUtca")) + QLatin1Char(' ') +
        r.text(QStringLiteral("CimHazszam")) + QLatin1Char(' ') +
        r.text(QStringLiteral("CimEmelet")) + QLatin1Char(' ') + r.text(QStringLiteral("CimAjto"));
}

QString ownerAddress(const Record &r)
{
    return r.text(QStringLiteral("Irsz")) + QLatin1Char(' ') + r.text(QStringLiteral("Varos")) +
        QStringLiteral(", ") + r.text(QStringLiteral("Utca"));
}

// Fields 1 to 47 of the register; the archive shares them and differs only in field 48.
QList<FieldDef> propertyFields()
{
    return {
        field("Id", K::AutoInc),
        searched("Azonosito", identifierWidth),
        field("TipusId", K::Float),
        searched("TipusText", 30),
        field("MinimumAr", K::Float),
        field("Ar", K::Float),
        field("EpitesEve", K::Int16),
        field("FelujitasEve", K::Int16),
        field("EpuletTerulet", K::Float),
        field("TelekTerulet", K::Float),
        text("TelekTeruletMertek", 15),
        field("OsszesHelyseg", K::Int16),
        field("Szoba", K::Int16),
        field("Garazs", K::Int16),
        text("CimIrsz", 4),
        searched("CimVaros", 50),
        text("CimMegye", 30),
        text("CimUtca", 50),
        text("CimHazszam", 15),
        text("CimEmelet", 10),
        text("CimAjto", 10),
        text("CimRegio", 50),
        text("Hrsz", 15),
        text("MegbizoNev", 50),
        text("MegbizoIrsz", 4),
        text("MegbizoVaros", 50),
        text("MegbizoUtca", 50),
        text("MegbizoTelefon", 60),
        text("MegbizoSzigsz", 20),
        field("Apro", K::Boolean),
        field("Web", K::Boolean),
        field("Kulcs", K::Boolean),
        field("LeirasMagyar", K::Memo),
        field("LeirasAngol", K::Memo),
        field("LeirasNemet", K::Memo),
        field("LeirasApro", K::Memo),
        text("Kep1", 20),
        text("Kep2", 20),
        text("Kep3", 20),
        text("Kep4", 20),
        field("Reszletes", K::Boolean),
        field("Telepulestis", K::Boolean),
        field("Feltoltve", K::Boolean),
        text("MegbizoAnyja", 50),
        text("Start", 25),
        text("Stop", 25),
        text("Change", 25),
    };
}

QList<FieldDef> ownerFields()
{
    return {
        field("Id", K::AutoInc),
        // 32 bits: owners of a property numbered above 32767 must not be lost.
        field("EgyszeruId", K::Int32),
        text("Nev", 100),
        text("Irsz", 4),
        text("Varos", 50),
        text("Utca", 100),
        text("Anyja", 100),
        text("Szigsz", 30),
        text("Hanyad", 50),
        text("Telefon", 50),
    };
}

TableDef ownerTable(const QString &name, int addressWidth)
{
    return {name, ownerFields(), {{QStringLiteral("Cim"), addressWidth, ownerAddress}}, {}};
}

// The owner fields, and the working list each row belongs to: one list for every window that
// enters or modifies a property, in every copy of the program.
TableDef workingOwnerTable()
{
    TableDef def = ownerTable(dtulaj, 200);
    def.fields.append({workinglist::field, K::Text, 40, false, 2});
    return def;
}

TableDef egyszeruDef()
{
    QList<FieldDef> fields = propertyFields();
    fields.append(field("Print", K::Boolean));
    return {
        egyszeru,
        fields,
        {
            {QStringLiteral("PrintText"), 5,
             [](const Record &r) {
                 return r.boolean(QStringLiteral("Print")) ? QStringLiteral("Igen") : QString();
             }},
            {QStringLiteral("ArText"), 25,
             [](const Record &r) {
                 return textformat::moneyText(r.number(QStringLiteral("Ar")));
             }},
            {QStringLiteral("CimTeljes"), 100, fullAddress},
        },
        {
            {QStringLiteral("iazonosito"), QStringLiteral("Azonosito")},
            {QStringLiteral("itipustext"), QStringLiteral("TipusText")},
            // The price order is the search panel's own: it carries what the searches filter
            // on, so a search over many properties is answered from the index alone. Not the
            // print mark: every property put on or taken off the list would rewrite it.
            {QStringLiteral("iar"),
             QStringLiteral("Ar"),
             {QStringLiteral("CimVaros_f"), QStringLiteral("TipusText_f")},
             3},
            {QStringLiteral("ivaros"), QStringLiteral("CimVaros")},
        },
        {
            {QStringLiteral("Azonosito_f")},
            {QStringLiteral("CimVaros_f"), QStringLiteral("Ar"), QStringLiteral("TipusText_f")},
            {QStringLiteral("TipusText_f"), QStringLiteral("Ar"), QStringLiteral("CimVaros_f")},
            {QStringLiteral("Print")},
        },
        1,
        // Two workstations storing the same identifier at once: the second is refused.
        {{QStringLiteral("Azonosito_f")}},
    };
}

TableDef archivDef()
{
    QList<FieldDef> fields = propertyFields();
    fields.append(text("Ok", 255));
    return {archiv, fields, {{QStringLiteral("CimTeljes"), 200, fullAddress}}, {}};
}

TableDef reszletesDef()
{
    QList<FieldDef> f {
        field("Id", K::AutoInc), text("Azonosito", identifierWidth), field("AlakId", K::Int16),
        text("AlakText", 20),    field("KomfortId", K::Int16),       text("KomfortText", 20),
    };
    auto pair = [&f](const char *id, const char *txt, int textWidth = 255) {
        f.append(text(id, 20));
        f.append(text(txt, textWidth));
    };
    pair("FalakAnyagaId", "FalakAnyagaText");
    pair("FutesTipusId", "FutesTipusText");
    pair("FutesModjaId", "FutesModjaText");
    pair("FutoanyagId", "FutoAnyagText");
    pair("TelekAllagId", "TelekAllagText");
    pair("UdvarId", "UdvarText");
    pair("ParkolasId", "ParkolasText");
    pair("KozmuvekId", "KozmuvekText");
    pair("TetoId", "TetoText");
    f.append(text("TetoEgyeb", 100));
    pair("FelszereltsegId", "FelszereltsegText");
    f.append(text("FelszereltsegEgyeb", 100));
    pair("BurkolatId", "BurkolatText");
    f.append(text("BurkolatEgyeb", 100));
    for (const char *count :
         {"OsszHelyseg", "Szoba", "Felszoba", "Nappali", "Hall", "Etkezo", "Terasz", "Furdoszoba",
          "Wc", "Kamra", "Tarolo", "Pince", "Mellekepulet", "Szuterin", "Garazs", "Egyeb"})
        f.append(field(count, K::Int16));
    f.append(text("EgyebText", 150));
    f.append(field("Szintekszama", K::Int16));
    f.append(field("LakhatoSzint", K::Int16));
    f.append(field("Konyha", K::Int16));
    pair("KonyhaId", "KonyhaText");
    pair("ElhelyezkedesId", "ElhelyezkedesText", 200);
    f.append(field("EgyszeruId", K::Int32));
    pair("AllagId", "AllagText");
    pair("FekvesId", "FekvesText");
    pair("OvezetId", "OvezetText");
    f.append(field("GarazsFerohely", K::Int16));
    f.append(field("WcFurdo", K::Boolean));
    f.append(field("Megjegyzes", K::Memo));
    return {reszletes, f, {}, {}};
}

TableDef defaultsDef()
{
    return {
        defaults,
        {
            text("Userid", 6),
            text("Name", 50),
            text("Irsz", 8),
            text("Varos", 20),
            text("Utca", 50),
            text("Ftpserver", 50),
            text("Ftppass", 12),
            text("Contact", 50),
            field("Version", K::Float),
            text("Telefon", 200),
            text("Email", 30),
            text("Web", 200),
            field("Elvitel", K::Memo),
            text("Megye", 35),
        },
        {{QStringLiteral("Cim"), 200, ownerAddress}},
        {},
    };
}

TableDef telepulesDef()
{
    return {telepules, {text("Name", 50), text("Irsz", 4), text("Megye", 25)}, {}, {}};
}

TableDef itypesDef()
{
    return {itypes, {field("Id", K::Int32), text("Name", 100)}, {}, {}};
}

TableDef erdeklodokDef()
{
    return {
        erdeklodok,
        {
            field("Id", K::AutoInc),
            field("IngatlanId", K::Float),
            text("IngatlanAzon", 20),
            text("Name", 50),
            text("Address", 200),
            text("Telefon", 20),
            text("Szigsz", 20),
            field("When", K::DateTime),
        },
        {},
        {},
        // A property's handouts are read by its sheet and its buyers' list; an address list of
        // the whole register adds a handout for every property, so the table grows fast.
        {{QStringLiteral("IngatlanId")}},
    };
}

TableDef erdeklodesDef()
{
    return {
        erdeklodes,
        {
            field("Id", K::AutoInc),
            text("Nev", 50),
            text("CimIrsz", 4),
            text("CimVaros", 50),
            text("CimUtca", 25),
            field("Tipus", K::Int16),
            text("TipusText", 30),
            field("Artol", K::Float),
            field("Arig", K::Float),
            text("Telepules", 50),
            text("Mikor", 25),
            text("CimMegye", 35),
            text("Szoveg", 255),
            text("Telefon", 50),
            text("Email", 50),
            field("Utkozes", K::Boolean),
        },
        {{QStringLiteral("UtkozesText"), 5,
          [](const Record &r) {
              return r.boolean(QStringLiteral("Utkozes")) ? QStringLiteral("X") : QString();
          }}},
        {},
    };
}

TableDef hirekDef()
{
    return {
        hirek,
        {
            field("Id", K::AutoInc),
            text("Mikor", 25),
            text("Uzenet", 255),
            field("Action", K::Int16),
            text("Kuldo", 200),
        },
        {},
        {},
    };
}

// The portal's entries already stored, by a digest of their lines: a message file the server
// would not delete comes again, and must not be stored twice.
TableDef hirkivonatDef()
{
    return {hirkivonat, {text("Kivonat", 64), text("Mikor", 25)}, {}, {}, {}, 2};
}

// How the portal's server is reached: kept apart from the settings record, whose layout the
// stored files share. The trusted key belongs to the server it was given for.
TableDef ftpkapcsolatDef()
{
    return {ftpkapcsolat,
            {field("Titkositott", K::Boolean), text("Szerver", 50), text("Kulcs", 60),
             text("Ujjlenyomat", 100)},
            {},
            {},
            {},
            2};
}

TableDef kepcsereDef()
{
    return {
        kepcsere,
        {
            field("Id", K::AutoInc),
            text("Ideiglenes", 100),
            text("Kep", 100),
        },
        {},
        {},
        {},
        2,
    };
}

// A property is logged by its record number in the register, which it keeps for as long as it
// is there; the archive numbers its copy anew, so the entries of archiving and of the deletion
// for good carry the archive's number as well. Nothing is ever changed or removed here.
TableDef naploDef()
{
    return {
        naplo,
        {
            field("Id", K::AutoInc),
            field("Ido", K::DateTime),
            text("Munkaallomas", 100),
            text("Felhasznalo", 100),
            text("Muvelet", 30),
            field("IngatlanId", K::Int32),
            field("ArchivId", K::Int32),
            text("Azonosito", identifierWidth),
            field("Reszletek", K::Memo),
        },
        {},
        {},
        {{QStringLiteral("IngatlanId")}, {QStringLiteral("ArchivId")}},
        4,
    };
}

QList<TableDef> build()
{
    return {
        egyszeruDef(),       reszletesDef(),    ownerTable(tulajdonos, 200),
        workingOwnerTable(), archivDef(),       ownerTable(archivtulaj, 20),
        defaultsDef(),       telepulesDef(),    itypesDef(),
        erdeklodokDef(),     erdeklodesDef(),   hirekDef(),
        hirkivonatDef(),     ftpkapcsolatDef(), kepcsereDef(),
        naploDef(),
    };
}

} // namespace

const QList<TableDef> &all()
{
    static const QList<TableDef> definitions = build();
    return definitions;
}

const TableDef &def(const QString &tableName)
{
    for (const TableDef &table : all()) {
        if (table.name == tableName)
            return table;
    }
    throw std::invalid_argument("unknown table " + tableName.toStdString());
}

const FieldDef &field(const QString &tableName, const QString &fieldName)
{
    const TableDef *table = nullptr;
    for (const TableDef &candidate : all()) {
        if (candidate.name == tableName)
            table = &candidate;
    }
    const int index = table ? table->fieldIndex(fieldName) : -1;
    if (index < 0)
        throw StoreError(QStringLiteral("Ismeretlen mező: %1.%2").arg(tableName, fieldName));
    return table->fields.at(index);
}

int width(const QString &tableName, const QString &fieldName)
{
    return field(tableName, fieldName).width;
}

} // namespace tables
