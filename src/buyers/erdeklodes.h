#pragma once

#include "store/cursor.h"
#include "widgets/fieldbinder.h"
#include "widgets/lazywindow.h"

#include <QDialog>
#include <QList>

class CursorGrid;
class NumberEdit;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class TfErdeklodes;
class TfErdUtkoztet;
class TfModositErdeklodes;
class TfUjErdeklodes;
struct RegisterState;

// The long-lived request windows, each made on its first use (start-up says how); the requests
// window opens them through these when a button needs one.
struct RequestWindows
{
    LazyWindow<TfErdeklodes> fErdeklodes;
    LazyWindow<TfUjErdeklodes> fUjErdeklodes;
    LazyWindow<TfModositErdeklodes> fModositErdeklodes;
    LazyWindow<TfErdUtkoztet> fErdUtkoztet;
};

// The requests window: every buyer's search request with its match flag, the selected one
// editable in place, and the matching run. It holds the request cursor the other request
// windows write through.
class TfErdeklodes : public QDialog
{
    Q_OBJECT
public:
    TfErdeklodes(RegisterState &cursors, const RequestWindows &windows, QWidget *parent = nullptr);

    Cursor &tErdeklodes() { return m_tErdeklodes; }

    // "Ingatlant keres" of the side menu: the matching run, then the window, modally.
    void openFromMenu();

    // The matching run: flags every request that some property fits. Also to be run after a
    // new property is stored. A table error is reported to the user and leaves the flags as
    // they were.
    void Utkoztet();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    CursorGrid *buildGrid();
    QGroupBox *buildSoughtGroup();
    QGroupBox *buildBuyerGroup();
    QHBoxLayout *buildButtons();
    QLineEdit *boundLine(const char *field);
    NumberEdit *boundAmount(const char *field);
    void loadBoxes();
    void amountFinished(NumberEdit *box, const QString &field);

    void Button2Click(); // Találatok...
    void BitBtn2Click(); // Új
    void BitBtn3Click(); // Törlés
    void BitBtn4Click(); // Módosítás

    RegisterState &m_cursors;
    const RequestWindows &m_windows;
    Cursor &m_tErdeklodes;
    CursorGrid *DBGrid1;
    // Loads the boxes; what is typed goes into the record as it is typed.
    FieldBinder m_binder;
    NumberEdit *m_artol;
    NumberEdit *m_arig;
    QPlainTextEdit *m_szoveg;
    bool m_loading = false;
};
