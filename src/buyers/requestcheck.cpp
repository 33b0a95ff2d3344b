#include "buyers/requestcheck.h"

#include "store/cursor.h"
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
    for (const auto &[field, value] : entry.values)
        requests.setValue(field, value);
    requests.setValue(QStringLiteral("Mikor"), textformat::timestampNow());
    requests.post();
}
