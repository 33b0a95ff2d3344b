// Another workstation of the office: a program of its own on the same server database, with a
// data directory of its own, told what to do one line at a time and answering a line at a time
// ("ok ...", "held ...", "busy ...", "error ...").
#include "register/archiving.h"
#include "register/propertystore.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/filter.h"
#include "store/officelock.h"
#include "store/registerstate.h"
#include "store/storeerror.h"
#include "store/tables.h"

#include <QCoreApplication>
#include <QTextStream>
#include <memory>

namespace {

NewProperty propertyNamed(const QString &identifier)
{
    NewProperty property;
    property.fields = {{QStringLiteral("Azonosito"), identifier},
                       {QStringLiteral("TipusText"), QStringLiteral("lakás")},
                       {QStringLiteral("Ar"), 25000000},
                       {QStringLiteral("CimVaros"), QStringLiteral("Szeged")},
                       {QStringLiteral("CimMegye"), QStringLiteral("Csongrád")}};
    return property;
}

// As the new-property window does: the check first, then the store.
int store(RegisterState &c, const QString &identifier)
{
    const NewProperty property = propertyNamed(identifier);
    if (const auto failure = checkNewProperty(property, c.tEgyszeru))
        throw StoreError(failure->message);
    return storeNewProperty(c, property);
}

void modify(Database &db, int id, const QString &field, const QString &value)
{
    Cursor property(db, tables::egyszeru, true);
    property.open();
    if (!property.locate(filters::withId(id)))
        throw StoreError(QStringLiteral("nincs ilyen"));
    property.setValue(field, value);
    property.post();
}

struct Workstation
{
    Database db;
    RegisterState c {db};
    std::unique_ptr<Database::Transaction> held;
    std::unique_ptr<OfficeLock> upload;

    explicit Workstation(const QString &dataDir)
        : db(dataDir)
    { }

    QString answer(const QStringList &words)
    {
        const QString &command = words.value(0);
        if (command == QLatin1String("store"))
            return QStringLiteral("ok %1").arg(store(c, words.value(1)));
        if (command == QLatin1String("store-many")) {
            QStringList ids;
            for (int i = 0; i < words.value(2).toInt(); ++i)
                ids << QString::number(store(c, words.value(1) + QString::number(i)));
            return QStringLiteral("ok ") + ids.join(QLatin1Char(','));
        }
        if (command == QLatin1String("hold")) {
            held = std::make_unique<Database::Transaction>(db);
            return QStringLiteral("held %1").arg(store(c, words.value(1)));
        }
        if (command == QLatin1String("commit")) {
            held->commit();
            held.reset();
            return QStringLiteral("ok");
        }
        if (command == QLatin1String("modify")) {
            modify(db, words.value(1).toInt(), words.value(2), words.value(3));
            return QStringLiteral("ok");
        }
        if (command == QLatin1String("archive")) {
            c.tEgyszeru.open();
            c.tEgyszeru.setFiltered(false);
            if (!c.tEgyszeru.locate(filters::withId(words.value(1).toInt())))
                throw StoreError(QStringLiteral("nincs ilyen"));
            archiveProperty(c, QStringLiteral("eladva"));
            return QStringLiteral("ok");
        }
        if (command == QLatin1String("lock")) {
            upload = std::make_unique<OfficeLock>(db, OfficeLock::Kind::Upload);
            return upload->tryTake() ? QStringLiteral("ok")
                                     : QStringLiteral("busy ") + upload->busyMessage();
        }
        if (command == QLatin1String("unlock")) {
            upload.reset();
            return QStringLiteral("ok");
        }
        return QStringLiteral("error unknown command");
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream in(stdin);
    QTextStream out(stdout);
    try {
        Workstation station(QCoreApplication::arguments().value(1));
        out << "ready" << Qt::endl;
        for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
            const QStringList words = line.split(QLatin1Char(' '));
            if (words.value(0) == QLatin1String("exit"))
                return 0;
            QString reply;
            try {
                reply = station.answer(words);
            } catch (const StoreError &error) {
                reply = QStringLiteral("error ") + error.message().simplified();
            }
            out << reply << Qt::endl;
        }
    } catch (const StoreError &error) {
        out << "error " << error.message().simplified() << Qt::endl;
        return 1;
    }
    return 0;
}
