// A second copy of the program on the same data directory, as far as entering properties goes:
// it keeps owners in the new-property working list and stores properties with them, told what to
// do one line at a time ("add NAME", "list", "store IDENTIFIER", "exit").
#include "register/propertystore.h"
#include "register/workingowners.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/registerstate.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

QString names(const Cursor &list)
{
    QStringList out;
    for (int at = 0; at < list.recordCount(); ++at)
        out << list.recordAt(at).text(QStringLiteral("Nev"));
    return out.join(QLatin1Char('|'));
}

QString store(RegisterState &cursors, const QString &identifier)
{
    NewProperty property;
    property.fields = {{QStringLiteral("Azonosito"), identifier},
                       {QStringLiteral("TipusText"), QStringLiteral("Családi ház")},
                       {QStringLiteral("Ar"), 25000000},
                       {QStringLiteral("CimVaros"), QStringLiteral("Szeged")},
                       {QStringLiteral("CimMegye"), QStringLiteral("Csongrád")}};
    const int id = storeNewProperty(cursors, property);
    // As the form does once the property is stored.
    emptyWorkingOwners(cursors.tdTulaj);
    return QStringLiteral("stored %1").arg(id);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    Database db(QString::fromLocal8Bit(argv[1]));
    RegisterState cursors(db);
    cursors.tdTulaj.open();
    QTextStream in(stdin);
    QTextStream out(stdout);
    QString line;
    while (in.readLineInto(&line) && line != QLatin1String("exit")) {
        const QString argument = line.section(QLatin1Char(' '), 1);
        try {
            if (line.startsWith(QLatin1String("add "))) {
                cursors.tdTulaj.append();
                cursors.tdTulaj.setValue(QStringLiteral("Nev"), argument);
                cursors.tdTulaj.post();
                out << "ok\n";
            } else if (line == QLatin1String("list")) {
                out << names(cursors.tdTulaj) << '\n';
            } else if (line.startsWith(QLatin1String("store "))) {
                out << store(cursors, argument) << '\n';
            }
        } catch (const StoreError &error) {
            out << "error " << error.message() << '\n';
        }
        out.flush();
    }
    return 0;
}
