#include "store/textformat.h"

#include <QLocale>
#include <cmath>

namespace textformat {

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    if (diff < 0.5)
        return floorValue;
    if (diff > 0.5)
        return floorValue + 1;
    return std::fmod(floorValue, 2.0) == 0 ? floorValue : floorValue + 1;
}

QString timestampText(const QDateTime &when)
{
    const QLocale locale = QLocale::system();
    QString date = locale.toString(when.date(), QLocale::ShortFormat);
    if (when.time() == QTime(0, 0))
        return date;
    // The long format ends in a time zone ("H:mm:ss t"); the stored text never carries one.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    timeFormat = timeFormat.trimmed();
    return date + QLatin1Char(' ') + locale.toString(when.time(), timeFormat);
}

QString timestampNow()
{
    return timestampText(QDateTime::currentDateTime());
}

QString moneyText(double amount)
{
    const QLocale locale = QLocale::system();
    return locale.toCurrencyString(amount, locale.currencySymbol(), 0);
}

namespace {

QString plainNumber(double value, QChar decimalPoint)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    // Plain digits at any size: a filter text has no exponent form.
    QString text =
        std::fabs(value) >= 1e15 ? QString::number(value, 'f', 0) : QString::number(value, 'g', 15);
    if (decimalPoint != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), decimalPoint);
    return text;
}

} // namespace

QString numberText(double value)
{
    const QString decimal = QLocale::system().decimalPoint();
    return plainNumber(value, decimal.isEmpty() ? QLatin1Char('.') : decimal.at(0));
}

QString filterNumber(double value)
{
    return plainNumber(value, QLatin1Char('.'));
}

QString memoFromEdit(const QString &editText)
{
    QString text = editText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

QString memoToEdit(const QString &stored)
{
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString fold(const QString &text)
{
    return text.toCaseFolded();
}

QString sortKey(const QString &text)
{
    // Primary letters first, then the folded text to order words that differ only in accents.
    const QString folded = fold(text);
    QString primary;
    primary.reserve(folded.size() + 4);
    for (const QChar c : folded) {
        switch (c.unicode()) {
        case u'á':
        case u'à':
        case u'â':
        case u'ä':
        case u'ă':
        case u'ą':
            primary += QLatin1Char('a');
            break;
        case u'é':
        case u'ë':
        case u'ę':
        case u'ě':
            primary += QLatin1Char('e');
            break;
        case u'í':
        case u'î':
            primary += QLatin1Char('i');
            break;
        case u'ó':
        case u'ô':
            primary += QLatin1Char('o');
            break;
        case u'ö':
        case u'ő':
            primary += QStringLiteral("o{");
            break;
        case u'ú':
        case u'ů':
            primary += QLatin1Char('u');
            break;
        case u'ü':
        case u'ű':
            primary += QStringLiteral("u{");
            break;
        default:
            primary += c;
        }
    }
    return primary + QChar(0x01) + folded;
}

} // namespace textformat
