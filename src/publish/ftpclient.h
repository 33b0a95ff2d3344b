#pragma once

#include <QString>
#include <functional>

// One FTP session over libcurl, shaped after what the upload run needs: connect and log in,
// transfer type, store, retrieve, delete, quit. One control connection serves the whole
// session; data connections are active (PORT) and remote names are sent whole. With TLS the
// session is explicit FTPS (AUTH TLS, PROT P) and passive, since this libcurl cannot finish TLS
// on an active data connection; the server's certificate must pass the system's store or
// carry the public key the user chose to trust. Once that
// connection is lost the session opens no other: every later call fails at once.
//
// The calls block, so the run makes them off the window's thread, one at a time.
class FtpClient
{
public:
    enum class Type { Ascii, Binary };

    enum class Outcome {
        Done,
        Failed, // the command or transfer failed; the session goes on
        NotFound, // the server has no such file
        InvalidHost, // connect: the name is empty, malformed or cannot be resolved
        ConnectionFailed, // connect: refused, no greeting, login refused
        ConnectionLost, // the connection dropped or the server went silent
        UntrustedCertificate, // connect: the TLS certificate is not trusted (nothing was sent)
    };

    struct Result
    {
        Outcome outcome = Outcome::Done;
        QString reply; // the server's reply line, or why there was none (Hungarian)
        bool ok() const { return outcome == Outcome::Done; }
    };

    struct Settings
    {
        QString server; // host name or address, optionally ":port"
        QString user;
        QString password;
        int timeoutSeconds = 30;
        bool tls = false;
        // "sha256//<base64>" of a public key trusted in place of the system's store.
        QString pinnedKey;
    };

    // The certificate a TLS server shows, fetched without logging in and without trusting it,
    // so that the user can be shown what to trust.
    struct Certificate
    {
        QString fingerprint; // SHA-256 of the certificate, "AB:CD:..."
        QString pinnedKey; // for Settings::pinnedKey
        QString error; // why there is none
    };
    Certificate fetchCertificate();

    // Bytes done and the total of the transfer under way; called on the transferring thread.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    explicit FtpClient(Settings settings);
    ~FtpClient();
    FtpClient(const FtpClient &) = delete;
    FtpClient &operator=(const FtpClient &) = delete;

    // Splits "host[:port]" (an IPv6 address in brackets); false when it is not a usable
    // address, so that nothing but a host name ever reaches the URL.
    static bool parseServer(const QString &server, QString *host, int *port);

    Result connect();
    // Applies to the transfers that follow; the TYPE command goes just before each transfer
    // whose type differs from the server's.
    void setType(Type type) { m_type = type; }
    Result store(const QString &localPath, const QString &remoteName,
                 const Progress &progress = {});
    // The local file is replaced only by a complete download.
    Result retrieve(const QString &remoteName, const QString &localPath);
    Result remove(const QString &remoteName);
    void quit();

    bool isConnected() const { return m_connected && !m_lost; }
    bool connectionLost() const { return m_lost; }

private:
    struct Transfer;
    enum class ServerType { Unknown, Ascii, Binary };

    void prepare(const QString &remoteName, Transfer &transfer);
    int perform();
    Result finish(int code);
    Result refuse() const;
    void applyType();

    Settings m_settings;
    QString m_host;
    int m_port = 21;
    void *m_curl = nullptr;
    Type m_type = Type::Binary;
    ServerType m_serverType = ServerType::Unknown;
    bool m_libraryTypeSent = false;
    bool m_connected = false;
    bool m_lost = false;
    bool m_allowNewConnection = false;
    QString m_lastReply;
    char m_errorBuffer[256] = {};
    struct curl_slist *m_commands = nullptr;
};
