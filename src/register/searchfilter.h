#pragma once

#include <QString>

// What the search fields hold when "Keresés" is pressed, after an empty or zero upper bound has
// been replaced by the largest one.
struct SearchFields
{
    QString identifier; // as typed, not trimmed
    QString settlement;
    int typeIndex = 0; // 0 is "<üres>"
    QString typeText;
    double lower = 0;
    double upper = 0;
};

// The largest upper bound; an empty or zero upper bound stands for it.
constexpr double unboundedPrice = 9999999999.0;

// The property filter a search sets: the identifier alone when one is typed, otherwise the
// price range, then the type and the settlement as prefixes. Typed texts are quoted safely.
QString searchFilter(const SearchFields &fields);
