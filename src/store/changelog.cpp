#include "store/changelog.h"

#include "store/cursor.h"
#include "store/database.h"
#include "store/selection.h"
#include "store/tables.h"

#include <QSqlQuery>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace changelog {

namespace {

const QStringList &columns()
{
    static const QStringList names {
        QStringLiteral("Ido"),       QStringLiteral("Munkaallomas"), QStringLiteral("Felhasznalo"),
        QStringLiteral("Muvelet"),   QStringLiteral("IngatlanId"),   QStringLiteral("ArchivId"),
        QStringLiteral("Azonosito"), QStringLiteral("Reszletek"),
    };
    return names;
}

QString columnList()
{
    QStringList quoted;
    for (const QString &name : columns())
        quoted << Selection::quoted(name);
    return quoted.join(QStringLiteral(", "));
}

Entry entryOf(const QSqlQuery &query)
{
    const TableDef &def = tables::def(tables::naplo);
    auto value = [&](int column) {
        const FieldDef &field = def.fields[def.fieldIndex(columns()[column])];
        return fromColumn(field.kind, query.value(column));
    };
    Entry entry;
    entry.when = value(0).toDateTime();
    entry.workstation = value(1).toString();
    entry.user = value(2).toString();
    entry.action = value(3).toString();
    entry.propertyId = value(4).toInt();
    entry.archiveId = value(5).toInt();
    entry.identifier = value(6).toString();
    entry.details = value(7).toString();
    return entry;
}

// The entries the condition selects, the newest first: record numbers grow with every entry,
// where the workstations' clocks need not agree.
QList<Entry> entriesWhere(Database &db, const QString &condition, const QVariantList &binds)
{
    QSqlQuery query = db.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 DESC")
                                   .arg(columnList(), Selection::quoted(tables::naplo), condition,
                                        Selection::quoted(QStringLiteral("Id"))),
                               binds);
    QList<Entry> entries;
    while (query.next())
        entries << entryOf(query);
    return entries;
}

} // namespace

QString workstation()
{
    return QSysInfo::machineHostName();
}

QString userName(Database &db)
{
    // On the office server the user is the one the server knows, whatever the desk's login.
    if (db.isServer()) {
        QSqlQuery query = db.query(QStringLiteral("SELECT current_user"));
        if (query.next())
            return query.value(0).toString();
    }
    std::vector<char> buffer(16384);
    passwd record {};
    passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &record, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
    // A user the system's account list does not know (a container, a mapped id).
    const QString fromEnvironment = qEnvironmentVariable("USER");
    return fromEnvironment.isEmpty() ? QString::number(geteuid()) : fromEnvironment;
}

void append(Database &db, const Entry &entry)
{
    Database::Transaction unit(db);
    Cursor log(db, tables::naplo, false);
    log.open();
    log.append();
    log.setValue(QStringLiteral("Ido"), QDateTime::currentDateTime());
    log.setValue(QStringLiteral("Munkaallomas"), workstation());
    log.setValue(QStringLiteral("Felhasznalo"), userName(db));
    log.setValue(QStringLiteral("Muvelet"), entry.action);
    log.setValue(QStringLiteral("IngatlanId"), entry.propertyId);
    log.setValue(QStringLiteral("ArchivId"), entry.archiveId);
    log.setValue(QStringLiteral("Azonosito"), entry.identifier);
    log.setValue(QStringLiteral("Reszletek"), entry.details);
    log.post();
    unit.commit();
}

QList<Entry> ofProperty(Database &db, int propertyId)
{
    return entriesWhere(db, QStringLiteral("\"IngatlanId\" = ?"), {propertyId});
}

QList<Entry> ofArchived(Database &db, int archiveId)
{
    if (archiveId == 0)
        return {};
    const int registerId = registerIdOfArchived(db, archiveId);
    if (registerId == 0)
        return entriesWhere(db, QStringLiteral("\"ArchivId\" = ?"), {archiveId});
    return entriesWhere(db, QStringLiteral("\"ArchivId\" = ? OR \"IngatlanId\" = ?"),
                        {archiveId, registerId});
}

int registerIdOfArchived(Database &db, int archiveId)
{
    if (archiveId == 0)
        return 0;
    QSqlQuery query =
        db.query(QStringLiteral("SELECT \"IngatlanId\" FROM %1 WHERE \"ArchivId\" = ? "
                                "AND \"IngatlanId\" <> 0 ORDER BY \"Id\"")
                     .arg(Selection::quoted(tables::naplo)),
                 {archiveId});
    return query.next() ? query.value(0).toInt() : 0;
}

} // namespace changelog
