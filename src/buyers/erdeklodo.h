#pragma once

#include "store/cursor.h"

#include <QDateTime>
#include <QDialog>

class QLineEdit;
class Record;
struct RegisterState;

// The buyer a property's address is handed to, as typed into the buyer window.
struct Buyer
{
    QString name;
    QString address;
    QString telefon;
    QString szigsz;
};

// Records one handout: a new record of the handout table for the property, with the buyer's
// details as they stand and the time of the handout. Handout records are never changed or
// deleted afterwards.
void ErdeklodoFelvitel(Cursor &tErdeklodo, double ingatlanId, const QString &ingatlanAzon,
                       const Buyer &buyer, const QDateTime &when = QDateTime::currentDateTime());
// The handout record as ErdeklodoFelvitel stores it, before it is stored: an address list shows
// it while the handouts of its run wait to be recorded.
Record handoutRecord(double ingatlanId, const QString &ingatlanAzon, const Buyer &buyer,
                     const QDateTime &when);
void ErdeklodoFelvitel(Cursor &tErdeklodo, const Record &handout);

// The latest handout of a property: the last of its records in stored order, or a null record
// when its address was never handed out. Leaves the cursor filtered to that property's records
// and on the last of them.
Record latestHandout(Cursor &tErdeklodo, double ingatlanId);

// The filter text selecting the handouts of one property.
QString handoutFilter(double ingatlanId);

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
