#pragma once

#include "buyers/handouts.h"
#include "store/cursor.h"

#include <QDateTime>
#include <QDialog>

class QLineEdit;
class Record;
struct RegisterState;

// The buyer window: asks for the buyer's details before an address list is handed out. It keeps
// the previous buyer's details, since the same buyer often comes back for more addresses. It
// works on the register's handout cursor, which stays closed except while a print run uses it.
class TfErdeklodo : public QDialog
{
    Q_OBJECT
public:
    enum class Outcome { GoOn, Abandon };

    explicit TfErdeklodo(RegisterState &cursors, QWidget *parent = nullptr);

    // Shows the window modally. "Rögzít" with every box filled goes on; "Mégsem", Esc and the
    // window's close box abandon (closing by the frame is never taken as a handout).
    Outcome ask();
    Buyer buyer() const;
    Cursor &tErdeklodo() { return m_tErdeklodo; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BitBtn1Click();
    void Button2Click();

    Cursor &m_tErdeklodo;
    QLineEdit *m_edit1;
    QLineEdit *m_edit2;
    QLineEdit *m_edit3;
    QLineEdit *m_edit4;
};
