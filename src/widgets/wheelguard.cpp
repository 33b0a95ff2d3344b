#include "widgets/wheelguard.h"

#include <QEvent>
#include <QWidget>

namespace {

class WheelGuard : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *control = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Wheel && !control->hasFocus()) {
            // Ignored, the turn goes on to the scrolling area around the control.
            event->ignore();
            return true;
        }
        return false;
    }
};

} // namespace

void takeWheelOnlyWithFocus(QWidget *control)
{
    // A wheel turn would otherwise hand the focus over first and then change the value.
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(new WheelGuard(control));
}
