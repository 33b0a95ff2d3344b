#include "store/instancelock.h"

#include "store/cp1250.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Open-file-description locks: they belong to this open file, not to the whole process, so
// closing another descriptor of the same file (Qt reading it, a test's second lock) never drops
// them, and turning the exclusive lock into a shared one is atomic.
int setLock(int fd, short type)
{
    struct flock lock
    { };
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0 ? 0 : errno;
}

bool contention(int error)
{
    return error == EAGAIN || error == EACCES;
}

bool noLocksHere(int error)
{
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == EINVAL ||
        error == ENOSYS;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A copy that has the lock exclusively holds it only while it writes the file or removes it at
// its end; a shared lock is given as soon as it is done.
constexpr int sharedLockTries = 200;
constexpr int sharedLockPauseMs = 10;
// The file can be removed by the last copy between opening and locking it; then it is opened
// afresh, which is rare enough that a handful of tries is plenty.
constexpr int openTries = 20;

} // namespace

InstanceLock::InstanceLock(const QString &path)
    : m_path(path)
{ }

InstanceLock::~InstanceLock()
{
    closeFile();
}

QByteArray InstanceLock::contents(const Holder &holder)
{
    return cp1250::encode(holder.since + QStringLiteral("\r\n") + holder.host +
                          QStringLiteral("\r\n") + QString::number(holder.pid) +
                          QStringLiteral("\r\n"));
}

InstanceLock::Holder InstanceLock::parse(const QByteArray &contents)
{
    QStringList lines = cp1250::decode(contents).split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = line.trimmed();
    Holder holder;
    holder.since = lines.value(0);
    holder.host = lines.value(1);
    holder.pid = lines.value(2).toLongLong();
    return holder;
}

void InstanceLock::closeFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool InstanceLock::sameFile() const
{
    struct stat opened
    { };
    struct stat named
    { };
    if (::fstat(m_fd, &opened) != 0 || ::stat(QFile::encodeName(m_path).constData(), &named) != 0)
        return false;
    return opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Opens the file and locks it. False with `contended` set when another copy holds the lock;
// false otherwise when the file cannot be opened (the error is kept) or locked at all.
bool InstanceLock::openLocked(bool exclusive, bool &contended)
{
    contended = false;
    if (m_fd < 0) {
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            m_error =
                QStringLiteral("A zárolófájl nem írható: %1\n%2").arg(m_path, systemError(errno));
            return false;
        }
    }
    const int error = setLock(m_fd, exclusive ? F_WRLCK : F_RDLCK);
    if (error == 0)
        return true;
    contended = contention(error);
    if (!contended) {
        m_osLocks = !noLocksHere(error);
        if (m_osLocks)
            m_error = QStringLiteral("A zárolófájl nem zárolható: %1\n%2")
                          .arg(m_path, systemError(error));
        closeFile();
    }
    return false;
}

bool InstanceLock::writeHolder(const Holder &holder)
{
    const QByteArray data = contents(holder);
    qint64 done = 0;
    int error = ::ftruncate(m_fd, 0) == 0 ? 0 : errno;
    while (error == 0 && done < data.size()) {
        const ssize_t written = ::pwrite(m_fd, data.constData() + done, data.size() - done, done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            error = written < 0 ? errno : ENOSPC;
        else
            done += written;
    }
    if (error == 0 && ::fsync(m_fd) != 0)
        error = errno;
    if (error != 0)
        m_error = QStringLiteral("A zárolófájl nem írható: %1\n%2").arg(m_path, systemError(error));
    return error == 0;
}

InstanceLock::State InstanceLock::acquire(const QString &since)
{
    m_error.clear();
    m_othersRunning = false;
    m_state = State::Unlocked;
    const Holder mine {since, QSysInfo::machineHostName(), QCoreApplication::applicationPid()};
    for (int attempt = 0; attempt < openTries; ++attempt) {
        bool contended = false;
        if (openLocked(true, contended)) {
            if (!sameFile()) {
                closeFile();
                continue;
            }
            m_holder = mine;
            writeHolder(mine);
            // Others may now join beside this copy; nobody else can take it alone any more.
            setLock(m_fd, F_RDLCK);
            m_state = State::Alone;
            return m_state;
        }
        if (!contended) {
            if (!m_osLocks)
                acquireWithoutOsLocks(since);
            else if (QFile::exists(m_path))
                m_othersRunning = true; // nothing can tell, so warn as if someone held it
            return m_state;
        }
        m_othersRunning = true;
        // Someone holds the lock: this copy joins beside it, once a copy that holds it alone for
        // a moment (writing the file, or removing it at its end) has let go.
        bool shared = false;
        for (int wait = 0; wait < sharedLockTries && !shared; ++wait) {
            shared = openLocked(false, contended);
            if (!shared && contended)
                QThread::msleep(sharedLockPauseMs);
            else if (!shared)
                return m_state;
        }
        if (!shared) {
            closeFile();
            return m_state;
        }
        if (!sameFile()) {
            closeFile();
            m_othersRunning = false;
            continue;
        }
        char buffer[1024];
        const ssize_t read = ::pread(m_fd, buffer, sizeof buffer, 0);
        m_holder = parse(QByteArray(buffer, read > 0 ? int(read) : 0));
        m_state = State::Shared;
        return m_state;
    }
    return m_state;
}

void InstanceLock::acquireWithoutOsLocks(const QString &since)
{
    m_state = State::Unlocked;
    QFile file(m_path);
    if (file.exists()) {
        m_othersRunning = true;
        if (file.open(QIODevice::ReadOnly))
            m_holder = parse(file.read(1024));
        file.close();
    }
    m_written = contents({since, QSysInfo::machineHostName(), QCoreApplication::applicationPid()});
}

void InstanceLock::claim()
{
    if (m_osLocks || m_written.isEmpty())
        return;
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(m_written) != m_written.size() || !file.flush()) {
        m_error = QStringLiteral("A zárolófájl nem írható: %1\n%2").arg(m_path, file.errorString());
        m_written.clear();
    }
}

void InstanceLock::release()
{
    if (m_fd >= 0) {
        // Only a copy that can have the lock alone is the last one.
        if (setLock(m_fd, F_WRLCK) == 0 && sameFile())
            ::unlink(QFile::encodeName(m_path).constData());
        closeFile();
    } else if (!m_osLocks && !m_written.isEmpty()) {
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly) && file.read(m_written.size() + 1) == m_written) {
            file.close();
            file.remove();
        }
        m_written.clear();
    }
    m_state = State::Unlocked;
}
