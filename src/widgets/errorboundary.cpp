#include "widgets/errorboundary.h"

#include "store/storeerror.h"
#include "widgets/messages.h"

#include <QEvent>
#include <QTimer>
#include <exception>
#include <new>

namespace {

// A modal dialog opened from inside painting would paint into the half-done frame (or recurse
// into it), so those failures wait for the event loop.
bool mayOpenDialogDuring(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
        return false;
    default:
        return true;
    }
}

// The user's words for the exception being handled.
QString messageOfCurrentException()
{
    try {
        throw;
    } catch (const StoreError &error) {
        return error.message();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("Nincs elég memória a művelet elvégzéséhez.");
    } catch (const std::exception &error) {
        return QStringLiteral("Váratlan hiba történt: %1")
            .arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return QStringLiteral("Váratlan hiba történt.");
    }
}

} // namespace

std::optional<QString> failureOf(const std::function<void()> &action)
{
    try {
        action();
        return std::nullopt;
    } catch (...) {
        return messageOfCurrentException();
    }
}

bool guarded(const std::function<void()> &action)
{
    const std::optional<QString> failure = failureOf(action);
    if (failure)
        showMessage(*failure);
    return !failure;
}

void reportLater(const QString &message)
{
    QTimer::singleShot(0, QCoreApplication::instance(), [message] { showMessage(message); });
}

GuardedApplication::GuardedApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{ }

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    const bool dialogAllowed = mayOpenDialogDuring(event);
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString message = messageOfCurrentException();
        if (dialogAllowed)
            showMessage(message);
        else
            reportLater(message);
        return false;
    }
}
