#include "tests/support/ftpserverfixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString python()
{
    const QString named = qEnvironmentVariable("PELMORA_TEST_PYTHON");
    return named.isEmpty() ? QStringLiteral("/usr/bin/python3") : named;
}

QString script()
{
    return qEnvironmentVariable("PELMORA_TEST_SUPPORT_DIR") + QStringLiteral("/ftpserver.py");
}

} // namespace

FtpServerFixture::FtpServerFixture(const QStringList &extraArguments)
{
    QStringList arguments {script(),
                           QStringLiteral("--home"),
                           QDir::cleanPath(m_home.path()),
                           QStringLiteral("--user"),
                           user,
                           QStringLiteral("--password"),
                           password,
                           QStringLiteral("--log"),
                           m_state.filePath(QStringLiteral("commands.log"))};
    arguments += extraArguments;
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(m_state.filePath(QStringLiteral("server.err")));
    m_process.start(python(), arguments);
    if (!m_process.waitForStarted(10000))
        return;
    const QDeadlineTimer deadline(15000);
    QByteArray out;
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(200);
        out += m_process.readAllStandardOutput();
        const qsizetype at = out.indexOf("LISTENING ");
        const qsizetype end = out.indexOf('\n', at);
        const qsizetype relay = out.indexOf("RELAY ");
        if (relay >= 0 && out.indexOf('\n', relay) > relay)
            m_relayPort =
                out.mid(relay + 6, out.indexOf('\n', relay) - relay - 6).trimmed().toInt();
        if (at >= 0 && end > at) {
            m_port = out.mid(at + 10, end - at - 10).trimmed().toInt();
            break;
        }
    }
    if (m_port <= 0) {
        QFile err(m_state.filePath(QStringLiteral("server.err")));
        err.open(QIODevice::ReadOnly);
        qWarning("FTP server did not start: %s", err.readAll().constData());
    }
}

FtpServerFixture::~FtpServerFixture()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
}

QString FtpServerFixture::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QString FtpServerFixture::home() const
{
    return QDir::cleanPath(m_home.path()) + QLatin1Char('/');
}

QStringList FtpServerFixture::commands() const
{
    QFile log(m_state.filePath(QStringLiteral("commands.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray FtpServerFixture::fileBytes(const QString &name) const
{
    QFile file(home() + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void FtpServerFixture::putFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(home() + name);
    QDir().mkpath(QFileInfo(file.fileName()).path());
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
