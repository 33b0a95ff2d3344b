#pragma once

#include <QString>

class Database;

// One run of a kind at a time for the whole office: the upload to the portal and the matching
// run each take one. On the office server it is the server's advisory lock, held by this
// workstation's connection and gone with it when the workstation stops or dies; an embedded
// register has a single program on it (the lock file sees to that), so it is always free there.
class OfficeLock
{
public:
    enum class Kind { Upload = 1, Matching = 2 };

    OfficeLock(Database &db, Kind kind);
    ~OfficeLock();
    OfficeLock(const OfficeLock &) = delete;
    OfficeLock &operator=(const OfficeLock &) = delete;

    // Takes the lock if nobody holds it; never waits.
    bool tryTake();
    bool held() const { return m_held; }
    // Who holds it now: the workstation and the database user, as far as the server tells.
    QString holder() const;
    // The Hungarian message for a run refused because another workstation holds the lock.
    QString busyMessage() const;
    void release();

private:
    Database &m_db;
    Kind m_kind;
    bool m_held = false;
};
