#pragma once

#include <QString>

class Cursor;

struct SettlementOfPostcode
{
    QString name;
    QString county;
};

// The first settlement of the settlement cursor with this postcode; both texts empty when none
// has it. The cursor is left filtered on the postcode.
SettlementOfPostcode lookUpPostcode(Cursor &tTelep, const QString &postcode);
