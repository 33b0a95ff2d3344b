#pragma once

#include <QLineEdit>

// A box for a whole-forint amount. It shows the amount as money ("12 500 000 Ft", zero as
// "0 Ft") and plain digits while it is being typed in. An amount typed beyond what the tables
// hold is kept as typed, so the window can name the problem instead of storing something else.
class AmountEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit AmountEdit(QWidget *parent = nullptr);

    double value() const { return m_value; }
    void setValue(double value);

    // Empty when the amount fits the tables, else the message that says what does.
    QString rangeProblem() const;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showFormatted();
    void showDigits();

    double m_value = 0;
};
