#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The two ways a multiple-choice list is kept in the detailed description: the flag string
// ("1" or "0" per option, in option order) reloads the list, the caption list (ticked captions
// joined by ", ") is what is shown and printed.
namespace flagstring {

QString fromTicks(const QList<bool> &ticks);
QString captionList(const QStringList &captions, const QList<bool> &ticks);
// Option i is ticked when character i of the text is "1"; options past the text's end are not.
QList<bool> toTicks(const QString &flags, qsizetype optionCount);

} // namespace flagstring
