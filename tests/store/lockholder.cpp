// A second copy of the program as far as the lock goes, for tests that need a real other
// process: it takes the lock of the given file, says what it found, and then does what it is
// told on its standard input ("release", "exit"), one line at a time.
#include "store/instancelock.h"
#include "store/textformat.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

QString stateName(InstanceLock::State state)
{
    switch (state) {
    case InstanceLock::State::Alone:
        return QStringLiteral("alone");
    case InstanceLock::State::Shared:
        return QStringLiteral("shared");
    case InstanceLock::State::Unlocked:
        break;
    }
    return QStringLiteral("unlocked");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    InstanceLock lock(QString::fromLocal8Bit(argv[1]));
    lock.acquire(textformat::timestampNow());
    QTextStream out(stdout);
    const InstanceLock::Holder &holder = lock.holder();
    out << stateName(lock.state()) << '\t' << (lock.othersRunning() ? "others" : "none") << '\t'
        << holder.host << '\t' << holder.since << '\t' << holder.pid << '\n';
    out.flush();
    QTextStream in(stdin);
    QString command;
    while (in.readLineInto(&command)) {
        if (command == QLatin1String("release")) {
            lock.release();
            out << "released\n";
            out.flush();
        } else if (command == QLatin1String("exit")) {
            break;
        }
    }
    return 0;
}
