#pragma once

#include <QDoubleSpinBox>

// A number edit with a display format like ",0 darab": thousands grouped, no decimals shown, a
// literal suffix. It holds what was typed (fractions too); whoever stores it rounds, and the
// shown whole number is that rounding, so the screen never promises a different value.
class NumberEdit : public QDoubleSpinBox
{
    Q_OBJECT
public:
    NumberEdit(const QString &objectName, const QString &suffix, double minimum, double maximum,
               QWidget *parent = nullptr);

    // The value as a table's whole-number field takes it: rounded, halves to the even neighbour.
    int wholeValue() const;

protected:
    QString textFromValue(double value) const override;
    double valueFromText(const QString &text) const override;
    QValidator::State validate(QString &text, int &pos) const override;
    // What cannot be taken as typed (empty, out of range) becomes the nearest value it can hold.
    void fixup(QString &text) const override;

private:
    QString numberPart(QString text) const;
};

// The counters of the detailed description: ",0 darab", fitting a 16-bit field; never below 0.
NumberEdit *makeCounter(const QString &objectName, QWidget *parent = nullptr);
