#pragma once

#include "buyers/requestcheck.h"
#include "widgets/fieldbinder.h"

#include <QDialog>

class Cursor;
class NumberEdit;
class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
struct RegisterState;

// A box for a request's price bound: whole forints shown as ",0 Ft;-,0 Ft". It takes more than
// the table holds, so that an amount typed too large is reported rather than changed.
NumberEdit *makeAmountEdit(const QString &objectName);

// The form the new-request and modify windows share: the buyer's details and what is sought,
// the checks of "Rögzít" and the write into the request table. The two windows differ in what
// showing them puts into the boxes and in which record "Rögzít" writes.
class RequestForm : public QDialog
{
    Q_OBJECT
public:
    RequestForm(RegisterState &cursors, Cursor &tErdeklodes, const QString &caption,
                const QString &heading, QWidget *parent);

protected:
    // Puts the record to write on the request cursor in editing (a new one or the selected one).
    virtual void startRecord() = 0;

    void clearBoxes();
    void loadBoxes();

    Cursor &m_tErdeklodes;
    QLineEdit *eNev;
    QLineEdit *eCimIrsz;
    QLineEdit *eCimVaros;
    QLineEdit *eCimUtca;
    QLineEdit *eTelefon;
    QLineEdit *eEmail;
    QComboBox *eTipus;
    QLineEdit *eTelepules;
    QComboBox *eCimMegye;
    NumberEdit *eArtol;
    NumberEdit *eArig;
    QPlainTextEdit *eSzoveg;
    FieldBinder m_binder;
    // "Rögzít" and "Mégsem", for a window to add its own buttons beside.
    QHBoxLayout *m_buttons = nullptr;

private:
    void addBuyerRows(QFormLayout *form);
    void addRequestRows(QFormLayout *form, RegisterState &cursors);
    QHBoxLayout *buildButtons();
    QLineEdit *fieldEdit(const char *name, const char *field);
    void BitBtn2Click();
    // Reports the first failed check and puts the focus on its box; false when all pass.
    bool failsCheck();
    RequestEntry entry() const;
    void writeRecord();
};
