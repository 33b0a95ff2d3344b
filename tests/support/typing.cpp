#include "tests/support/typing.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80 && c.unicode() >= 0x20)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void retypeText(QWidget *widget, const QString &text)
{
    QLineEdit *edit = qobject_cast<QLineEdit *>(widget);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        edit = combo->lineEdit();
    if (edit) {
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Delete);
            return;
        }
        typeText(edit, text);
        return;
    }
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget)) {
        spin->setFocus();
        spin->selectAll();
        if (text.isEmpty())
            QTest::keyClick(spin, Qt::Key_Delete);
        else
            typeText(spin, text);
        return;
    }
    typeText(widget, text);
}
