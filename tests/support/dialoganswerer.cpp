#include "tests/support/dialoganswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

QString dialogText(QWidget *dialog)
{
    if (auto *box = qobject_cast<QMessageBox *>(dialog))
        return box->text();
    // Only the window's own label: a message it opened may not be gone yet, just hidden.
    for (QLabel *label : dialog->findChildren<QLabel *>(QStringLiteral("uzenet"))) {
        if (label->window() == dialog)
            return label->text();
    }
    return dialog->windowTitle();
}

DialogAnswerer::DialogAnswerer()
    : m_timer(new QTimer)
{
    m_timer->setInterval(10);
    QObject::connect(m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer->start();
}

DialogAnswerer::~DialogAnswerer()
{
    delete m_timer;
}

void DialogAnswerer::answer(const QString &button)
{
    handle([button](QWidget *dialog) {
        const auto buttons = dialog->findChildren<QAbstractButton *>();
        for (QAbstractButton *candidate : buttons) {
            QString caption = candidate->text();
            caption.remove(QLatin1Char('&'));
            if (candidate->objectName() == button || caption == button) {
                candidate->click();
                return;
            }
        }
        qWarning("DialogAnswerer: no button %s in %s", qPrintable(button),
                 qPrintable(dialog->windowTitle()));
        dialog->close();
    });
}

void DialogAnswerer::answerIn(const QString &window, const QString &button)
{
    answer(button);
    m_awaited.back() = window;
}

void DialogAnswerer::handle(std::function<void(QWidget *)> action, const QString &window)
{
    m_actions.push_back(std::move(action));
    m_awaited.push_back(window);
}

void DialogAnswerer::poll()
{
    if (m_actions.empty())
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == m_lastHandled)
        return;
    if (!m_awaited.front().isEmpty() && modal->objectName() != m_awaited.front())
        return;
    m_lastHandled = modal;
    QPointer<QWidget> guard(modal);
    m_seen << dialogText(modal);
    m_windows << (modal->objectName().isEmpty() ? modal->windowTitle() : modal->objectName());
    auto action = std::move(m_actions.front());
    m_actions.erase(m_actions.begin());
    m_awaited.erase(m_awaited.begin());
    // Run outside this timer's slot: an action that opens another modal window must still let
    // the timer answer that one.
    QTimer::singleShot(0, m_timer, [this, guard, action = std::move(action)] {
        if (guard)
            action(guard);
        // The same long-lived window may come up again for the next answer.
        if (!guard || !guard->isVisible())
            m_lastHandled = nullptr;
    });
}

bool settleQueuedWork()
{
    // Zero-time timers fire in the order they were started, so this one comes after every one
    // queued before it.
    bool reached = false;
    QTimer::singleShot(0, [&reached] { reached = true; });
    return QTest::qWaitFor([&reached] { return reached; }, 10000);
}
