#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

class Cursor;
class Database;
class Record;

// Which properties of the register fit a buyer's search request, and the flag run that marks
// every request some property fits.
namespace matching {

// What of a request takes part in matching; county, free text and type position do not.
struct Criteria
{
    double artol = 0;
    double arig = 0;
    QString telepules; // empty: any settlement
    QString tipusText; // a prefix; empty: any type
};

// A request record's criteria (a cursor's record() includes its unposted edit).
Criteria criteriaOf(const Record &request);

// The filter over the property register that selects the properties fitting the request:
// "Ar >= A and Ar <= B[ and CimVaros = 'T*'] and TipusText = 'P*'".
QString matchExpression(const Criteria &request);

// What matching reads of a property: the fields its expression compares, as the case-blind
// filters compare them.
struct PropertyKey
{
    double price = 0;
    QString settlement; // folded
    QString type; // folded
};

// The key of every property of the register that has a price (one without a price fits no
// price range, just as the filters find), from one pass over the register.
QVector<PropertyKey> propertyKeys(Database &db);

// The properties of the register grouped by settlement and type with sorted prices, so that
// thousands of requests can be answered from one pass over the register. Answers exactly as
// counting the match expression on the case-blind property cursor would.
class PropertyIndex
{
public:
    explicit PropertyIndex(const QVector<PropertyKey> &keys);

    bool anyFits(const Criteria &request) const;

private:
    struct Group
    {
        int type; // index into m_types
        std::vector<double> prices; // sorted
    };

    static bool anyPriceWithin(const std::vector<double> &prices, double low, double high);

    QStringList m_types; // folded, sorted
    std::vector<std::vector<double>> m_pricesByType; // every settlement, sorted
    QStringList m_settlements; // folded, sorted
    std::vector<std::vector<Group>> m_groupsBySettlement;
};

// The matching run: sets `Utkozes` of every request in the request table, true when at least
// one property fits it. Afterwards the property cursor is filtered by the last request's
// expression (filtering stays off when there are no requests) and the request cursor is on the
// last request. An unposted edit of a request is stored first.
void utkoztet(Cursor &tErdeklodes, Cursor &tEgyszeru);

} // namespace matching
