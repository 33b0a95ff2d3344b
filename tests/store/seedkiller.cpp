// A first start of the program killed for real between making the tables of a new register
// and writing its reference rows.
#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    Database db(QString::fromLocal8Bit(argv[1]), [](Database &db) {
        Cursor types(db, tables::itypes, true);
        types.append();
        types.setValue(QStringLiteral("Name"), QStringLiteral("Lakás"));
        types.post();
        std::raise(SIGKILL);
    });
    return 1;
}
