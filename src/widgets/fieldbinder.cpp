#include "widgets/fieldbinder.h"

#include "store/cursor.h"
#include "store/tables.h"
#include "store/textformat.h"
#include "widgets/numberedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

void limitStoredLength(QPlainTextEdit *edit, int width)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, width] {
        const QString text = edit->toPlainText();
        if (textformat::memoFromEdit(text).size() <= width)
            return;
        QString kept = text;
        while (textformat::memoFromEdit(kept).size() > width)
            kept.chop(1);
        edit->setPlainText(kept);
        edit->moveCursor(QTextCursor::End);
    });
}

FieldBinder::FieldBinder(const QString &table)
    : m_table(table)
{ }

const FieldDef &FieldBinder::fieldDef(const QString &field) const
{
    return tables::field(m_table, field);
}

QLineEdit *FieldBinder::bind(QLineEdit *edit, const QString &field)
{
    const FieldDef &def = fieldDef(field);
    if (def.kind == FieldKind::Text)
        edit->setMaxLength(def.width);
    m_bindings.append({edit, Kind::Line, def.name, {}});
    return edit;
}

QComboBox *FieldBinder::bind(QComboBox *combo, const QString &field)
{
    const FieldDef &def = fieldDef(field);
    if (combo->lineEdit() && def.kind == FieldKind::Text)
        combo->lineEdit()->setMaxLength(def.width);
    m_bindings.append({combo, Kind::Combo, def.name, {}});
    return combo;
}

QComboBox *FieldBinder::bindIndex(QComboBox *combo, const QString &indexField,
                                  const QString &textField)
{
    m_bindings.append({combo, Kind::Index, fieldDef(indexField).name, fieldDef(textField).name});
    return combo;
}

QCheckBox *FieldBinder::bind(QCheckBox *box, const QString &field)
{
    m_bindings.append({box, Kind::Check, fieldDef(field).name, {}});
    return box;
}

NumberEdit *FieldBinder::bind(NumberEdit *edit, const QString &field, bool whole)
{
    m_bindings.append({edit, whole ? Kind::WholeNumber : Kind::Number, fieldDef(field).name, {}});
    return edit;
}

QPlainTextEdit *FieldBinder::bind(QPlainTextEdit *memo, const QString &field)
{
    const FieldDef &def = fieldDef(field);
    if (def.kind == FieldKind::Text)
        limitStoredLength(memo, def.width);
    m_bindings.append({memo, Kind::Memo, def.name, {}});
    return memo;
}

void FieldBinder::load(const Cursor &cursor) const
{
    for (const Binding &binding : m_bindings)
        loadOne(binding, cursor);
}

void FieldBinder::loadOne(const Binding &binding, const Cursor &cursor) const
{
    switch (binding.kind) {
    case Kind::Line: {
        auto *edit = static_cast<QLineEdit *>(binding.control);
        const FieldKind kind = fieldDef(binding.field).kind;
        // No record shows no number, rather than a 0 nobody entered.
        QString shown;
        if (!cursor.isEmpty())
            shown = kind == FieldKind::Float ? textformat::numberText(cursor.number(binding.field))
                                             : cursor.text(binding.field);
        // A box already showing the value keeps its caret: a window that writes as the user
        // types reloads the very record being typed into.
        if (edit->text() != shown)
            edit->setText(shown);
        // A view shows a long text from its start; an edit keeps the caret where typing goes on.
        if (edit->isReadOnly())
            edit->setCursorPosition(0);
        break;
    }
    case Kind::Combo:
        static_cast<QComboBox *>(binding.control)->setCurrentText(cursor.text(binding.field));
        break;
    case Kind::Index: {
        auto *combo = static_cast<QComboBox *>(binding.control);
        const double stored = textformat::roundHalfEven(cursor.number(binding.field));
        // A position beyond the list chooses nothing.
        combo->setCurrentIndex(stored >= 0 && stored < combo->count() ? int(stored) : -1);
        break;
    }
    case Kind::Check:
        static_cast<QCheckBox *>(binding.control)->setChecked(cursor.boolean(binding.field));
        break;
    case Kind::Number:
    case Kind::WholeNumber:
        static_cast<NumberEdit *>(binding.control)->setValue(cursor.number(binding.field));
        break;
    case Kind::Memo: {
        auto *memo = static_cast<QPlainTextEdit *>(binding.control);
        const QString shown = textformat::memoToEdit(cursor.text(binding.field));
        if (memo->toPlainText() != shown)
            memo->setPlainText(shown);
        break;
    }
    }
}

void FieldBinder::clear() const
{
    for (const Binding &binding : m_bindings) {
        switch (binding.kind) {
        case Kind::Line:
            static_cast<QLineEdit *>(binding.control)->clear();
            break;
        case Kind::Combo:
        case Kind::Index: {
            auto *combo = static_cast<QComboBox *>(binding.control);
            combo->setCurrentIndex(-1);
            if (combo->isEditable())
                combo->setEditText(QString());
            break;
        }
        case Kind::Check:
            static_cast<QCheckBox *>(binding.control)->setChecked(false);
            break;
        case Kind::Number:
        case Kind::WholeNumber:
            static_cast<NumberEdit *>(binding.control)->setValue(0);
            break;
        case Kind::Memo:
            static_cast<QPlainTextEdit *>(binding.control)->clear();
            break;
        }
    }
}

FieldValues FieldBinder::values() const
{
    FieldValues values;
    for (const Binding &binding : m_bindings)
        appendValues(binding, values);
    return values;
}

void FieldBinder::appendValues(const Binding &binding, FieldValues &values) const
{
    switch (binding.kind) {
    case Kind::Line: {
        const auto *edit = static_cast<const QLineEdit *>(binding.control);
        // A masked edit pads with blanks, which are not part of what was typed.
        values.append(
            {binding.field, edit->inputMask().isEmpty() ? edit->text() : edit->text().trimmed()});
        break;
    }
    case Kind::Combo:
        values.append({binding.field, static_cast<QComboBox *>(binding.control)->currentText()});
        break;
    case Kind::Index: {
        const auto *combo = static_cast<const QComboBox *>(binding.control);
        if (combo->currentIndex() >= 0) {
            values.append({binding.field, combo->currentIndex()});
            values.append({binding.textField, combo->currentText()});
        }
        break;
    }
    case Kind::Check:
        values.append({binding.field, static_cast<QCheckBox *>(binding.control)->isChecked()});
        break;
    case Kind::Number:
        values.append({binding.field, static_cast<NumberEdit *>(binding.control)->value()});
        break;
    case Kind::WholeNumber: {
        // Rounded as a float for a float field: an amount past the integers' range stays whole.
        const double value = static_cast<NumberEdit *>(binding.control)->value();
        if (fieldDef(binding.field).kind == FieldKind::Float)
            values.append({binding.field, textformat::roundHalfEven(value)});
        else
            values.append({binding.field, int(textformat::roundHalfEven(value))});
        break;
    }
    case Kind::Memo:
        values.append({binding.field,
                       textformat::memoFromEdit(
                           static_cast<QPlainTextEdit *>(binding.control)->toPlainText())});
        break;
    }
}

void FieldBinder::write(Cursor &cursor) const
{
    for (const auto &[field, value] : values())
        cursor.setValue(field, value);
}
