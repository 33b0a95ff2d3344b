#include "amountedit.h"

#include "textformat.h"

#include <QRegularExpressionValidator>
#include <limits>

namespace {

// What the tables hold: a 32-bit signed whole number of forints.
constexpr double highest = std::numeric_limits<qint32>::max();
constexpr double lowest = std::numeric_limits<qint32>::min();

// Reads the digits of either form the box shows ("-12 500 000 Ft" or "-12500000").
double parseAmount(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit() || (c == u'-' && digits.isEmpty()))
            digits += c;
    }
    return digits.toDouble();
}

} // namespace

AmountEdit::AmountEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight);
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-2 147 483 648 Ft")) + 16);
    // Fifteen digits are more than any amount the tables hold, and still exact in a double, so
    // a mistyped amount is reported as it was typed.
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,15}")), this));
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_value = parseAmount(text); });
    showFormatted();
}

void AmountEdit::setValue(double value)
{
    m_value = textformat::roundHalfEven(value);
    if (hasFocus())
        showDigits();
    else
        showFormatted();
}

QString AmountEdit::rangeProblem() const
{
    if (m_value > highest)
        return QStringLiteral("Az összeg legfeljebb 2 147 483 647 Ft lehet!");
    if (m_value < lowest)
        return QStringLiteral("Az összeg legalább -2 147 483 648 Ft lehet!");
    return {};
}

void AmountEdit::showFormatted()
{
    setText(textformat::moneyText(m_value));
}

void AmountEdit::showDigits()
{
    setText(QString::number(m_value, 'f', 0));
}

void AmountEdit::focusInEvent(QFocusEvent *event)
{
    showDigits();
    QLineEdit::focusInEvent(event);
}

void AmountEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    showFormatted();
}
