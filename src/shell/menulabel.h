#pragma once

#include <QLabel>

// A side-menu entry: a bold caption on a light box that runs its action on a single click.
class MenuLabel : public QLabel
{
    Q_OBJECT
public:
    MenuLabel(const QString &objectName, const QString &caption, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
