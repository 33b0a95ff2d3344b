#pragma once

#include "buyers/erdeklodes.h"
#include "buyers/erdmodosit.h"
#include "buyers/erdutkoztet.h"
#include "buyers/ujerdeklodes.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/typing.h"
#include "widgets/numberedit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

// The request windows as start-up makes them, over a fresh data directory with a type list,
// and the small steps a user takes in them.
struct RequestFixture
{
    RequestFixture()
    {
        Cursor types(db, tables::itypes, true);
        int id = 1;
        for (const char *name : {"Lakás", "Családi ház", "Telek", "Panellakás"}) {
            types.append();
            types.setValue(QStringLiteral("Id"), id++);
            types.setValue(QStringLiteral("Name"), QString::fromUtf8(name));
            types.post();
        }
        fErdeklodes = std::make_unique<TfErdeklodes>(cursors, windows);
        windows.fErdeklodes = fErdeklodes.get();
        fUjErdeklodes = std::make_unique<TfUjErdeklodes>(cursors, fErdeklodes->tErdeklodes());
        windows.fUjErdeklodes = fUjErdeklodes.get();
        fModositErdeklodes =
            std::make_unique<TfModositErdeklodes>(cursors, fErdeklodes->tErdeklodes());
        windows.fModositErdeklodes = fModositErdeklodes.get();
        fErdUtkoztet = std::make_unique<TfErdUtkoztet>(cursors);
        windows.fErdUtkoztet = fErdUtkoztet.get();
    }

    void addProperty(const QString &azonosito, const QString &varos, const QString &tipus,
                     double ar)
    {
        Cursor &c = cursors.tEgyszeru;
        c.append();
        c.setValue(QStringLiteral("Azonosito"), azonosito);
        c.setValue(QStringLiteral("CimIrsz"), QStringLiteral("1111"));
        c.setValue(QStringLiteral("CimVaros"), varos);
        c.setValue(QStringLiteral("CimUtca"), QStringLiteral("Fő utca"));
        c.setValue(QStringLiteral("CimHazszam"), QStringLiteral("1."));
        c.setValue(QStringLiteral("TipusText"), tipus);
        c.setValue(QStringLiteral("Ar"), ar);
        c.post();
    }

    // A request as the web import stores it: no type position, no flag.
    void addRequest(const QString &nev, const QString &telepules, const QString &tipus,
                    double artol, double arig)
    {
        Cursor c(db, tables::erdeklodes, false);
        c.append();
        c.setValue(QStringLiteral("Nev"), nev);
        c.setValue(QStringLiteral("Telepules"), telepules);
        c.setValue(QStringLiteral("TipusText"), tipus);
        c.setValue(QStringLiteral("Artol"), artol);
        c.setValue(QStringLiteral("Arig"), arig);
        c.setValue(QStringLiteral("Mikor"), QStringLiteral("2026. 03. 01. 10:00:00"));
        c.post();
    }

    // The request table as stored, read through a cursor of its own.
    Record stored(int position)
    {
        Cursor c(db, tables::erdeklodes, false);
        return c.recordAt(position);
    }
    int storedCount()
    {
        Cursor c(db, tables::erdeklodes, false);
        return c.recordCount();
    }

    TempDataDir dir;
    Database db {dir.path()};
    RegisterState cursors {db};
    RequestWindows windows;
    std::unique_ptr<TfErdeklodes> fErdeklodes;
    std::unique_ptr<TfUjErdeklodes> fUjErdeklodes;
    std::unique_ptr<TfModositErdeklodes> fModositErdeklodes;
    std::unique_ptr<TfErdUtkoztet> fErdUtkoztet;
};

inline void click(QWidget *window, const QString &button)
{
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

// Puts the focus on a box as a click into it does.
inline void focusOn(QWidget *box)
{
    // A message that just closed may have left no window active; focus moves only in an active
    // one.
    if (!box->isActiveWindow()) {
        box->activateWindow();
        if (!QTest::qWaitForWindowActive(box->window()))
            QTest::qFail("the window never became active", __FILE__, __LINE__);
    }
    box->setFocus();
}

// Types into a box as a user does after clicking into it, replacing what it held.
inline void typeInto(QWidget *box, const QString &text)
{
    focusOn(box);
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(box)) {
        spin->selectAll();
        typeText(spin, text);
        return;
    }
    if (qobject_cast<QLineEdit *>(box) || qobject_cast<QComboBox *>(box)) {
        retypeText(box, text);
        return;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box, Qt::Key_Return);
        typeText(box, lines[i]);
    }
}

// Runs `open`, which brings up a modal window, and works that window with `steps` from its own
// event loop; a window the steps leave open (a failed check returns early) is closed, so a
// failure never hangs the test. Each call polls with a timer of its own, so windows opened
// from within the steps are worked the same way. Returns the window's text (its message, or
// its caption), empty when no window came up.
inline QString throughModal(const std::function<void()> &open,
                            const std::function<void(QWidget *)> &steps)
{
    QWidget *before = QApplication::activeModalWidget();
    QString seen;
    bool handled = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (handled || !modal || modal == before || !modal->isVisible())
            return;
        handled = true;
        timer.stop();
        seen = dialogText(modal);
        steps(modal);
        if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && dialog->isVisible())
            dialog->reject();
    });
    timer.start();
    open();
    return seen;
}

inline void press(QWidget *window, const QString &button)
{
    const auto buttons = window->findChildren<QAbstractButton *>();
    for (QAbstractButton *candidate : buttons) {
        if (candidate->objectName() == button ||
            candidate->text().remove(QLatin1Char('&')) == button) {
            candidate->click();
            return;
        }
    }
    // Fails the running test; the caller goes on as after a click that did nothing.
    QTest::qFail(qPrintable(QStringLiteral("no button %1 in %2").arg(button, window->objectName())),
                 __FILE__, __LINE__);
}

// Clicks a button that opens a modal window and works that window.
inline QString clickThrough(QWidget *window, const QString &button,
                            const std::function<void(QWidget *)> &steps)
{
    return throughModal([&] { click(window, button); }, steps);
}

// Clicks a button that brings up a message or question and answers it; returns its text.
inline QString clickAnswering(QWidget *window, const QString &button, const QString &answer)
{
    return clickThrough(window, button, [&](QWidget *modal) { press(modal, answer); });
}

// The name of the control that has the focus in the window (an editable list's inner box counts
// as the list).
inline QString focused(QWidget *window)
{
    QWidget *widget = window->focusWidget();
    if (widget && widget->objectName().isEmpty() &&
        qobject_cast<QComboBox *>(widget->parentWidget()))
        widget = widget->parentWidget();
    return widget ? widget->objectName() : QString();
}

// What a box shows, with the regional no-break spaces of money texts read as blanks.
inline QString shown(QWidget *window, const QString &box)
{
    QString text;
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(control(window, box)))
        text = spin->text();
    else
        text = control<QLineEdit>(window, box)->text();
    return text.replace(QChar(0xA0), QLatin1Char(' ')).replace(QChar(0x202F), QLatin1Char(' '));
}

// Fills the boxes a request form requires.
inline void fillRequired(QWidget *w)
{
    typeInto(control(w, QStringLiteral("eNev")), QStringLiteral("Kiss Ödön"));
    typeInto(control(w, QStringLiteral("eCimIrsz")), QStringLiteral("6720"));
    typeInto(control(w, QStringLiteral("eCimVaros")), QStringLiteral("Szeged"));
    typeInto(control(w, QStringLiteral("eCimUtca")), QStringLiteral("Kárász utca 5."));
    typeInto(control(w, QStringLiteral("eCimMegye")), QStringLiteral("Csongrád"));
    control<QComboBox>(w, QStringLiteral("eTipus"))->setCurrentIndex(1);
    typeInto(control(w, QStringLiteral("eTelefon")), QStringLiteral("+36 62 123 456"));
}
