#pragma once

#include "register/entrystate.h"

#include <QDialog>
#include <QList>
#include <optional>

class DetailedDescription;
class OwnerGroup;
class PhotoGroup;
class PropertyForm;
class QCheckBox;
class QLabel;
class QScrollArea;
class QTabWidget;
struct RegisterState;
struct PropertyChanges;
struct RegisterWindows;

// The modify window `fModosit`: everything entered for the property selected on the search
// panel (the current record of `tEgyszeru`), reloaded from the tables on every showing and saved
// back at once with "Módosít". Made once, when it is first opened, and kept from then on.
class TfModosit : public QDialog
{
    Q_OBJECT
public:
    TfModosit(RegisterState &cursors, RegisterWindows &windows, QWidget *parent = nullptr);

signals:
    // The property was stored; the search grid shows it as it is now.
    void propertySaved();

protected:
    void showEvent(QShowEvent *event) override;
    // Closing by the frame asks before unsaved edits are lost; "Mégsem" is a deliberate "no".
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *buildSimplePage();
    QWidget *buildDetailedPage();

    void FormShow(); // loads the current property
    // Loads the property again as the tables hold it now, after another workstation saved it.
    void reloadClick();
    void nReszletesClick();
    void Button1Click();
    void BitBtn2Click();
    void showDetailedPage(bool shown);
    void resetDetailed();
    PropertyChanges changes() const;
    EntryState state() const;

    RegisterState &m_c;
    RegisterWindows &m_windows;
    PropertyForm *m_form = nullptr;
    OwnerGroup *m_owners = nullptr;
    PhotoGroup *m_photos = nullptr;
    // The photo window's list belongs to the new-property panel between two modifications: what
    // was picked there is put back when this window goes, and never stored with this property.
    QStringList m_entryPhotos;
    QTabWidget *m_pages = nullptr;
    QScrollArea *m_scrollBox = nullptr;
    QLabel *m_noDetailed = nullptr;
    DetailedDescription *m_detailed = nullptr;
    // The property as it was read, so that a save never lands on another one or over a
    // version saved elsewhere in between.
    int m_readId = 0;
    qint64 m_readVersion = -1;
    QCheckBox *m_reszletes = nullptr;
    std::optional<EntryState> m_loaded; // as the property was shown
};
