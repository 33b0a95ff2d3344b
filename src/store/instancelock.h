#pragma once

#include <QString>

// The lock that tells a copy of the program whether another copy works on the same data
// directory. Every running copy holds a shared OS lock on the lock file for as long as it runs;
// the first one, which found nobody holding it, writes its start time and host into the file.
// The kernel drops the locks of a process that dies, so a file left behind by a crash is
// recognised as stale without guessing from process ids, and the file is removed only by the
// last copy that leaves. Where the file system offers no locks, the file's existence is the only
// sign, and a copy removes the file only while it still holds what that copy wrote.
class InstanceLock
{
public:
    enum class State {
        Alone, // no other copy holds the lock: this one took it and wrote the file
        Shared, // another copy runs; this one holds the lock beside it
        Unlocked, // the lock file could not be opened or locked: nothing guards the directory
    };

    // Who took the lock, as the file says (empty where it says nothing).
    struct Holder
    {
        QString since; // the start time, as the program writes timestamps
        QString host;
        qint64 pid = 0;
    };

    explicit InstanceLock(const QString &path);
    // Drops the lock but leaves the file: a start refused after taking the lock keeps it.
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Takes the lock: alone when nobody holds it, beside the others when someone does. `since` is
    // the text written as the start time.
    State acquire(const QString &since);
    State state() const { return m_state; }
    // Whether another copy was found running (or may be, where there are no OS locks).
    bool othersRunning() const { return m_othersRunning; }
    const Holder &holder() const { return m_holder; }
    // What went wrong taking or writing the lock, in Hungarian; empty when nothing did.
    const QString &error() const { return m_error; }

    // The user chose to go on. Where there are no OS locks the file now names this copy, as it
    // would after a crash: it is written only now, so a refused start leaves it as it was.
    void claim();

    // The end of this copy: removes the file when no other copy holds the lock, then drops it.
    void release();

    // The file's contents as this program writes them.
    static QByteArray contents(const Holder &holder);
    static Holder parse(const QByteArray &contents);

private:
    bool openLocked(bool exclusive, bool &contended);
    bool sameFile() const;
    bool writeHolder(const Holder &holder);
    void acquireWithoutOsLocks(const QString &since);
    void closeFile();

    QString m_path;
    int m_fd = -1;
    State m_state = State::Unlocked;
    bool m_othersRunning = false;
    bool m_osLocks = true;
    Holder m_holder;
    QByteArray m_written;
    QString m_error;
};
