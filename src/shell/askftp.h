#pragma once

#include "store/secretstore.h"

#include <QDialog>

class Cursor;
class QCheckBox;
class QLabel;
class QLineEdit;

// The FTP server dialog. Beside the server's name it also takes the agency's portal identifier
// and FTP password, which the upload logs in with; the password goes to the secret store.
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
    QLabel *m_secretWarning;
    QCheckBox *m_ftps;
    QLabel *m_fingerprint;
    SecretStore m_secrets;
    bool m_passwordKnown = false; // a store that could not be read is not overwritten blindly
};
