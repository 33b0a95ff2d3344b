#pragma once

#include "store/cursor.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class CursorGrid;
struct RegisterState;

// The messages window: the portal's messages, read and deleted one by one. It lives as long as
// the program and opens the register's messages cursor each time it is shown, closing it when
// hidden.
class TfHirek : public QDialog
{
    Q_OBJECT
public:
    explicit TfHirek(RegisterState &cursors, QWidget *parent = nullptr);

    Cursor &tHirek() { return m_tHirek; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void FormActivate();
    void FormClose();
    void BitBtn2Click();
    void showCurrent();

    Cursor &m_tHirek;
    CursorGrid *m_dbGrid1;
    QLineEdit *m_dbEdit1;
    QLineEdit *m_dbEdit2;
    QPlainTextEdit *m_dbMemo1;
};
