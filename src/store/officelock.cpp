#include "store/officelock.h"

#include "store/database.h"

#include <QSqlQuery>

namespace {

// The first half of every key the program takes, so that other users of the same server keep
// theirs ("PELM").
constexpr int keyClass = 0x50454C4D;

} // namespace

OfficeLock::OfficeLock(Database &db, Kind kind)
    : m_db(db)
    , m_kind(kind)
{ }

OfficeLock::~OfficeLock()
{
    try {
        release();
    } catch (...) {
        // A connection already lost holds no lock any more.
    }
}

bool OfficeLock::tryTake()
{
    if (m_held)
        return true;
    if (!m_db.isServer()) {
        m_held = true;
        return true;
    }
    QSqlQuery query =
        m_db.query(QStringLiteral("SELECT pg_try_advisory_lock(?, ?)"), {keyClass, int(m_kind)});
    m_held = query.next() && query.value(0).toBool();
    return m_held;
}

QString OfficeLock::holder() const
{
    if (!m_db.isServer())
        return QString();
    QSqlQuery query = m_db.query(
        QStringLiteral("SELECT a.application_name, a.usename FROM pg_locks l JOIN "
                       "pg_stat_activity a ON a.pid = l.pid WHERE l.locktype = 'advisory' AND "
                       "l.granted AND l.classid = ? AND l.objid = ? AND l.objsubid = 2"),
        {keyClass, int(m_kind)});
    if (!query.next())
        return QString();
    QString workstation = query.value(0).toString();
    if (workstation.startsWith(QLatin1String("Pelmora - ")))
        workstation = workstation.mid(10);
    QString user = query.value(1).toString();
    if (workstation.isEmpty())
        return user;
    return user.isEmpty() ? workstation : QStringLiteral("%1, %2").arg(workstation, user);
}

QString OfficeLock::busyMessage() const
{
    QString who = holder();
    who = who.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(who);
    if (m_kind == Kind::Upload)
        return QStringLiteral("A feltöltést most egy másik munkaállomás végzi%1. Várja meg, "
                              "amíg befejezi, majd próbálja újra.")
            .arg(who);
    return QStringLiteral("Az egyeztetést most egy másik munkaállomás végzi%1. Várja meg, amíg "
                          "befejezi, majd próbálja újra.")
        .arg(who);
}

void OfficeLock::release()
{
    if (!m_held)
        return;
    m_held = false;
    if (m_db.isServer())
        m_db.query(QStringLiteral("SELECT pg_advisory_unlock(?, ?)"), {keyClass, int(m_kind)});
}
