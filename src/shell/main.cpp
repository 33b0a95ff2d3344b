#include "shell/main.h"

#include "print/nyomtatlista.h"
#include "print/printreports.h"
#include "publish/ftppassword.h"
#include "publish/hirek.h"
#include "publish/uploadpanel.h"
#include "register/archivum.h"
#include "register/askdel.h"
#include "register/modosit.h"
#include "register/newproperty.h"
#include "register/photogroup.h"
#include "register/propertyform.h"
#include "register/reszletespanel.h"
#include "register/searchpanel.h"
#include "register/talloz.h"
#include "register/ujkep.h"
#include "register/workingowners.h"
#include "shell/about.h"
#include "shell/askftp.h"
#include "shell/askquit.h"
#include "shell/background.h"
#include "shell/mentes.h"
#include "shell/menulabel.h"
#include "shell/reg.h"
#include "shell/startup.h"
#include "store/datadirectory.h"
#include "store/instancelock.h"
#include "store/secretstore.h"
#include "store/textformat.h"
#include "store/workinglist.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int stripWidth = 190;
const QSize workArea(840, 700);

} // namespace

TfMain::TfMain(Database &db, Windows &windows, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                  Qt::WindowCloseButtonHint)
    , m_db(db)
    , m_windows(windows)
    , m_cursors(db)
    , m_exit([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("Pelmora - Ingatlan Nyilvántartás"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *strip = new QWidget;
    strip->setObjectName(QStringLiteral("Panel1"));
    strip->setFixedWidth(stripWidth);
    strip->setAutoFillBackground(true);
    QPalette stripPalette = strip->palette();
    stripPalette.setColor(QPalette::Window, QColor(0x9f, 0xb4, 0xcf));
    strip->setPalette(stripPalette);
    layout->addWidget(strip);
    buildMenu(strip);

    auto *area = new QWidget;
    area->setObjectName(QStringLiteral("Panel2"));
    area->setFixedSize(workArea);
    layout->addWidget(area);
    m_background = new QLabel(area);
    m_background->setObjectName(QStringLiteral("Image1"));
    m_background->setGeometry(QRect(QPoint(0, 0), workArea));
    m_background->setPixmap(workAreaBackground(workArea));

    m_pNew = new NewPropertyPanel(m_cursors, m_windows.registerWindows);
    m_pReszletes = new ReszletesPanel;
    m_pSearch = new SearchPanel(m_cursors);
    m_pUpload = new UploadPanel(m_cursors);
    for (QWidget *panel : {static_cast<QWidget *>(m_pNew), static_cast<QWidget *>(m_pReszletes),
                           static_cast<QWidget *>(m_pSearch), static_cast<QWidget *>(m_pUpload)}) {
        panel->setParent(area);
        panel->setGeometry(QRect(QPoint(0, 0), workArea));
        panel->setAutoFillBackground(true);
        panel->hide();
    }
    m_pNew->setDetailedPanel(m_pReszletes);
    connect(m_pNew, &NewPropertyPanel::detailedRequested, this, &TfMain::showDetailedDescription);
    connect(m_pReszletes, &ReszletesPanel::backRequested, this, &TfMain::hideDetailedDescription);
    connect(m_pSearch, &SearchPanel::printRequested, this,
            [this] { openPrintDialog(*m_windows.printReports, this); });
    connect(m_pSearch, &SearchPanel::browseRequested, this, &TfMain::browse);
    connect(m_pUpload, &UploadPanel::browseRequested, this, &TfMain::browse);
    connect(m_pSearch, &SearchPanel::modifyRequested, this, [this] { m_windows.fModosit->exec(); });
    connect(m_pSearch, &SearchPanel::deleteRequested, this, [this] {
        TfDel deletion(m_cursors, this);
        deletion.exec();
    });
    connect(m_pUpload, &UploadPanel::serverSettingsRequested, this, [this] {
        TfFtp server(m_cursors.tDefaults, this);
        server.exec();
    });
    setFixedSize(sizeHint().expandedTo(QSize(stripWidth + workArea.width(), workArea.height())));
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The windows made over this one work on its cursors: they go first, the last made first, while
// the cursors still stand.
TfMain::~TfMain()
{
    const QList<QWidget *> children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        if ((*it)->isWindow())
            delete *it;
    }
}

// Every menu entry is created with its action, so no entry is left without one.
MenuLabel *TfMain::menuEntry(const char *name, const QString &caption, void (TfMain::*action)())
{
    auto *entry = new MenuLabel(QString::fromLatin1(name), caption);
    connect(entry, &MenuLabel::clicked, this, action);
    return entry;
}

// The first three entries stand on a darker band.
QWidget *TfMain::buildBand()
{
    auto *band = new QWidget;
    band->setAutoFillBackground(true);
    QPalette bandPalette = band->palette();
    bandPalette.setColor(QPalette::Window, QColor(0x5d, 0x77, 0x9c));
    band->setPalette(bandPalette);
    auto *bandLayout = new QVBoxLayout(band);
    bandLayout->setContentsMargins(6, 8, 6, 8);
    bandLayout->addWidget(
        menuEntry("Label78", QStringLiteral("Új ingatlan felvitele"), &TfMain::Label78Click));
    bandLayout->addWidget(
        menuEntry("Label79", QStringLiteral("Keresés / Módosítás"), &TfMain::Label79Click));
    bandLayout->addWidget(menuEntry("Label80", QStringLiteral("Feltöltés"), &TfMain::Label80Click));
    return band;
}

void TfMain::addEntries(QVBoxLayout *layout)
{
    for (MenuLabel *entry : {
             menuEntry("Label89", QStringLiteral("Ingatlant keres"), &TfMain::Label89Click),
             menuEntry("Label44", QStringLiteral("Archívum"), &TfMain::Label44Click),
             menuEntry("Label2", QStringLiteral("Üzenetek"), &TfMain::Label2Click),
             menuEntry("Label88", QStringLiteral("Beállítások"), &TfMain::Label88Click),
             menuEntry("Label110", QStringLiteral("Biztonsági mentés"), &TfMain::Label110Click),
             menuEntry("Label104", QStringLiteral("Adatlap nyomtatás"), &TfMain::Label104Click),
             menuEntry("Label96", QStringLiteral("Névjegy"), &TfMain::Label96Click),
         })
        layout->addWidget(entry);
}

void TfMain::addCompanyName(QVBoxLayout *layout)
{
    m_cegnev = new QLabel;
    m_cegnev->setObjectName(QStringLiteral("cegnev"));
    m_cegnev->setAlignment(Qt::AlignCenter);
    m_cegnev->setWordWrap(true);
    QFont bold = m_cegnev->font();
    bold.setBold(true);
    m_cegnev->setFont(bold);
    layout->addWidget(m_cegnev);
}

void TfMain::addEdition(QVBoxLayout *layout)
{
    m_edition = new QLabel;
    m_edition->setObjectName(QStringLiteral("Label32"));
    QFont small = m_edition->font();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    m_edition->setFont(small);
    m_edition->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_edition);
}

void TfMain::buildMenu(QWidget *strip)
{
    auto *layout = new QVBoxLayout(strip);
    layout->setContentsMargins(8, 10, 8, 6);
    layout->setSpacing(6);
    layout->addWidget(buildBand());
    layout->addSpacing(10);
    addEntries(layout);
    layout->addSpacing(16);
    addCompanyName(layout);
    layout->addSpacing(12);
    m_kilepes = menuEntry("Label81", QStringLiteral("Kilépés"), &TfMain::Label81Click);
    layout->addWidget(m_kilepes);
    layout->addStretch();
    addEdition(layout);

    // An invisible area over the menu, from above its top down to just below the company name:
    // while it is shown, clicks reach nothing under it. "Kilépés" lies outside it.
    m_eltakar = new QWidget(strip);
    m_eltakar->setObjectName(QStringLiteral("Eltakar"));
    m_eltakar->hide();
    m_strip = strip;
}

void TfMain::placeCover()
{
    // An invisible area over the menu, from above its top down to just below the company name:
    // while it is shown, clicks reach nothing under it. "Kilépés" and the edition lie outside.
    m_strip->layout()->activate();
    m_eltakar->setGeometry(0, 0, m_strip->width(), std::max(0, m_kilepes->geometry().top() - 4));
    m_eltakar->raise();
}

QWidget *TfMain::panel(const QString &objectName) const
{
    for (QWidget *candidate :
         {static_cast<QWidget *>(m_pNew), static_cast<QWidget *>(m_pReszletes),
          static_cast<QWidget *>(m_pSearch), static_cast<QWidget *>(m_pUpload)}) {
        if (candidate->objectName() == objectName)
            return candidate;
    }
    return nullptr;
}

bool TfMain::create()
{
    m_lock = std::make_unique<InstanceLock>(datadirectory::lockFilePath(m_db.dataDir()));
    if (const QString question = startup::lockQuestion(*m_lock);
        !question.isEmpty() && !askQuestion(question))
        return false;
    m_lock->claim();
    // The lock only warns a second copy; a start without it can still go on.
    if (!m_lock->error().isEmpty())
        showPlainMessage(m_lock->error(), this);
    // Alone, every working list in the table was left by a copy that is gone.
    const auto cleared = failureOf([this] {
        if (m_lock->state() == InstanceLock::State::Alone)
            workinglist::clearAbandoned(m_db);
    });
    if (cleared)
        showPlainMessage(*cleared, this); // nobody sees those lists; the start goes on

    m_edition->setText(QLatin1String(edition) + textformat::numberText(tables::databaseVersion));
    for (Cursor *cursor : {&m_cursors.tDefaults, &m_cursors.tEgyszeru, &m_cursors.tTelep,
                           &m_cursors.tItypes, &m_cursors.tdTulaj})
        cursor->open();
    hidePanels();
    fillLists();
    m_cegnev->setText(m_cursors.tDefaults.text(QStringLiteral("Name")));
    // A password an earlier version kept in the settings leaves them at once. Should the store
    // refuse it now, the record keeps it, and the FTP dialog and the upload say why.
    {
        SecretStore secrets;
        QString ignored;
        ftppassword::migrate(m_cursors.tDefaults, secrets, &ignored);
    }

    const QString problem =
        startup::versionProblem(m_cursors.tDefaults.number(QStringLiteral("Version")));
    if (!problem.isEmpty()) {
        showPlainMessage(problem, this);
        return false;
    }
    return true;
}

void TfMain::fillLists()
{
    const startup::RegisterLists lists = startup::registerLists(m_cursors);
    if (auto *sTipus = findChild<QComboBox *>(QStringLiteral("sTipus"))) {
        sTipus->addItems(startup::searchTypeChoices(lists.types));
        sTipus->setCurrentIndex(0);
    }
    if (auto *sTelepules = findChild<QComboBox *>(QStringLiteral("sTelepules"))) {
        sTelepules->addItems(lists.settlements);
        sTelepules->setCurrentIndex(-1);
        sTelepules->setCurrentText(QString());
    }
    m_pNew->form()->setLists(lists.types, lists.settlements);
}

void TfMain::showPanels(std::initializer_list<QWidget *> shown,
                        std::initializer_list<QWidget *> hidden)
{
    for (QWidget *panel : hidden)
        panel->hide();
    for (QWidget *panel : shown)
        panel->show();
    m_background->setVisible(m_pNew->isHidden() && m_pReszletes->isHidden() &&
                             m_pSearch->isHidden() && m_pUpload->isHidden());
}

void TfMain::hidePanels()
{
    showPanels({}, {m_pNew, m_pSearch, m_pUpload, m_pReszletes});
}

bool TfMain::backgroundShown() const
{
    return !m_background->isHidden();
}

void TfMain::showDetailedDescription()
{
    placeCover();
    m_eltakar->show();
    showPanels({m_pReszletes}, {m_pNew, m_pSearch, m_pUpload});
}

void TfMain::hideDetailedDescription()
{
    m_eltakar->hide();
    showPanels({m_pNew}, {m_pReszletes});
}

void TfMain::Label78Click()
{
    // Declining keeps the half-entered property, shown as it was left.
    if (m_pNew->mayDiscardInput())
        m_pNew->clear();
    showPanels({m_pNew}, {m_pSearch, m_pUpload});
}

void TfMain::Label104Click()
{
    printBlankSheets(*m_windows.printReports, this);
}

void TfMain::Label79Click()
{
    showPanels({m_pSearch}, {m_pNew, m_pUpload});
    m_pSearch->enter();
}

void TfMain::Label80Click()
{
    showPanels({m_pUpload}, {m_pNew, m_pSearch});
    m_pUpload->Label80Click();
}

void TfMain::Label89Click()
{
    hidePanels();
    m_windows.requestWindows.fErdeklodes->openFromMenu();
}

void TfMain::Label44Click()
{
    hidePanels();
    TfArchivum archive(m_cursors, this);
    archive.exec();
}

void TfMain::Label2Click()
{
    hidePanels();
    m_windows.fHirek->exec();
}

void TfMain::browse()
{
    TfTallozas *window = nullptr;
    TfTallozas browser(
        m_cursors, m_windows.registerWindows,
        [this, &window] { openPrintDialog(*m_windows.printReports, window); }, this);
    window = &browser;
    browser.exec();
}

void TfMain::Label88Click()
{
    hidePanels();
    TfReg settings(m_cursors.tDefaults, this);
    connect(&settings, &TfReg::userDataStored, this,
            [this] { m_cegnev->setText(m_cursors.tDefaults.text(QStringLiteral("Name"))); });
    settings.exec();
}

// A confirmed restore ends the program as "Kilépés" does; start-up then runs on the restored data.
void TfMain::Label110Click()
{
    hidePanels();
    TfMentes window(m_db, this);
    window.exec();
    if (!window.restoreConfirmed())
        return;
    removeLockFile();
    m_exit();
}

void TfMain::Label96Click()
{
    hidePanels();
    TfAbout about(m_db.dataDir(), this);
    about.loadLicence();
    about.exec();
}

void TfMain::removeLockFile()
{
    if (m_lock)
        m_lock->release();
}

void TfMain::Label81Click()
{
    TfQuit quit(this);
    if (quit.exec() != QDialog::Accepted || !m_pNew->mayDiscardInput())
        return;
    removeLockFile();
    m_exit();
}

void TfMain::closeEvent(QCloseEvent *event)
{
    if (!m_pNew->mayDiscardInput()) {
        event->ignore();
        return;
    }
    m_cursors.tDefaults.close();
    m_cursors.tTelep.close();
    removeLockFile();
    event->accept();
}
