#include "shell/menulabel.h"

#include <QMouseEvent>

MenuLabel::MenuLabel(const QString &objectName, const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setMargin(4);
    setStyleSheet(
        QStringLiteral("QLabel { font-weight: bold; background: #eef2f7; border: 1px solid #b8c4d4;"
                       " border-radius: 3px; color: #1d2b45; }"
                       "QLabel:hover { background: #dbe6f5; }"));
}

void MenuLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}
