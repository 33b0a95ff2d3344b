#pragma once

#include <QString>
#include <memory>

class Database;
class TfMain;
class TfUzenet;
class TfKerdes;

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

    TfMain *main() const { return m_main.get(); }
    Database *database() const { return m_db.get(); }

private:
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TfMain> m_main;
    std::unique_ptr<TfUzenet> m_uzenet;
    std::unique_ptr<TfKerdes> m_kerdes;
};
