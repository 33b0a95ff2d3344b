#include "shell/startup.h"

#include "store/instancelock.h"
#include "store/referencelists.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "store/textformat.h"

namespace startup {

QString lockQuestion(InstanceLock &lock)
{
    lock.acquire(textformat::timestampNow());
    if (!lock.othersRunning())
        return {};
    QString question = QStringLiteral("A program úgy érzékeli, hogy már egy példányban fut! Ha ez "
                                      "nem így van, kérem nyomja meg az \"OK\" gombot!");
    const InstanceLock::Holder &holder = lock.holder();
    if (!holder.host.isEmpty())
        question += QStringLiteral("\n\nGép: %1, indítva: %2").arg(holder.host, holder.since);
    return question;
}

QString versionProblem(double storedVersion)
{
    if (storedVersion == tables::databaseVersion)
        return {};
    return QStringLiteral("Hibás software verzió! Adatbázis Verzió: ") +
        textformat::numberText(storedVersion) + QStringLiteral(" Software verzió:") +
        textformat::numberText(tables::databaseVersion) +
        QStringLiteral(". Hívja az ügyfélszolgáltatot!");
}

RegisterLists registerLists(RegisterState &cursors)
{
    RegisterLists lists {nameList(cursors.tItypes), nameList(cursors.tTelep)};
    cursors.tItypes.close();
    return lists;
}

QStringList searchTypeChoices(const QStringList &types)
{
    return QStringList {QStringLiteral("<üres>")} + types;
}

} // namespace startup
