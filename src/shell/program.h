#pragma once

#include "longlivedwindows.h"

#include <QString>
#include <memory>

class Database;
class TfMain;
class TfUzenet;
class TfKerdes;
class TfUjKep;
class TfKepmegtekint;
class TfTulajHozzaad;
class TfTulajModosit;
class TfErdeklodes;
class TfUjErdeklodes;
class TfModositErdeklodes;
class TfErdUtkoztet;
class TfModosit;
class TfHirek;

// The program from start to end: the data directory, then the long-lived windows in their fixed
// order, the main window first. Tests run it just as main() does, on a data directory of their
// own.
class Program
{
public:
    Program();
    ~Program();

    // Opens (or creates) the register and creates the windows. False when start-up ended the
    // program: a refused lock question, a wrong database version, a register that cannot be
    // opened (already reported to the user).
    bool start();
    // Shows the main window; the caller then runs the event loop.
    void show();
    // After the event loop: the automatic backup, then the windows and the register closed.
    // True when a confirmed restore has replaced the data and the program must start again.
    bool shutDown();

    TfMain *main() const { return m_main.get(); }
    Database *database() const { return m_db.get(); }
    Windows &windows() { return m_windows; }

private:
    bool openRegister();
    void createWindows();
    void closeWindows();

    // Declared in creation order: the windows go before the main window whose cursors they use.
    std::unique_ptr<Database> m_db;
    Windows m_windows;
    std::unique_ptr<TfMain> m_main;
    std::unique_ptr<TfErdeklodo> m_erdeklodo;
    std::unique_ptr<PrintReports> m_printReports;
    std::unique_ptr<TfUjKep> m_ujKep;
    std::unique_ptr<TfErdeklodes> m_erdeklodes;
    std::unique_ptr<TfModosit> m_modosit;
    std::unique_ptr<TfKepmegtekint> m_kepmegtekint;
    std::unique_ptr<TfHirek> m_hirek;
    std::unique_ptr<TfTulajHozzaad> m_tulajHozzaad;
    std::unique_ptr<TfTulajModosit> m_tulajModosit;
    std::unique_ptr<TfUjErdeklodes> m_ujErdeklodes;
    std::unique_ptr<TfUzenet> m_uzenet;
    std::unique_ptr<TfKerdes> m_kerdes;
    std::unique_ptr<TfModositErdeklodes> m_modositErdeklodes;
    std::unique_ptr<TfErdUtkoztet> m_erdUtkoztet;
};
