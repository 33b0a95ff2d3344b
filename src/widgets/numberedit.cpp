#include "widgets/numberedit.h"

#include "store/textformat.h"
#include "widgets/wheelguard.h"

#include <QLineEdit>
#include <limits>

NumberEdit::NumberEdit(const QString &objectName, const QString &suffix, double minimum,
                       double maximum, QWidget *parent)
    : QDoubleSpinBox(parent)
{
    setObjectName(objectName);
    setSuffix(suffix);
    setRange(minimum, maximum);
    setDecimals(4);
    setGroupSeparatorShown(true);
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setAlignment(Qt::AlignRight);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(false);
    takeWheelOnlyWithFocus(this);
}

int NumberEdit::wholeValue() const
{
    return int(textformat::roundHalfEven(value()));
}

QString NumberEdit::textFromValue(double value) const
{
    return locale().toString(textformat::roundHalfEven(value), 'f', 0);
}

QString NumberEdit::numberPart(QString text) const
{
    if (text.endsWith(suffix()))
        text.chop(suffix().size());
    text.remove(locale().groupSeparator());
    text.remove(QLatin1Char(' '));
    text.remove(QChar(0x00A0));
    text.remove(QChar(0x202F));
    return text;
}

double NumberEdit::valueFromText(const QString &text) const
{
    const QString number = numberPart(text);
    if (number.isEmpty() || number == QLatin1String("-"))
        return 0;
    bool ok = false;
    const double parsed = locale().toDouble(number, &ok);
    return ok ? std::clamp(parsed, minimum(), maximum()) : value();
}

QValidator::State NumberEdit::validate(QString &text, int &) const
{
    const QString number = numberPart(text);
    // Where nothing below zero makes sense the minus key is refused outright, rather than
    // accepted and quietly turned into 0 when the edit is left.
    if (minimum() >= 0 && number.startsWith(QLatin1Char('-')))
        return QValidator::Invalid;
    if (number.isEmpty() || number == QLatin1String("-") ||
        number.endsWith(locale().decimalPoint()))
        return QValidator::Intermediate;
    bool ok = false;
    const double parsed = locale().toDouble(number, &ok);
    if (!ok)
        return QValidator::Invalid;
    return parsed < minimum() || parsed > maximum() ? QValidator::Intermediate
                                                    : QValidator::Acceptable;
}

void NumberEdit::fixup(QString &text) const
{
    text = textFromValue(valueFromText(text)) + suffix();
}

NumberEdit *makeCounter(const QString &objectName, QWidget *parent)
{
    return new NumberEdit(objectName, QStringLiteral(" darab"), 0,
                          std::numeric_limits<qint16>::max(), parent);
}
