#pragma once

#include "shell/longlivedwindows.h"
#include "store/registerstate.h"

#include <QWidget>
#include <functional>
#include <memory>

class InstanceLock;
class MenuLabel;
class QLabel;
class QVBoxLayout;
class NewPropertyPanel;
class ReszletesPanel;
class SearchPanel;
class UploadPanel;

// The main window: the side menu on the left, the four work panels sharing the area on the
// right (at most one of them shown; the background picture when none is), and the cursors every
// other window works on.
class TfMain : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char *edition = "Edition: 20011002/1 DBVer: ";

    TfMain(Database &db, Windows &windows, QWidget *parent = nullptr);
    ~TfMain() override;

    // The creation steps: the lock file, the cursors, the lists, the company name, the version
    // check. False means the program must end now, before anything else is created.
    bool create();

    RegisterState &cursors() { return m_cursors; }
    SearchPanel *searchPanel() const { return m_pSearch; }
    QWidget *panel(const QString &objectName) const;

    // How "Igen" in the quit confirmation ends the program (the application's exit, by default).
    void setExitHandler(std::function<void()> exit) { m_exit = std::move(exit); }

    // Shows the given panels and hides the others; the background shows when none is left.
    void showPanels(std::initializer_list<QWidget *> shown,
                    std::initializer_list<QWidget *> hidden);
    void hidePanels();
    void showDetailedDescription(); // with the cover over the menu
    void hideDetailedDescription();
    bool backgroundShown() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu(QWidget *strip);
    MenuLabel *menuEntry(const char *name, const QString &caption, void (TfMain::*action)());
    QWidget *buildBand();
    void addEntries(QVBoxLayout *layout);
    void addCompanyName(QVBoxLayout *layout);
    void addEdition(QVBoxLayout *layout);
    void placeCover();
    void fillLists();
    void removeLockFile();
    void Label78Click();
    void Label79Click();
    void Label80Click();
    void Label88Click();
    void Label110Click();
    void Label96Click();
    void Label81Click();
    void Label104Click();
    void Label89Click();
    void Label44Click();
    void Label2Click();
    void browse();

    Database &m_db;
    Windows &m_windows;
    RegisterState m_cursors;
    std::function<void()> m_exit;
    std::unique_ptr<InstanceLock> m_lock;
    NewPropertyPanel *m_pNew = nullptr;
    ReszletesPanel *m_pReszletes = nullptr;
    SearchPanel *m_pSearch = nullptr;
    UploadPanel *m_pUpload = nullptr;
    QLabel *m_background = nullptr;
    QWidget *m_eltakar = nullptr;
    QLabel *m_cegnev = nullptr;
    QLabel *m_edition = nullptr;
    QWidget *m_strip = nullptr;
    QWidget *m_kilepes = nullptr;
};
