#include "program.h"

#include "cursorgrid.h"
#include "database.h"
#include "datadirectory.h"
#include "erdeklodes.h"
#include "erdeklodo.h"
#include "erdmodosit.h"
#include "erdutkoztet.h"
#include "errorboundary.h"
#include "hirek.h"
#include "kepmegtekintes.h"
#include "kerdes.h"
#include "main.h"
#include "mentes.h"
#include "messages.h"
#include "modosit.h"
#include "newproperty.h"
#include "printreports.h"
#include "searchpanel.h"
#include "tulajhozzaad.h"
#include "tulajmodosit.h"
#include "ujerdeklodes.h"
#include "ujkep.h"
#include "uzenet.h"

Program::Program() = default;

Program::~Program()
{
    closeWindows();
}

void Program::closeWindows()
{
    installDialogs(nullptr, nullptr);
    // In the reverse of the creation order: later windows use the earlier ones' cursors.
    m_erdUtkoztet.reset();
    m_modositErdeklodes.reset();
    m_kerdes.reset();
    m_uzenet.reset();
    m_ujErdeklodes.reset();
    m_tulajModosit.reset();
    m_tulajHozzaad.reset();
    m_hirek.reset();
    m_kepmegtekint.reset();
    m_modosit.reset();
    m_erdeklodes.reset();
    m_ujKep.reset();
    m_printReports.reset();
    m_erdeklodo.reset();
    m_main.reset();
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
    bool opened = false;
    const std::optional<QString> failure = failureOf([this, &opened] { opened = openRegister(); });
    if (!failure)
        return opened;
    // A register that cannot be read is refused whole: no window is left over it, and this
    // copy lets go of the data directory before the user reads why.
    closeWindows();
    m_db.reset();
    showPlainMessage(*failure);
    return false;
}

bool Program::openRegister()
{
    // A restore cut short by a crash is finished before the register is opened.
    backup::recover(datadirectory::resolve());
    m_db = std::make_unique<Database>(datadirectory::resolve(), datadirectory::seed);
    datadirectory::prepare(*m_db);
    m_main = std::make_unique<TfMain>(*m_db, m_windows);
    if (!m_main->create())
        return false;
    createWindows();
    return true;
}

void Program::createWindows()
{
    TfMain *main = m_main.get();
    MainCursors &cursors = main->cursors();
    RegisterWindows &reg = m_windows.registerWindows;
    RequestWindows &requests = m_windows.requestWindows;
    m_erdeklodo = std::make_unique<TfErdeklodo>(cursors, main);
    m_windows.fErdeklodo = m_erdeklodo.get();
    // The report forms (fPrintErdeklodo, fPrintTeljes, fPrintArchiv, fPrintCimlista, fPrintApro)
    // live together with the printer they print on.
    TfErdeklodo *buyerWindow = m_erdeklodo.get();
    m_printReports =
        std::make_unique<PrintReports>(cursors, [buyerWindow]() -> std::optional<Buyer> {
            if (buyerWindow->ask() == TfErdeklodo::Outcome::Abandon)
                return std::nullopt;
            return buyerWindow->buyer();
        });
    m_windows.printReports = m_printReports.get();
    m_ujKep = std::make_unique<TfUjKep>(reg, main);
    reg.fUjKep = m_ujKep.get();
    m_erdeklodes = std::make_unique<TfErdeklodes>(cursors, requests, main);
    requests.fErdeklodes = m_erdeklodes.get();
    m_modosit = std::make_unique<TfModosit>(cursors, reg, main);
    m_windows.fModosit = m_modosit.get();
    m_kepmegtekint = std::make_unique<TfKepmegtekint>(main);
    reg.fKepmegtekint = m_kepmegtekint.get();
    m_hirek = std::make_unique<TfHirek>(cursors, main);
    m_windows.fHirek = m_hirek.get();
    m_tulajHozzaad = std::make_unique<TfTulajHozzaad>(cursors.tdTulaj, main);
    reg.fTulajHozzaad = m_tulajHozzaad.get();
    m_tulajModosit = std::make_unique<TfTulajModosit>(cursors.tdTulaj, main);
    reg.fTulajModosit = m_tulajModosit.get();
    m_ujErdeklodes = std::make_unique<TfUjErdeklodes>(cursors, m_erdeklodes->tErdeklodes(), main);
    requests.fUjErdeklodes = m_ujErdeklodes.get();
    m_uzenet = std::make_unique<TfUzenet>(main);
    m_kerdes = std::make_unique<TfKerdes>(main);
    installDialogs(m_uzenet.get(), m_kerdes.get());
    m_modositErdeklodes =
        std::make_unique<TfModositErdeklodes>(cursors, m_erdeklodes->tErdeklodes(), main);
    requests.fModositErdeklodes = m_modositErdeklodes.get();
    m_erdUtkoztet = std::make_unique<TfErdUtkoztet>(cursors, main);
    requests.fErdUtkoztet = m_erdUtkoztet.get();

    // Every request the new property fits is flagged before the form is cleared.
    auto *pNew = qobject_cast<NewPropertyPanel *>(main->panel(QStringLiteral("pNew")));
    TfErdeklodes *requestsWindow = m_erdeklodes.get();
    QObject::connect(
        pNew, &NewPropertyPanel::propertyStored, requestsWindow,
        [requestsWindow] { requestsWindow->Utkoztet(); }, Qt::DirectConnection);
    // After a save the search grid shows the property where its filter and order now put it.
    QObject::connect(m_modosit.get(), &TfModosit::propertySaved, main,
                     [main] { main->searchPanel()->grid()->followCursor(); });
}

void Program::show()
{
    m_main->show();
}
