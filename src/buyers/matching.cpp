#include "buyers/matching.h"

#include "store/bulkwrite.h"
#include "store/cursor.h"
#include "store/filter.h"
#include "store/officelock.h"
#include "store/record.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/tablescan.h"
#include "store/textformat.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <map>

namespace matching {

namespace {

// An amount as the expression writes it: plain decimal digits, whole values without a
// decimal point. Written out in full at any size, since the filter reads no exponent and a
// web inquiry may carry any amount.
QString amountText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    QString text = QString::number(value, 'f', 15);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// The bound the filter compares with: the amount as read back from the expression.
double boundOf(double value)
{
    return amountText(value).toDouble();
}

// The names of a sorted list that begin with the prefix lie together.
std::pair<int, int> prefixRange(const QStringList &sorted, const QString &prefix)
{
    if (prefix.isEmpty())
        return {0, static_cast<int>(sorted.size())};
    const auto first = std::lower_bound(sorted.begin(), sorted.end(), prefix);
    auto last = first;
    while (last != sorted.end() && last->startsWith(prefix))
        ++last;
    return {static_cast<int>(first - sorted.begin()), static_cast<int>(last - sorted.begin())};
}

// Sorted distinct names, and each key's place among them.
QStringList distinctSorted(const QVector<PropertyKey> &keys, QString PropertyKey::*name,
                           QHash<QString, int> *places)
{
    QStringList names;
    for (const auto &key : keys) {
        if (!places->contains(key.*name)) {
            places->insert(key.*name, 0);
            names.append(key.*name);
        }
    }
    std::sort(names.begin(), names.end());
    for (int i = 0; i < names.size(); ++i)
        (*places)[names[i]] = i;
    return names;
}

} // namespace

Criteria criteriaOf(const Record &request)
{
    return {request.number(QStringLiteral("Artol")), request.number(QStringLiteral("Arig")),
            request.text(QStringLiteral("Telepules")), request.text(QStringLiteral("TipusText"))};
}

QString matchExpression(const Criteria &request)
{
    QString expression = QStringLiteral("Ar >= ") + amountText(request.artol) +
        QStringLiteral(" and Ar <= ") + amountText(request.arig);
    if (!request.telepules.isEmpty())
        expression += QStringLiteral(" and CimVaros = ") +
            Filter::quote(request.telepules + QLatin1Char('*'));
    expression +=
        QStringLiteral(" and TipusText = ") + Filter::quote(request.tipusText + QLatin1Char('*'));
    return expression;
}

QVector<PropertyKey> propertyKeys(Database &db)
{
    const QStringList columns {QStringLiteral("Ar"),
                               TableDef::foldedColumn(QStringLiteral("CimVaros")),
                               TableDef::foldedColumn(QStringLiteral("TipusText"))};
    QVector<PropertyKey> keys;
    // The same few settlement and type names come back again and again: share one copy each.
    QHash<QString, QString> names;
    auto shared = [&names](const QString &name) {
        auto found = names.constFind(name);
        return found != names.constEnd() ? *found : *names.insert(name, name);
    };
    tablescan::scan(db, Selection(tables::def(tables::egyszeru)), columns,
                    [&](const tablescan::Row &row) {
                        if (row.isNull(0))
                            return;
                        keys.append({row.value(0).toDouble(), shared(row.value(1).toString()),
                                     shared(row.value(2).toString())});
                    });
    return keys;
}

PropertyIndex::PropertyIndex(const QVector<PropertyKey> &keys)
{
    QHash<QString, int> typePlaces;
    QHash<QString, int> settlementPlaces;
    m_types = distinctSorted(keys, &PropertyKey::type, &typePlaces);
    m_settlements = distinctSorted(keys, &PropertyKey::settlement, &settlementPlaces);

    m_pricesByType.resize(m_types.size());
    std::vector<std::map<int, std::vector<double>>> byPlace(m_settlements.size());
    for (const auto &key : keys) {
        const int type = typePlaces.value(key.type);
        m_pricesByType[type].push_back(key.price);
        byPlace[settlementPlaces.value(key.settlement)][type].push_back(key.price);
    }
    for (auto &prices : m_pricesByType)
        std::sort(prices.begin(), prices.end());
    m_groupsBySettlement.resize(byPlace.size());
    for (size_t place = 0; place < byPlace.size(); ++place) {
        for (auto &[type, prices] : byPlace[place]) {
            std::sort(prices.begin(), prices.end());
            m_groupsBySettlement[place].push_back({type, std::move(prices)});
        }
    }
}

bool PropertyIndex::anyPriceWithin(const std::vector<double> &prices, double low, double high)
{
    const auto first = std::lower_bound(prices.begin(), prices.end(), low);
    return first != prices.end() && *first <= high;
}

bool PropertyIndex::anyFits(const Criteria &request) const
{
    const double low = boundOf(request.artol);
    const double high = boundOf(request.arig);
    if (low > high)
        return false;
    const auto [firstType, endType] = prefixRange(m_types, textformat::fold(request.tipusText));
    if (firstType == endType)
        return false;
    if (request.telepules.isEmpty()) {
        for (int type = firstType; type < endType; ++type) {
            if (anyPriceWithin(m_pricesByType[type], low, high))
                return true;
        }
        return false;
    }
    const auto [firstPlace, endPlace] =
        prefixRange(m_settlements, textformat::fold(request.telepules));
    for (int place = firstPlace; place < endPlace; ++place) {
        for (const Group &group : m_groupsBySettlement[place]) {
            if (group.type >= firstType && group.type < endType &&
                anyPriceWithin(group.prices, low, high))
                return true;
        }
    }
    return false;
}

void utkoztet(Cursor &tErdeklodes, Cursor &tEgyszeru)
{
    // One run for the whole office: two would write the same flags from different registers.
    OfficeLock office(tErdeklodes.database(), OfficeLock::Kind::Matching);
    if (!office.tryTake())
        throw StoreError(office.busyMessage());
    tErdeklodes.open();
    tErdeklodes.post();
    tEgyszeru.setFiltered(false);
    const PropertyIndex index(propertyKeys(tEgyszeru.database()));

    const int count = tErdeklodes.recordCount();
    QVector<std::pair<qint64, bool>> changed;
    Criteria last;
    for (int position = 0; position < count; ++position) {
        const Record request = tErdeklodes.recordAt(position);
        last = criteriaOf(request);
        const bool fits = index.anyFits(last);
        // Storing an unchanged flag changes nothing, so only the changed ones are written.
        if (fits != request.boolean(QStringLiteral("Utkozes")))
            changed.append({request.rowId, fits});
    }
    bulkwrite::setBooleans(tErdeklodes.database(), tables::erdeklodes, QStringLiteral("Utkozes"),
                           changed);

    if (count > 0) {
        tEgyszeru.setFilterText(matchExpression(last));
        tEgyszeru.setFiltered(true);
    }
    tErdeklodes.last();
}

} // namespace matching
