#pragma once

#include <QDialog>

class Cursor;
class QLineEdit;

// The FTP server dialog. Beside the server's name it also takes the agency's portal identifier
// and FTP password, which the upload logs in with.
class TfFtp : public QDialog
{
    Q_OBJECT
public:
    TfFtp(Cursor &tDefaults, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void BitBtn1Click();

    Cursor &m_defaults;
    QLineEdit *m_edit1;
    QLineEdit *m_userid;
    QLineEdit *m_password;
};
