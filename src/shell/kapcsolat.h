#pragma once

#include "store/connectionsetting.h"

#include <QDialog>

class Database;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "Adatbázis-kapcsolat": which database this workstation works on, the embedded register of its
// data directory or the office server, with a try of the connection before it is kept. The
// choice takes effect at the next start.
class TfKapcsolat : public QDialog
{
    Q_OBJECT
public:
    explicit TfKapcsolat(QWidget *parent = nullptr);

    // Shows the saved setting; returns whether a changed one was saved.
    bool edit();
    // "Adatok átköltöztetése szerverre": the embedded register `local` copied into the server
    // typed here, and the workstation switched to it. Returns whether the move was made.
    bool migrate(Database &local);

private:
    QWidget *buildServerBox();
    void load(const connectionsetting::Setting &setting);
    connectionsetting::Setting typed() const;
    void serverToggled();
    void btProbaClick();
    void btTallozasClick();
    void btRendbenClick();
    void migrateClick();
    void keep(const connectionsetting::Setting &setting);

    QRadioButton *m_embedded = nullptr;
    QRadioButton *m_server = nullptr;
    QWidget *m_serverBox = nullptr;
    QLineEdit *m_host = nullptr;
    QSpinBox *m_port = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QComboBox *m_ssl = nullptr;
    QLineEdit *m_ca = nullptr;
    QLabel *m_answer = nullptr;
    QPushButton *m_ok = nullptr;
    Database *m_migrateFrom = nullptr;
    bool m_saved = false;
};
