#pragma once

#include "entrystate.h"

#include <QDialog>
#include <QList>
#include <optional>

class DetailedDescription;
class NumberEdit;
class OwnerGroup;
class PhotoGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QTabWidget;
struct MainCursors;
struct PropertyChanges;
struct RegisterWindows;

// The modify window `fModosit`: everything entered for the property selected on the search
// panel (the current record of `tEgyszeru`), reloaded from the tables on every showing and saved
// back at once with "Módosít". Made once at start-up, after the photo and owner windows.
class TfModosit : public QDialog
{
    Q_OBJECT
public:
    TfModosit(MainCursors &cursors, RegisterWindows &windows, QWidget *parent = nullptr);

signals:
    // The property was stored; the search grid shows it as it is now.
    void propertySaved();

protected:
    void showEvent(QShowEvent *event) override;
    // Closing by the frame asks before unsaved edits are lost; "Mégsem" is a deliberate "no".
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct TextControl
    {
        QLineEdit *edit;
        QString field;
    };
    struct NumberControl
    {
        NumberEdit *edit;
        QString field;
        bool whole; // rounded into the table
    };
    struct CheckControl
    {
        QCheckBox *box;
        QString field;
    };
    struct MemoControl
    {
        QPlainTextEdit *edit;
        QString field;
    };

    QWidget *buildSimplePage();
    QWidget *buildDetailedPage();
    QWidget *propertyBox();
    QWidget *addressBox();
    QWidget *principalBox();
    QWidget *descriptionPages();
    QLineEdit *addText(const QString &name, const QString &field);
    QLineEdit *addPostcode(const QString &name, const QString &field);
    NumberEdit *addNumber(NumberEdit *edit, const QString &field, bool whole);
    QCheckBox *addCheck(const QString &name, const QString &caption, const QString &field);
    QComboBox *addCombo(const QString &name, const QStringList &items, const QString &field);

    void FormShow(); // loads the current property
    void nReszletesClick();
    void Button1Click();
    void BitBtn2Click();
    void showDetailedPage(bool shown);
    void resetDetailed();
    PropertyChanges changes() const;
    EntryState state() const;

    MainCursors &m_c;
    RegisterWindows &m_windows;
    QLineEdit *m_azonosito = nullptr;
    QComboBox *m_tipus = nullptr;
    QList<TextControl> m_texts;
    QList<NumberControl> m_numbers;
    QList<CheckControl> m_checks;
    QList<MemoControl> m_memos;
    QList<QPair<QComboBox *, QString>> m_combos;
    OwnerGroup *m_owners = nullptr;
    PhotoGroup *m_photos = nullptr;
    // The photo window's list belongs to the new-property panel between two modifications: what
    // was picked there is put back when this window goes, and never stored with this property.
    QStringList m_entryPhotos;
    QTabWidget *m_pages = nullptr;
    QTabWidget *m_descriptions = nullptr;
    QScrollArea *m_scrollBox = nullptr;
    QLabel *m_noDetailed = nullptr;
    DetailedDescription *m_detailed = nullptr;
    QCheckBox *m_reszletes = nullptr;
    std::optional<EntryState> m_loaded; // as the property was shown
};
