#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real FTP server (pyftpdlib, run with the interpreter PELMORA_TEST_PYTHON names) on
// 127.0.0.1 at a free port, for the length of one test. Its user's home is a fresh folder; it
// records every command it receives and stores and sends file bytes unchanged in either
// transfer type. Extra arguments stage faults: "--throttle" bytes per second, "--silent-on"
// a command prefix after which it answers nothing, "--drop-on" a file name ending whose upload
// it cuts off together with the connection, "--cut-retr" the bytes of a download it sends
// before failing it, "--tls-cert" a PEM file (made when missing) to speak explicit TLS with,
// "--relay-capture" a file for the client's bytes through relayAddress(), "--refuse-dele" answers
// every delete with 550 and keeps the file.
class FtpServerFixture
{
public:
    static inline const QString user = QStringLiteral("itest01");
    static inline const QString password = QStringLiteral("titok-42");

    explicit FtpServerFixture(const QStringList &extraArguments = {});
    ~FtpServerFixture();

    bool isListening() const { return m_port > 0; }
    // With "--relay-capture FILE": "127.0.0.1:port" of the relay in front of the server.
    QString relayAddress() const { return QStringLiteral("127.0.0.1:%1").arg(m_relayPort); }
    int port() const { return m_port; }
    // "127.0.0.1:port", as the settings hold a server with its port.
    QString address() const;
    // The user's home folder, with a trailing separator.
    QString home() const;
    // The commands received so far, one per line as sent.
    QStringList commands() const;
    // Reads back a file in the home folder.
    QByteArray fileBytes(const QString &name) const;
    void putFile(const QString &name, const QByteArray &bytes) const;

private:
    QTemporaryDir m_home;
    QTemporaryDir m_state;
    QProcess m_process;
    int m_port = 0;
    int m_relayPort = 0;
};
