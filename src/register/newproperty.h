#pragma once

#include <QWidget>

class OwnerGroup;
class PhotoGroup;
class QCheckBox;
class QPushButton;
class QVBoxLayout;
struct MainCursors;
struct RegisterWindows;

// The main window's panel `pNew` for entering a property. The simple-data controls go into
// formLayout() above the owners and photos; the buttons below the scrolling area stay in view.
class NewPropertyPanel : public QWidget
{
    Q_OBJECT
public:
    NewPropertyPanel(MainCursors &cursors, RegisterWindows &windows, QWidget *parent = nullptr);

    OwnerGroup *owners() const { return m_owners; }
    PhotoGroup *photos() const { return m_photos; }
    QCheckBox *detailedCheck() const { return m_reszletes; }
    QVBoxLayout *formLayout() const { return m_form; }
    QVBoxLayout *buttonsArea() const { return m_buttons; }

signals:
    // `nReszletesGomb`: the main window shows the detailed description with the cover.
    void detailedRequested();

private:
    OwnerGroup *m_owners;
    PhotoGroup *m_photos;
    QCheckBox *m_reszletes;
    QPushButton *m_reszletesGomb;
    QVBoxLayout *m_form;
    QVBoxLayout *m_buttons;
};
