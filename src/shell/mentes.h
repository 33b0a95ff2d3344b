#pragma once

#include "backup/backup.h"

#include <QDialog>

class Database;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

// Backups by hand, the way back from one, and the choices for the automatic backup at quit.
// The work runs here with its progress shown; a confirmed restore closes the window with
// restoreConfirmed() set, and the program then restarts on the restored data.
class TfMentes : public QDialog
{
    Q_OBJECT
public:
    TfMentes(Database &db, QWidget *parent = nullptr);

    bool restoreConfirmed() const { return m_restoreConfirmed; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildSettings();
    QWidget *buildWork();
    void FormActivate();
    void mTallozasClick();
    void mRogzitClick();
    void mMentesClick();
    void mVisszaallitasClick();
    void setBusy(bool busy, const QString &status);
    backup::Progress progress();
    QString folder() const;
    void restoreFrom(const QString &path);

    Database &m_db;
    bool m_restoreConfirmed = false;
    bool m_busy = false;
    bool m_cancelled = false;
    QLineEdit *m_mappa = nullptr;
    QPushButton *m_tallozas = nullptr;
    QCheckBox *m_kilepeskor = nullptr;
    QSpinBox *m_megtart = nullptr;
    QPushButton *m_rogzit = nullptr;
    QPushButton *m_mentes = nullptr;
    QPushButton *m_visszaallitas = nullptr;
    QProgressBar *m_folyamat = nullptr;
    QLabel *m_allapot = nullptr;
    QPushButton *m_megszakit = nullptr;
    QPushButton *m_bezar = nullptr;
};

// The automatic backup as the program closes: into the chosen folder, the oldest beyond the
// chosen number removed, its progress in a small window of its own that can cancel it.
void backupAtQuit(Database &db);
