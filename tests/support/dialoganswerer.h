#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Modal windows block the test that opened them; this answers them from the event loop. Each
// queued answer waits for the next modal window to appear, records its text, and presses the
// button with the given objectName or caption (or runs a custom action on the window).
class DialogAnswerer
{
public:
    DialogAnswerer();
    ~DialogAnswerer();

    // Presses the button whose objectName or text (without "&") is `button`.
    void answer(const QString &button);
    // The same, but only in the window of that objectName: modal windows before it are left
    // alone (a window that keeps working while it is shown comes up again in between).
    void answerIn(const QString &window, const QString &button);
    // Runs `action` on the next modal window (fill it in, then close it yourself); with a
    // window name, on the next modal window of that objectName.
    void handle(std::function<void(QWidget *)> action, const QString &window = {});

    // The texts of every message or question shown so far, in order: the label text of the
    // program's own dialogs, or the text of a plain message box.
    const QStringList &seen() const { return m_seen; }
    QString lastSeen() const { return m_seen.value(m_seen.size() - 1); }
    int pending() const { return static_cast<int>(m_actions.size()); }
    // Windows seen (objectName or window title).
    const QStringList &windows() const { return m_windows; }

private:
    void poll();

    std::vector<std::function<void(QWidget *)>> m_actions;
    std::vector<QString> m_awaited;
    QStringList m_seen;
    QStringList m_windows;
    class QTimer *m_timer;
    QWidget *m_lastHandled = nullptr;
};

// Returns once the work queued for the event loop so far (zero-time timers, posted events) has
// run: a test proving that something does not appear waits for the moment it would have.
[[nodiscard]] bool settleQueuedWork();

// The text a program dialog or message box shows.
QString dialogText(QWidget *dialog);
