#pragma once

#include <QDialog>

class AmountEdit;
class Cursor;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
struct MainCursors;

// Keeps a multi-line box within what its text field stores (line breaks count as two).
void limitStoredLength(QPlainTextEdit *edit, int width);

// The form the new-request and modify windows share: the buyer's details and what is sought,
// the checks of "Rögzít" and the write into the request table. The two windows differ in what
// showing them puts into the boxes and in which record "Rögzít" writes.
class RequestForm : public QDialog
{
    Q_OBJECT
public:
    RequestForm(MainCursors &cursors, Cursor &tErdeklodes, const QString &caption,
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
    AmountEdit *eArtol;
    AmountEdit *eArig;
    QPlainTextEdit *eSzoveg;

private:
    void BitBtn2Click();
    // Reports the first failed check and puts the focus on its box; false when all pass.
    bool failsCheck();
    void writeRecord();
};
