#pragma once

#include "publish/uploadrun.h"

#include <QDialog>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
struct RegisterState;

// The upload window: made for one run, which starts the first time the window is shown; the
// log grows and the progress bar follows each file being sent. It cannot be closed until the
// run has ended.
class TfFeltoltes : public QDialog
{
    Q_OBJECT
public:
    explicit TfFeltoltes(RegisterState &cursors, QWidget *parent = nullptr);

    UploadRun &uploadRun() { return m_run; }
    bool runEnded() const { return m_ended; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

public slots:
    void reject() override;

private:
    void FormActivate();
    void showProgress(qint64 done, qint64 total);

    UploadRun m_run;
    QPlainTextEdit *m_uAllapotLista;
    QProgressBar *m_uVonal;
    QPushButton *m_uBezar;
    bool m_started = false;
    bool m_ended = false;
};
