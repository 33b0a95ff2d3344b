#include "shell/program.h"

#include "buyers/erdeklodes.h"
#include "buyers/erdeklodo.h"
#include "buyers/erdmodosit.h"
#include "buyers/erdutkoztet.h"
#include "buyers/ujerdeklodes.h"
#include "print/printreports.h"
#include "publish/hirek.h"
#include "register/kepmegtekintes.h"
#include "register/modosit.h"
#include "register/newproperty.h"
#include "register/searchpanel.h"
#include "register/tulajhozzaad.h"
#include "register/tulajmodosit.h"
#include "register/ujkep.h"
#include "shell/kapcsolat.h"
#include "shell/main.h"
#include "shell/mentes.h"
#include "store/connectionsetting.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/server.h"
#include "widgets/cursorgrid.h"
#include "widgets/errorboundary.h"
#include "widgets/kerdes.h"
#include "widgets/messages.h"
#include "widgets/uzenet.h"

Program::Program() = default;

Program::~Program()
{
    closeWindows();
}

void Program::closeWindows()
{
    installDialogs(nullptr, nullptr);
    m_printReports.reset();
    // The main window deletes its windows before its cursors.
    m_main.reset();
    m_windows = Windows();
}

bool Program::shutDown()
{
    if (!m_db)
        return false;
    const QString dataDir = m_db->dataDir();
    const bool restoring = backup::stagedReady(dataDir);
    if (m_main)
        m_main->hide();
    if (!restoring && m_main)
        backupAtQuit(*m_db);
    closeWindows();
    m_db.reset();
    if (!restoring)
        return false;
    if (const auto failure = failureOf([&dataDir] { backup::commitStaged(dataDir); })) {
        showPlainMessage(*failure);
        return false;
    }
    return true;
}

bool Program::start()
{
    for (;;) {
        bool opened = false;
        const std::optional<QString> failure =
            failureOf([this, &opened] { opened = openRegister(); });
        if (!failure)
            return opened;
        // A register that cannot be read is refused whole: no window is left over it, and
        // this copy lets go of the data directory before the user reads why.
        closeWindows();
        m_db.reset();
        // A workstation set to an office server it cannot use may be set anew here, and the
        // start tried again; one named by PELMORA_DB is the script's to mend.
        if (server::fromEnvironment().isEmpty() && connectionsetting::load().server) {
            if (!askQuestion(*failure +
                             QStringLiteral("\n\nBeállítja most az adatbázis-kapcsolatot?")))
                return false;
            TfKapcsolat window;
            if (!window.edit())
                return false;
            continue;
        }
        showPlainMessage(*failure);
        return false;
    }
}

bool Program::openRegister()
{
    // A restore cut short by a crash is finished before the register is opened.
    backup::recover(datadirectory::resolve());
    m_db = std::make_unique<Database>(datadirectory::resolve(), datadirectory::seed,
                                      connectionsetting::effectiveAddress());
    datadirectory::prepare(*m_db);
    m_main = std::make_unique<TfMain>(*m_db, m_windows);
    if (!m_main->create())
        return false;
    createWindows();
    return true;
}

// The long-lived windows are made on their first use, each as a child of the main window: the
// main window alone owns them, and they stay over it when shown. A window made later is the same
// window it would have been at start: it reads its lists when it is made and keeps its contents
// from then on. Only the message and question dialogs, which any step may need, are made now.
void Program::createWindows()
{
    TfMain *main = m_main.get();
    RegisterState &cursors = main->cursors();
    installDialogs(new TfUzenet(main), new TfKerdes(main));
    LazyWindow<TfErdeklodo> &buyerWindow = m_windows.fErdeklodo;
    buyerWindow.makeWith([&cursors, main] { return new TfErdeklodo(cursors, main); });
    // The report forms (fPrintErdeklodo, fPrintTeljes, fPrintArchiv, fPrintCimlista, fPrintApro)
    // live together with the printer they print on.
    m_printReports =
        std::make_unique<PrintReports>(cursors, [&buyerWindow]() -> std::optional<Buyer> {
            if (buyerWindow->ask() == TfErdeklodo::Outcome::Abandon)
                return std::nullopt;
            return buyerWindow->buyer();
        });
    m_windows.printReports = m_printReports.get();
    m_windows.fHirek.makeWith([&cursors, main] { return new TfHirek(cursors, main); });
    m_windows.fModosit.makeWith([&cursors, main, &reg = m_windows.registerWindows] {
        auto *window = new TfModosit(cursors, reg, main);
        // After a save the search grid shows the property where its filter and order now put it.
        QObject::connect(window, &TfModosit::propertySaved, main,
                         [main] { main->searchPanel()->grid()->followCursor(); });
        return window;
    });
    makeRegisterWindows(cursors);
    makeRequestWindows(cursors);
    wireWindows();
}

void Program::makeRegisterWindows(RegisterState &cursors)
{
    TfMain *main = m_main.get();
    RegisterWindows &reg = m_windows.registerWindows;
    reg.fUjKep.makeWith([&reg, main] { return new TfUjKep(reg, main); });
    reg.fKepmegtekint.makeWith([main] { return new TfKepmegtekint(main); });
    reg.fTulajHozzaad.makeWith(
        [&cursors, main] { return new TfTulajHozzaad(cursors.tdTulaj, main); });
    reg.fTulajModosit.makeWith(
        [&cursors, main] { return new TfTulajModosit(cursors.tdTulaj, main); });
}

void Program::makeRequestWindows(RegisterState &cursors)
{
    TfMain *main = m_main.get();
    RequestWindows &requests = m_windows.requestWindows;
    requests.fErdeklodes.makeWith(
        [&cursors, &requests, main] { return new TfErdeklodes(cursors, requests, main); });
    requests.fUjErdeklodes.makeWith(
        [&cursors, main] { return new TfUjErdeklodes(cursors, cursors.tErdeklodes, main); });
    requests.fModositErdeklodes.makeWith(
        [&cursors, main] { return new TfModositErdeklodes(cursors, cursors.tErdeklodes, main); });
    requests.fErdUtkoztet.makeWith([&cursors, main] { return new TfErdUtkoztet(cursors, main); });
}

void Program::wireWindows()
{
    TfMain *main = m_main.get();
    LazyWindow<TfErdeklodes> &requestsWindow = m_windows.requestWindows.fErdeklodes;
    // Every request the new property fits is flagged before the form is cleared.
    auto *pNew = qobject_cast<NewPropertyPanel *>(main->panel(QStringLiteral("pNew")));
    QObject::connect(
        pNew, &NewPropertyPanel::propertyStored, main,
        [&requestsWindow] { requestsWindow->Utkoztet(); }, Qt::DirectConnection);
}

void Program::show()
{
    m_main->show();
}
