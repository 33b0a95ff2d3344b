#pragma once

#include "register/entrystate.h"
#include "register/propertystore.h"

#include <QWidget>
#include <optional>

class OwnerGroup;
class PhotoGroup;
class PropertyForm;
class QCheckBox;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class ReszletesPanel;
struct RegisterState;
struct RegisterWindows;

// The main window's panel `pNew` for entering a property: its simple data, owners, photos and
// the switch for the detailed description, and "Rögzít", which checks and stores it all.
class NewPropertyPanel : public QWidget
{
    Q_OBJECT
public:
    NewPropertyPanel(RegisterState &cursors, RegisterWindows &windows, QWidget *parent = nullptr);

    // The detailed description the store writes and the clearing empties; without one a
    // ticked "Van részletes leírás" stores a bare record.
    void setDetailedPanel(ReszletesPanel *panel) { m_detailedPanel = panel; }

    OwnerGroup *owners() const { return m_owners; }
    PhotoGroup *photos() const { return m_photos; }
    QVBoxLayout *formLayout() const { return m_form; }
    QVBoxLayout *buttonsArea() const { return m_buttons; }
    PropertyForm *form() const { return m_propertyForm; }

    // A fresh form: every control at its starting value, no photos, no owners, no detailed
    // description, the focus on the identifier.
    void clear();
    // What "Rögzít" does: check, store, report. Returns whether the property was stored.
    bool store();
    // The form's contents as the store takes them.
    NewProperty collect() const;

    // Whether the form, its owners, photos or detailed description hold input that was not
    // stored since the form was last cleared.
    bool hasUnstoredInput() const;
    // Before the form is cleared or the program ends: true when nothing unstored would be lost
    // or the user agreed to lose it.
    bool mayDiscardInput() const;

signals:
    // `nReszletesGomb`: the main window shows the detailed description with the cover.
    void detailedRequested();
    // A property has been stored and the user told so; its search requests need matching.
    void propertyStored();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void chainTabOrder();
    void lookUpPostcode();
    void copyFirstOwner();
    void focusControl(const QString &name);
    EntryState state() const;

    RegisterState &m_cursors;
    RegisterWindows &m_windows;
    ReszletesPanel *m_detailedPanel = nullptr;

    PropertyForm *m_propertyForm;
    OwnerGroup *m_owners;
    PhotoGroup *m_photos;
    QCheckBox *m_reszletes;
    QPushButton *m_reszletesGomb;
    QPushButton *m_rogzit;
    QScrollArea *m_scroll;
    QVBoxLayout *m_form;
    QVBoxLayout *m_buttons;
    std::optional<EntryState> m_cleared; // the state right after the last clearing
};
