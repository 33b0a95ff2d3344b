#include "register/flagstring.h"

namespace flagstring {

QString fromTicks(const QList<bool> &ticks)
{
    QString flags;
    flags.reserve(ticks.size());
    for (bool ticked : ticks)
        flags += ticked ? QLatin1Char('1') : QLatin1Char('0');
    return flags;
}

QString captionList(const QStringList &captions, const QList<bool> &ticks)
{
    QStringList ticked;
    for (qsizetype i = 0; i < captions.size() && i < ticks.size(); ++i) {
        if (ticks[i])
            ticked << captions[i];
    }
    return ticked.join(QStringLiteral(", "));
}

QList<bool> toTicks(const QString &flags, qsizetype optionCount)
{
    QList<bool> ticks;
    ticks.reserve(optionCount);
    for (qsizetype i = 0; i < optionCount; ++i)
        ticks << (i < flags.size() && flags[i] == QLatin1Char('1'));
    return ticks;
}

} // namespace flagstring
