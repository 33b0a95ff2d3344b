#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <optional>

class Cursor;

// A request as its form's boxes give it: the fields in the form's order, and the price bounds
// as typed, before they are made whole (an amount too large must be reported, not wrapped).
struct RequestEntry
{
    QList<QPair<QString, QVariant>> values;
    double from = 0;
    double to = 0;
};

// The first check a request fails: the field whose box takes the focus, and what to say.
struct RequestProblem
{
    QString field;
    QString message;
};

// Empty when a price bound fits the table, else the message that says what does.
QString amountProblem(double amount);

// The checks of "Rögzít", in the order the boxes are met: the required fields first, then the
// price bounds.
std::optional<RequestProblem> requestProblem(const RequestEntry &entry);

// Writes the request into the record the cursor is editing (new or selected) and posts it, with
// its entry in the change log, as one unit.
void writeRequest(Cursor &requests, const RequestEntry &entry);

// Stores a change made in place in the current request (the list window's boxes), with its
// entry in the change log, as one unit; nothing when no change is pending.
void storeRequestEdit(Cursor &requests);

// Deletes the current request, with its entry in the change log, as one unit.
void deleteRequest(Cursor &requests);
