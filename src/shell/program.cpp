#include "program.h"

#include "database.h"
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
    m_main = std::make_unique<TfMain>(*m_db);
    if (!m_main->create())
        return false;
    m_uzenet = std::make_unique<TfUzenet>(m_main.get());
    m_kerdes = std::make_unique<TfKerdes>(m_main.get());
    installDialogs(m_uzenet.get(), m_kerdes.get());
    return true;
}

void Program::show()
{
    m_main->show();
}
