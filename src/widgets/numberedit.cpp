#include "numberedit.h"

#include <QLocale>
#include <QRegularExpressionValidator>
#include <cmath>

NumberEdit::NumberEdit(const Format &format, QWidget *parent)
    : QLineEdit(parent)
    , m_format(format)
{
    const QString decimal = m_format.wholeNumbers ? QStringLiteral("(?!)") : QRegularExpression::escape(QLocale().decimalPoint());
    // Money is typed into its formatted text (grouping blanks, the suffix); the others are typed
    // as plain numbers of at most so many digits.
    const QString pattern = m_format.formattedWhileEditing
        ? QStringLiteral("^-?[0-9 \\x{00a0}\\x{202f}]*(%1[0-9]{0,2})?%2?$").arg(decimal, QRegularExpression::escape(m_format.suffix))
        : QStringLiteral("^-?[0-9]{0,%1}(%2[0-9]{0,2})?$").arg(m_format.maxDigits).arg(decimal);
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
    setAlignment(Qt::AlignRight);
    setText(formatted(0));
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (m_format.formattedWhileEditing)
            reformatWhileTyping();
        const double parsed = parse(text());
        if (parsed != m_value) {
            m_value = parsed;
            emit valueChanged(m_value);
        }
    });
}

double NumberEdit::parse(const QString &text) const
{
    QString digits = text;
    if (!m_format.suffix.isEmpty())
        digits.remove(m_format.suffix.trimmed());
    digits.remove(QLatin1Char(' ')).remove(QChar(0xa0)).remove(QChar(0x202f)).remove(QLocale().groupSeparator());
    digits.replace(QLocale().decimalPoint(), QStringLiteral("."));
    digits = digits.trimmed();
    if (digits.isEmpty() || digits == QLatin1String("-"))
        return 0;
    bool ok = false;
    const double parsed = digits.toDouble(&ok);
    return ok ? parsed : 0;
}

QString NumberEdit::formatted(double value) const
{
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    // ",0" shows whole numbers; a kept fraction shows rounded, as the format prints it.
    return locale.toString(std::round(value), 'f', 0) + m_format.suffix;
}

QString NumberEdit::plainText(double value) const
{
    if (value == 0)
        return QStringLiteral("0");
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

double NumberEdit::value() const
{
    return m_value;
}

void NumberEdit::setValue(double value)
{
    m_value = value;
    m_updating = true;
    setText(hasFocus() && !m_format.formattedWhileEditing ? plainText(value) : formatted(value));
    m_updating = false;
}

void NumberEdit::reformatWhileTyping()
{
    if (m_updating)
        return;
    const QString before = text();
    const int fromEnd = static_cast<int>(before.size()) - cursorPosition();
    const QString decimal = QLocale().decimalPoint();
    // Keep a fraction being typed as it is; group the whole part.
    const qsizetype decimalAt = m_format.wholeNumbers ? -1 : before.indexOf(decimal);
    QString whole = decimalAt >= 0 ? before.left(decimalAt) : before;
    QString fraction = decimalAt >= 0 ? before.mid(decimalAt) : QString();
    if (!m_format.suffix.isEmpty()) {
        whole.remove(m_format.suffix.trimmed());
        fraction.remove(m_format.suffix.trimmed());
    }
    fraction.remove(QLatin1Char(' '));
    const double wholeValue = parse(whole);
    QLocale locale;
    QString text = (whole.trimmed().startsWith(QLatin1Char('-')) && wholeValue == 0 ? QStringLiteral("-") : QString())
        + locale.toString(wholeValue, 'f', 0) + fraction + m_format.suffix;
    m_updating = true;
    setText(text);
    setCursorPosition(std::max(0, static_cast<int>(text.size()) - fromEnd));
    m_updating = false;
}

void NumberEdit::focusInEvent(QFocusEvent *event)
{
    if (!m_format.formattedWhileEditing) {
        m_updating = true;
        setText(plainText(m_value));
        m_updating = false;
    }
    QLineEdit::focusInEvent(event);
}

void NumberEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    m_value = parse(text());
    m_updating = true;
    setText(formatted(m_value));
    m_updating = false;
}
