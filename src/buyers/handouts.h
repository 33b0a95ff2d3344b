#pragma once

#include <QDateTime>
#include <QString>

class Cursor;
class Record;

// The buyer a property's address is handed to, as typed into the buyer window.
struct Buyer
{
    QString name;
    QString address;
    QString telefon;
    QString szigsz;
};

// Records one handout: a new record of the handout table for the property, with the buyer's
// details as they stand and the time of the handout. Handout records are never changed or
// deleted afterwards.
void ErdeklodoFelvitel(Cursor &tErdeklodo, double ingatlanId, const QString &ingatlanAzon,
                       const Buyer &buyer, const QDateTime &when = QDateTime::currentDateTime());
// The handout record as ErdeklodoFelvitel stores it, before it is stored: an address list shows
// it while the handouts of its run wait to be recorded.
Record handoutRecord(double ingatlanId, const QString &ingatlanAzon, const Buyer &buyer,
                     const QDateTime &when);
void ErdeklodoFelvitel(Cursor &tErdeklodo, const Record &handout);

// The latest handout of a property: the last of its records in stored order, or a null record
// when its address was never handed out. Leaves the cursor filtered to that property's records
// and on the last of them.
Record latestHandout(Cursor &tErdeklodo, double ingatlanId);

// The filter text selecting the handouts of one property.
QString handoutFilter(double ingatlanId);
