#pragma once

#include <QLineEdit>

// A number edit with a display format such as ",0 Ft;-,0 Ft": thousands grouped, no decimals
// shown, a literal suffix. It holds a floating-point value, so a fraction typed into a year or a
// count is kept until the program rounds it. Money edits stay formatted while they are typed
// into; the others show the plain number while they have the focus.
class NumberEdit : public QLineEdit
{
    Q_OBJECT
public:
    struct Format
    {
        QString suffix; // " Ft", " darab" or empty
        int maxDigits = 12; // at most this many digits before the decimal separator
        bool formattedWhileEditing = false;
        bool wholeNumbers = false; // fractions are not accepted at all
    };

    explicit NumberEdit(const Format &format, QWidget *parent = nullptr);

    static Format money() { return {QStringLiteral(" Ft"), 12, true, false}; }
    static Format count() { return {QStringLiteral(" darab"), 9, false, false}; }
    static Format plain(int maxDigits) { return {QString(), maxDigits, false, false}; }

    double value() const;
    void setValue(double value);
    // The value as the display format shows it ("12 500 000 Ft").
    QString formatted(double value) const;
    // Parses text typed by the user or shown by the edit; empty text is 0.
    double parse(const QString &text) const;

signals:
    void valueChanged(double value);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void reformatWhileTyping();
    QString plainText(double value) const;

    Format m_format;
    double m_value = 0;
    bool m_updating = false;
};
