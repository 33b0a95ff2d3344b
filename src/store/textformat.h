#pragma once

#include <QDateTime>
#include <QString>

// The text forms every part of the program shares: rounding, timestamps, money and plain
// numbers, memo line breaks, and the folded keys that make searches case-blind.
namespace textformat {

// Nearest whole number, a half going to the even neighbour (72.5 -> 72, 73.5 -> 74).
double roundHalfEven(double value);

// Regional short date, a blank, regional long time without its zone; the date alone at midnight.
QString timestampText(const QDateTime &when);
QString timestampNow();

// A price as money in the regional currency format with no decimals ("12 500 000 Ft").
QString moneyText(double amount);

// A number in its shortest decimal form with the regional decimal separator, no grouping.
QString numberText(double value);

// A number as it is written into a filter text: plain digits, "." for decimals, up to 15
// significant digits ("9999999999", "12.5").
QString filterNumber(double value);

// Memos are kept with CR LF line breaks; the edits work with LF.
QString memoFromEdit(const QString &editText);
QString memoToEdit(const QString &stored);

// Full Unicode case folding: what case-blind comparison compares.
QString fold(const QString &text);

// A key that sorts Hungarian words the way an agent expects: accents only break ties, and
// "ö", "ü" come after "o", "u".
QString sortKey(const QString &text);

} // namespace textformat
