#pragma once

#include "shell/longlivedwindows.h"

#include <QString>
#include <memory>

class Database;
struct RegisterState;
class TfMain;

// The program from start to end: the data directory, then the main window; the other long-lived
// windows are made when they are first opened. Tests run it just as main() does, on a data
// directory of their own.
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
    void makeRegisterWindows(RegisterState &cursors);
    void makeRequestWindows(RegisterState &cursors);
    void wireWindows();
    void closeWindows();

    // The register goes last: the main window works on it, and the long-lived windows, all the
    // main window's children, on the main window's cursors. The report forms work on them too.
    std::unique_ptr<Database> m_db;
    Windows m_windows;
    std::unique_ptr<TfMain> m_main;
    std::unique_ptr<PrintReports> m_printReports;
};
