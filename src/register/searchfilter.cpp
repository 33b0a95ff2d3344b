#include "register/searchfilter.h"

#include "store/filter.h"
#include "store/textformat.h"

QString searchFilter(const SearchFields &fields)
{
    if (!fields.identifier.isEmpty())
        return QStringLiteral("Azonosito=") + Filter::quote(fields.identifier);

    QString expression;
    auto add = [&expression](const QString &condition) {
        expression += expression.isEmpty() ? condition : QStringLiteral(" and ") + condition;
    };
    if (fields.lower != 0 || fields.upper != 0) {
        add(QStringLiteral("(Ar >= ") + textformat::filterNumber(fields.lower) +
            QStringLiteral(" and Ar <= ") + textformat::filterNumber(fields.upper) +
            QLatin1Char(')'));
    }
    if (fields.typeIndex != 0)
        add(QStringLiteral("TipusText=") + Filter::quote(fields.typeText + QLatin1Char('*')));
    if (!fields.settlement.isEmpty())
        add(QStringLiteral("CimVaros=") + Filter::quote(fields.settlement + QLatin1Char('*')));
    return expression;
}
