#pragma once

#include <QProgressDialog>
#include <QString>
#include <functional>

// The progress window of work that runs in the window's own thread and may be stopped: shown
// at once, open until the work is over, its bar fed by the work's counts.
class WorkProgress
{
public:
    WorkProgress(const QString &label, const QString &objectName, const QString &title,
                 QWidget *parent = nullptr);

    // What the work reports to: moves the bar, lets the windows repaint and "Mégsem" be
    // pressed; false once it was.
    std::function<bool(qint64 done, qint64 total)> reporter();
    void hide() { m_dialog.hide(); }

private:
    QProgressDialog m_dialog;
};
