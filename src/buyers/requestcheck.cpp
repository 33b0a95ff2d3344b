#include "buyers/requestcheck.h"

#include "store/changelog.h"
#include "store/cursor.h"
#include "store/filter.h"
#include "store/tables.h"
#include "store/textformat.h"

#include <limits>

namespace {

QVariant valueOf(const RequestEntry &entry, const QString &field)
{
    for (const auto &[name, value] : entry.values) {
        if (name == field)
            return value;
    }
    return {};
}

bool isBlank(const QVariant &value)
{
    return !value.isValid() || value.isNull() || value.toString().isEmpty();
}

// Who asked for what: how the log tells one request from another.
QString requestSummary(const Record &request)
{
    QStringList sought;
    for (const char *field : {"TipusText", "Telepules"}) {
        const QString text = request.text(QString::fromLatin1(field));
        if (!text.isEmpty())
            sought << text;
    }
    const QString name = request.text(QStringLiteral("Nev"));
    return sought.isEmpty() ? name
                            : name + QStringLiteral(": ") + sought.join(QStringLiteral(", "));
}

Record storedRequest(Database &db, int id)
{
    Cursor stored(db, tables::erdeklodes, false);
    stored.open();
    return stored.locate(filters::withId(id)) ? stored.record() : Record();
}

// The fields the user changed; the time of the entry and the match flag are the program's.
QStringList changedFields(const Record &before, const Record &after)
{
    static const QStringList own {QStringLiteral("Id"), QStringLiteral("Mikor"),
                                  QStringLiteral("Utkozes")};
    QStringList changed;
    const TableDef *def = after.def();
    for (int index = 0; def && index < def->fields.size(); ++index) {
        const QString &name = def->fields[index].name;
        if (!own.contains(name) &&
            (before.isNull() || before.value(index).toString() != after.value(index).toString()))
            changed << name;
    }
    return changed;
}

void logRequest(Database &db, const QString &action, const QString &details)
{
    changelog::Entry entry;
    entry.action = action;
    entry.details = details;
    changelog::append(db, entry);
}

void logModification(Database &db, const Record &written, const QStringList &changed)
{
    logRequest(db, changelog::keresesModositasa,
               written.text(QStringLiteral("Nev")) + QStringLiteral(": ") +
                   (changed.isEmpty() ? QStringLiteral("nem változott adat")
                                      : changed.join(QStringLiteral(", "))));
}

void restoreEdit(Cursor &requests, const Record &written, bool isNew)
{
    // A save refused for another workstation's is refused again until the request is read
    // anew: the count it was read with stays.
    if (isNew)
        requests.append();
    else
        requests.edit(written.version);
    const TableDef &def = requests.def();
    for (int index = 0; index < def.fields.size(); ++index) {
        if (def.fields[index].kind != FieldKind::AutoInc)
            requests.setValue(def.fields[index].name, written.value(index));
    }
}

} // namespace

QString amountProblem(double amount)
{
    const double whole = textformat::roundHalfEven(amount);
    if (whole > std::numeric_limits<qint32>::max())
        return QStringLiteral("Az összeg legfeljebb 2 147 483 647 Ft lehet!");
    if (whole < std::numeric_limits<qint32>::min())
        return QStringLiteral("Az összeg legalább -2 147 483 648 Ft lehet!");
    return {};
}

std::optional<RequestProblem> requestProblem(const RequestEntry &entry)
{
    // The order the form's boxes are checked in, so the focus goes to the first one missing.
    static const char *const required[] = {"Nev",      "CimIrsz", "CimVaros", "CimUtca",
                                           "CimMegye", "Tipus",   "Telefon"};
    for (const char *field : required) {
        const QString name = QString::fromLatin1(field);
        const QVariant value = valueOf(entry, name);
        // No type chosen leaves the index out, or below the list.
        const bool missing =
            name == QLatin1String("Tipus") ? !value.isValid() || value.toInt() < 0 : isBlank(value);
        if (missing)
            return RequestProblem {name, QStringLiteral("Nincs elég adat!")};
    }
    const std::pair<const char *, double> amounts[] {{"Artol", entry.from}, {"Arig", entry.to}};
    for (const auto &[field, amount] : amounts) {
        const QString problem = amountProblem(amount);
        if (!problem.isEmpty())
            return RequestProblem {QString::fromLatin1(field), problem};
    }
    return std::nullopt;
}

void writeRequest(Cursor &requests, const RequestEntry &entry)
{
    Database &db = requests.database();
    const bool isNew = requests.state() == Cursor::State::Insert;
    const Record before =
        isNew ? Record() : storedRequest(db, requests.integer(QStringLiteral("Id")));
    Database::Transaction unit(db);
    for (const auto &[field, value] : entry.values)
        requests.setValue(field, value);
    requests.setValue(QStringLiteral("Mikor"), textformat::timestampNow());
    const Record written = requests.record();
    requests.post();
    if (isNew)
        logRequest(db, changelog::keresesFelvitele, requestSummary(written));
    else
        logModification(db, written, changedFields(before, written));
    unit.commit();
}

void storeRequestEdit(Cursor &requests)
{
    if (!requests.isOpen() || requests.state() == Cursor::State::Browse)
        return;
    Database &db = requests.database();
    const bool isNew = requests.state() == Cursor::State::Insert;
    const Record written = requests.record();
    const QStringList changed = isNew
        ? QStringList()
        : changedFields(storedRequest(db, requests.integer(QStringLiteral("Id"))), written);
    try {
        Database::Transaction unit(db);
        requests.post();
        // A box left as it was is no change to tell of.
        if (isNew)
            logRequest(db, changelog::keresesFelvitele, requestSummary(written));
        else if (!changed.isEmpty())
            logModification(db, written, changed);
        unit.commit();
    } catch (...) {
        // The undone unit dropped the edit; the boxes are the only copy of what was typed.
        restoreEdit(requests, written, isNew);
        throw;
    }
}

void deleteRequest(Cursor &requests)
{
    if (!requests.isOpen())
        return;
    // A request not stored yet is only dropped; a change made in place goes with the request.
    const bool stored = requests.state() != Cursor::State::Insert;
    requests.cancel();
    if (!stored || requests.isEmpty())
        return;
    Database &db = requests.database();
    const Record request = requests.record();
    Database::Transaction unit(db);
    requests.remove();
    logRequest(db, changelog::keresesTorlese, requestSummary(request));
    unit.commit();
}
