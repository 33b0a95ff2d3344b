#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class Cursor;
class NumberEdit;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
struct FieldDef;

// Field values in a window's order, as a record takes them.
using FieldValues = QList<QPair<QString, QVariant>>;

// Keeps a multi-line box within what its text field stores (line breaks count as two).
void limitStoredLength(QPlainTextEdit *edit, int width);

// Controls of a window paired with fields of one table. There are no data-aware controls here:
// a window loads the current record into its controls when it shows one, and reads them back,
// as the record takes them, when it stores. Every box takes no more than its field keeps, so
// nothing typed is cut silently on the way in.
class FieldBinder
{
public:
    explicit FieldBinder(const QString &table);

    const QString &table() const { return m_table; }

    // Texts; a numeric field is shown as the register writes numbers (read-only views).
    QLineEdit *bind(QLineEdit *edit, const QString &field);
    // An editable or fixed list, by its text. An editable one is made so before it is bound, so
    // that its line takes the field's width.
    QComboBox *bind(QComboBox *combo, const QString &field);
    // A list chosen by position: the position in `indexField`, the item's text in `textField`.
    // With nothing chosen both fields keep what they hold: a stored position the list no longer
    // has is not lost by saving the record.
    QComboBox *bindIndex(QComboBox *combo, const QString &indexField, const QString &textField);
    QCheckBox *bind(QCheckBox *box, const QString &field);
    // `whole`: rounded, halves to the even neighbour, as counts and years are stored.
    NumberEdit *bind(NumberEdit *edit, const QString &field, bool whole);
    // Line breaks as the table keeps them (CR LF) and as the edit shows them (LF).
    QPlainTextEdit *bind(QPlainTextEdit *memo, const QString &field);

    // The current record into the controls. An empty view reads as a record never written:
    // empty texts, no ticks, zeros, the first item of a list kept by position.
    void load(const Cursor &cursor) const;
    // Every control empty: no text, nothing chosen, no tick, zero.
    void clear() const;
    // What the controls hold, field by field in binding order, as the record takes it.
    FieldValues values() const;
    // The values into the cursor's record in editing (the caller edits, appends and posts).
    void write(Cursor &cursor) const;

private:
    enum class Kind { Line, Combo, Index, Check, Number, WholeNumber, Memo };
    struct Binding
    {
        QWidget *control;
        Kind kind;
        QString field;
        QString textField; // the item text of a list chosen by position
    };

    const FieldDef &fieldDef(const QString &field) const;
    void loadOne(const Binding &binding, const Cursor &cursor) const;
    void appendValues(const Binding &binding, FieldValues &values) const;

    QString m_table;
    QList<Binding> m_bindings;
};
