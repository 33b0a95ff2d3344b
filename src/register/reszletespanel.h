#pragma once

#include <QWidget>

class DetailedDescription;
class QPushButton;
class QScrollArea;

// The main window's panel for the detailed description of the property being entered. The main
// window shows it (with the cover over the side menu) when `pNew` asks, and switches back when
// `Button10` says so.
class ReszletesPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ReszletesPanel(QWidget *parent = nullptr);

    DetailedDescription *description() const { return m_description; }
    // Part of clearing the new-property form: a fresh description, scrolled to its top.
    void clear();

signals:
    void backRequested();

private:
    DetailedDescription *m_description;
    QScrollArea *m_scroll;
};
