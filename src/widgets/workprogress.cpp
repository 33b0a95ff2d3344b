#include "widgets/workprogress.h"

#include <QCoreApplication>

namespace {

constexpr int steps = 1000;

} // namespace

WorkProgress::WorkProgress(const QString &label, const QString &objectName, const QString &title,
                           QWidget *parent)
    : m_dialog(label, QStringLiteral("Mégsem"), 0, steps, parent)
{
    m_dialog.setObjectName(objectName);
    m_dialog.setWindowTitle(title);
    // Over its own window, nothing else may be started while the work runs.
    if (parent)
        m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(0);
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    m_dialog.show();
}

std::function<bool(qint64, qint64)> WorkProgress::reporter()
{
    return [this](qint64 done, qint64 total) {
        m_dialog.setValue(total > 0 ? int(done * steps / total) : 0);
        QCoreApplication::processEvents();
        return !m_dialog.wasCanceled();
    };
}
