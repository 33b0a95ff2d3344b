#include "program.h"

#include "database.h"
#include "erdeklodo.h"
#include "kepmegtekintes.h"
#include "printreports.h"
#include "tulajhozzaad.h"
#include "tulajmodosit.h"
#include "ujkep.h"
#include "datadirectory.h"
#include "kerdes.h"
#include "main.h"
#include "messages.h"
#include "storeerror.h"
#include "uzenet.h"

Program::Program() = default;

Program::~Program()
{
    installDialogs(nullptr, nullptr);
}

bool Program::start()
{
    try {
        m_db = std::make_unique<Database>(datadirectory::resolve());
        datadirectory::prepare(*m_db);
    } catch (const StoreError &error) {
        showPlainMessage(error.message());
        return false;
    }
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
    m_erdeklodo = std::make_unique<TfErdeklodo>(*m_db, main);
    m_windows.fErdeklodo = m_erdeklodo.get();
    // The report forms (fPrintErdeklodo, fPrintTeljes, fPrintArchiv, fPrintCimlista, fPrintApro)
    // live together with the printer they print on.
    m_printReports = std::make_unique<PrintReports>(cursors, *m_erdeklodo);
    m_windows.printReports = m_printReports.get();
    m_ujKep = std::make_unique<TfUjKep>(reg, main);
    reg.fUjKep = m_ujKep.get();
    m_kepmegtekint = std::make_unique<TfKepmegtekint>(main);
    reg.fKepmegtekint = m_kepmegtekint.get();
    m_tulajHozzaad = std::make_unique<TfTulajHozzaad>(cursors.tdTulaj, main);
    reg.fTulajHozzaad = m_tulajHozzaad.get();
    m_tulajModosit = std::make_unique<TfTulajModosit>(cursors.tdTulaj, main);
    reg.fTulajModosit = m_tulajModosit.get();
    m_uzenet = std::make_unique<TfUzenet>(main);
    m_kerdes = std::make_unique<TfKerdes>(main);
    installDialogs(m_uzenet.get(), m_kerdes.get());
}

void Program::show()
{
    m_main->show();
}
