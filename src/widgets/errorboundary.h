#pragma once

#include <QApplication>
#include <QString>
#include <functional>
#include <optional>

// Where table and file errors stop. Nothing thrown by our code may unwind through Qt: every
// error becomes a Hungarian message and the window that raised it stays usable.

// Runs `action`; the message of what it threw (a StoreError's own text, anything else
// described), or nothing when it went through.
std::optional<QString> failureOf(const std::function<void()> &action);

// Runs `action`; what it throws is shown in the message dialog. Returns whether it went through,
// so a caller can undo or give up what depended on it.
bool guarded(const std::function<void()> &action);

// Shows the message once the event loop is back: for errors met where no dialog may open, such
// as while a view paints.
void reportLater(const QString &message);

// The program's application object: an error escaping any event handler (a click, a key, a
// timer, a slot reached from one) ends that event with the message instead of the program.
class GuardedApplication : public QApplication
{
    Q_OBJECT
public:
    GuardedApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
