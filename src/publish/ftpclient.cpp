#include "publish/ftpclient.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QUrl>
#include <arpa/inet.h>
#include <curl/curl.h>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

CURL *handle(void *curl)
{
    return static_cast<CURL *>(curl);
}

bool validHostName(const QString &host, bool ipv6)
{
    if (host.isEmpty())
        return false;
    for (const QChar c : host) {
        const bool ok = ipv6
            ? (c.isDigit() || c == QLatin1Char(':') || c == QLatin1Char('.') ||
               (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
            : ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c.isDigit() ||
               c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('_'));
        if (!ok || c.unicode() > 0x7f)
            return false;
    }
    return true;
}

bool validRemoteName(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

// Why a command or connection failed when the server gave no error reply of its own.
QString explain(int code, int timeoutSeconds, const char *detail)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("a szerver neve nem oldható fel");
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("a szerver nem fogadja a kapcsolatot");
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("a szerver nem fogadta el a bejelentkezést");
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return QStringLiteral("az FTP szerver %1 másodpercig nem válaszolt").arg(timeoutSeconds);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return QStringLiteral("megszakadt a kapcsolat az FTP szerverrel");
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("a szerver tanúsítványa nem ellenőrizhető");
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return QStringLiteral("a szerver tanúsítványa nem az, amelyben megbízott");
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("a szerver nem ismeri a titkosított kapcsolatot (AUTH TLS)");
    default:
        return QString::fromUtf8(
            detail && *detail ? detail : curl_easy_strerror(static_cast<CURLcode>(code)));
    }
}

bool isErrorReply(const QString &reply)
{
    return reply.startsWith(QLatin1Char('4')) || reply.startsWith(QLatin1Char('5'));
}

// libcurl keeps a connection after some failures even when the server has hung up on it.
bool hungUp(curl_socket_t socket)
{
    pollfd probe {socket, POLLIN | POLLRDHUP, 0};
    if (poll(&probe, 1, 0) <= 0)
        return false;
    if (probe.revents & (POLLERR | POLLHUP | POLLRDHUP | POLLNVAL))
        return true;
    char byte;
    return (probe.revents & POLLIN) && recv(socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

} // namespace

// libcurl calls back through plain functions; they reach the session through this.
struct FtpClient::Transfer
{
    FtpClient *client = nullptr;
    QFile *source = nullptr;
    QSaveFile *target = nullptr;
    const Progress *progress = nullptr;
    qint64 total = 0;
    qint64 reported = -1;
    qint64 received = 0;
    QString writeError;
    QByteArray replyLine;

    static size_t read(char *buffer, size_t size, size_t count, void *user)
    {
        auto *t = static_cast<Transfer *>(user);
        const qint64 got =
            t->source->read(buffer, static_cast<qint64>(size) * static_cast<qint64>(count));
        return got < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(got);
    }

    static size_t write(char *data, size_t size, size_t count, void *user)
    {
        auto *t = static_cast<Transfer *>(user);
        const auto bytes = static_cast<qint64>(size) * static_cast<qint64>(count);
        t->received += bytes;
        if (t->target->write(data, bytes) == bytes)
            return size * count;
        t->writeError = t->target->errorString();
        return 0;
    }

    static int progressed(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded)
    {
        auto *t = static_cast<Transfer *>(user);
        if (t->progress && *t->progress && uploaded != t->reported) {
            t->reported = uploaded;
            (*t->progress)(uploaded, t->total);
        }
        return 0;
    }

    // Only the server's replies are kept; what the client sends (the password among it) is
    // never looked at.
    static int debug(CURL *, curl_infotype type, char *data, size_t size, void *user)
    {
        if (type != CURLINFO_HEADER_IN)
            return 0;
        auto *t = static_cast<Transfer *>(user);
        t->replyLine.append(data, static_cast<qsizetype>(size));
        qsizetype end;
        while ((end = t->replyLine.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(t->replyLine.left(end)).trimmed();
            t->replyLine.remove(0, end + 1);
            if (!line.isEmpty())
                t->client->m_lastReply = line;
        }
        return 0;
    }

    // Active data connections listen on port 0; anything else is a control connection, and
    // after the login a lost one must not be replaced behind the run's back.
    static curl_socket_t openSocket(void *user, curlsocktype purpose, struct curl_sockaddr *address)
    {
        auto *t = static_cast<Transfer *>(user);
        int port = 0;
        if (address->family == AF_INET)
            port = ntohs(reinterpret_cast<const sockaddr_in *>(&address->addr)->sin_port);
        else if (address->family == AF_INET6)
            port = ntohs(reinterpret_cast<const sockaddr_in6 *>(&address->addr)->sin6_port);
        // Passive data connections go to another port of the server.
        if (purpose == CURLSOCKTYPE_IPCXN && port == t->client->m_port &&
            !t->client->m_allowNewConnection)
            return CURL_SOCKET_BAD;
        return socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    }
};

FtpClient::FtpClient(Settings settings)
    : m_settings(std::move(settings))
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    m_curl = curl_easy_init();
}

FtpClient::~FtpClient()
{
    quit();
    curl_slist_free_all(m_commands);
}

bool FtpClient::parseServer(const QString &server, QString *host, int *port)
{
    const QString text = server.trimmed();
    QString name = text;
    QString portText;
    bool ipv6 = false;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return false;
        name = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return false;
            portText = rest.mid(1);
        }
        ipv6 = true;
    } else if (text.count(QLatin1Char(':')) == 1) {
        name = text.section(QLatin1Char(':'), 0, 0);
        portText = text.section(QLatin1Char(':'), 1);
    } else if (text.count(QLatin1Char(':')) > 1) {
        ipv6 = true;
    }
    int number = 21;
    if (!portText.isNull()) {
        bool ok = false;
        number = portText.toInt(&ok);
        if (!ok || number < 1 || number > 65535 || !portText.at(0).isDigit())
            return false;
    }
    if (!validHostName(name, ipv6))
        return false;
    *host = ipv6 ? QLatin1Char('[') + name + QLatin1Char(']') : name;
    *port = number;
    return true;
}

void FtpClient::prepare(const QString &remoteName, Transfer &transfer)
{
    transfer.client = this;
    CURL *curl = handle(m_curl);
    curl_easy_reset(curl);
    curl_slist_free_all(m_commands);
    m_commands = nullptr;
    const QByteArray url = "ftp://" + m_host.toLatin1() + ':' + QByteArray::number(m_port) + '/' +
        QUrl::toPercentEncoding(remoteName, "/");
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_USERNAME, m_settings.user.toUtf8().constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, m_settings.password.toUtf8().constData());
    if (m_settings.tls) {
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
        if (!m_settings.pinnedKey.isEmpty()) {
            // The key itself is the trust: a self-made certificate names no host we could check.
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
            curl_easy_setopt(curl, CURLOPT_PINNEDPUBLICKEY,
                             m_settings.pinnedKey.toLatin1().constData());
        }
    } else {
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
        curl_easy_setopt(curl, CURLOPT_FTP_USE_EPRT, 0L);
    }
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    const long timeout = m_settings.timeoutSeconds;
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeout);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
    curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, timeout * 1000);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, timeout);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, m_errorBuffer);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &Transfer::debug);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &Transfer::openSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, &transfer);
}

int FtpClient::perform()
{
    m_lastReply.clear();
    m_errorBuffer[0] = 0;
    return curl_easy_perform(handle(m_curl));
}

FtpClient::Result FtpClient::finish(int code)
{
    curl_socket_t socket = CURL_SOCKET_BAD;
    curl_easy_getinfo(handle(m_curl), CURLINFO_ACTIVESOCKET, &socket);
    if (code == CURLE_OK && socket != CURL_SOCKET_BAD)
        return {Outcome::Done, m_lastReply};
    m_serverType = ServerType::Unknown;
    if (socket == CURL_SOCKET_BAD || hungUp(socket)) {
        m_lost = true;
        const bool silent = code == CURLE_OPERATION_TIMEDOUT || code == CURLE_FTP_ACCEPT_TIMEOUT;
        return {Outcome::ConnectionLost,
                silent ? explain(code, m_settings.timeoutSeconds, m_errorBuffer)
                       : QStringLiteral("megszakadt a kapcsolat az FTP szerverrel")};
    }
    const QString reply = isErrorReply(m_lastReply)
        ? m_lastReply
        : explain(code, m_settings.timeoutSeconds, m_errorBuffer);
    return {code == CURLE_REMOTE_FILE_NOT_FOUND ? Outcome::NotFound : Outcome::Failed, reply};
}

FtpClient::Result FtpClient::refuse() const
{
    return {Outcome::ConnectionLost, QStringLiteral("nincs kapcsolat az FTP szerverrel")};
}

void FtpClient::applyType()
{
    // libcurl would rewrite line ends in its own ASCII mode, so it always transfers in binary
    // and the type the server should use goes as a command of ours just before the transfer.
    const ServerType wanted = m_type == Type::Ascii ? ServerType::Ascii : ServerType::Binary;
    const ServerType before = m_libraryTypeSent ? m_serverType : ServerType::Binary;
    if (before != wanted) {
        m_commands =
            curl_slist_append(m_commands, wanted == ServerType::Ascii ? "TYPE A" : "TYPE I");
        curl_easy_setopt(handle(m_curl), CURLOPT_PREQUOTE, m_commands);
    }
    m_serverType = wanted;
    m_libraryTypeSent = true;
}

FtpClient::Result FtpClient::connect()
{
    if (!parseServer(m_settings.server, &m_host, &m_port))
        return {Outcome::InvalidHost, QStringLiteral("a szerver neve hibás vagy üres")};
    if (!m_curl)
        return {Outcome::ConnectionFailed, QStringLiteral("az FTP kliens nem indítható")};
    Transfer transfer;
    prepare(QString(), transfer);
    CURL *curl = handle(m_curl);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    m_allowNewConnection = true;
    const int code = perform();
    m_allowNewConnection = false;
    const QString why = isErrorReply(m_lastReply)
        ? m_lastReply
        : explain(code, m_settings.timeoutSeconds, m_errorBuffer);
    if (code == CURLE_COULDNT_RESOLVE_HOST)
        return {Outcome::InvalidHost, why};
    if (code == CURLE_PEER_FAILED_VERIFICATION || code == CURLE_SSL_PINNEDPUBKEYNOTMATCH)
        return {Outcome::UntrustedCertificate,
                explain(code, m_settings.timeoutSeconds, m_errorBuffer)};
    curl_socket_t socket = CURL_SOCKET_BAD;
    curl_easy_getinfo(curl, CURLINFO_ACTIVESOCKET, &socket);
    if (code != CURLE_OK || socket == CURL_SOCKET_BAD)
        return {Outcome::ConnectionFailed, why};
    m_connected = true;
    return {Outcome::Done, m_lastReply};
}

FtpClient::Result FtpClient::store(const QString &localPath, const QString &remoteName,
                                   const Progress &progress)
{
    if (!isConnected())
        return refuse();
    if (!validRemoteName(remoteName))
        return {Outcome::Failed, QStringLiteral("hibás távoli fájlnév")};
    QFile source(localPath);
    if (!source.open(QIODevice::ReadOnly))
        return {Outcome::Failed,
                QStringLiteral("a helyi fájl nem olvasható (%1)").arg(source.errorString())};
    Transfer transfer;
    transfer.source = &source;
    transfer.progress = &progress;
    transfer.total = source.size();
    prepare(remoteName, transfer);
    CURL *curl = handle(m_curl);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Transfer::read);
    curl_easy_setopt(curl, CURLOPT_READDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(transfer.total));
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Transfer::progressed);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    applyType();
    return finish(perform());
}

FtpClient::Result FtpClient::retrieve(const QString &remoteName, const QString &localPath)
{
    if (!isConnected())
        return refuse();
    if (!validRemoteName(remoteName))
        return {Outcome::Failed, QStringLiteral("hibás távoli fájlnév")};
    // Unbuffered, so that a full disk shows at the write that met it and not at a commit that
    // may report success all the same.
    QSaveFile target(localPath);
    const auto unwritable = [&](const QString &why) {
        target.cancelWriting();
        return Result {Outcome::Failed, QStringLiteral("a helyi fájl nem írható (%1)").arg(why)};
    };
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return unwritable(target.errorString());
    Transfer transfer;
    transfer.target = &target;
    prepare(remoteName, transfer);
    CURL *curl = handle(m_curl);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::write);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    // SIZE would be asked first, and servers refuse it in ASCII mode; the reply to RETR is
    // what tells whether the file came whole.
    curl_easy_setopt(curl, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
    applyType();
    Result result = finish(perform());
    if (!transfer.writeError.isEmpty())
        return unwritable(transfer.writeError);
    if (!result.ok()) {
        target.cancelWriting();
        return result;
    }
    if (!target.flush() || ::fsync(target.handle()) != 0)
        return unwritable(target.errorString());
    if (target.size() != transfer.received)
        return unwritable(QStringLiteral("a mentett fájl rövidebb a letöltöttnél"));
    if (!target.commit())
        return unwritable(target.errorString());
    if (QFileInfo(localPath).size() != transfer.received) {
        QFile::remove(localPath);
        return unwritable(QStringLiteral("a mentett fájl rövidebb a letöltöttnél"));
    }
    return result;
}

FtpClient::Result FtpClient::remove(const QString &remoteName)
{
    if (!isConnected())
        return refuse();
    if (!validRemoteName(remoteName))
        return {Outcome::Failed, QStringLiteral("hibás távoli fájlnév")};
    Transfer transfer;
    prepare(QString(), transfer);
    CURL *curl = handle(m_curl);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    // The leading "*" keeps libcurl from dropping the connection when the server says no; the
    // reply code tells the outcome.
    m_commands = curl_slist_append(m_commands, ("*DELE " + remoteName.toUtf8()).constData());
    curl_easy_setopt(curl, CURLOPT_QUOTE, m_commands);
    Result result = finish(perform());
    if (!result.ok())
        return result;
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    if (code / 100 != 2)
        return {code == 550 ? Outcome::NotFound : Outcome::Failed, m_lastReply};
    return result;
}

FtpClient::Certificate FtpClient::fetchCertificate()
{
    Certificate result;
    if (!parseServer(m_settings.server, &m_host, &m_port)) {
        result.error = QStringLiteral("a szerver neve hibás vagy üres");
        return result;
    }
    // A handle of its own, so that this connection is never reused for the session; a key that
    // matches nothing ends the handshake before a user name could be sent.
    CURL *probe = curl_easy_init();
    if (!probe) {
        result.error = QStringLiteral("az FTP kliens nem indítható");
        return result;
    }
    const QByteArray url = "ftp://" + m_host.toLatin1() + ':' + QByteArray::number(m_port) + '/';
    curl_easy_setopt(probe, CURLOPT_URL, url.constData());
    curl_easy_setopt(probe, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(probe, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(probe, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
    curl_easy_setopt(probe, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(probe, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(probe, CURLOPT_PINNEDPUBLICKEY,
                     "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=");
    curl_easy_setopt(probe, CURLOPT_CERTINFO, 1L);
    curl_easy_setopt(probe, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(probe, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(probe, CURLOPT_CONNECTTIMEOUT, static_cast<long>(m_settings.timeoutSeconds));
    curl_easy_setopt(probe, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     static_cast<long>(m_settings.timeoutSeconds));
    char errors[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(probe, CURLOPT_ERRORBUFFER, errors);
    const CURLcode code = curl_easy_perform(probe);
    curl_certinfo *chain = nullptr;
    curl_easy_getinfo(probe, CURLINFO_CERTINFO, &chain);
    QByteArray pem;
    for (curl_slist *item = chain && chain->num_of_certs > 0 ? chain->certinfo[0] : nullptr; item;
         item = item->next) {
        if (qstrncmp(item->data, "Cert:", 5) == 0)
            pem = QByteArray(item->data + 5);
    }
    curl_easy_cleanup(probe);
    const QSslCertificate certificate(pem, QSsl::Pem);
    if (certificate.isNull()) {
        result.error = explain(code, m_settings.timeoutSeconds, errors);
        return result;
    }
    const QByteArray digest = certificate.digest(QCryptographicHash::Sha256).toHex().toUpper();
    for (qsizetype i = 0; i < digest.size(); i += 2)
        result.fingerprint +=
            (i ? QStringLiteral(":") : QString()) + QString::fromLatin1(digest.mid(i, 2));
    const QByteArray key = certificate.publicKey().toDer();
    result.pinnedKey = QStringLiteral("sha256//") +
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toBase64());
    return result;
}

void FtpClient::quit()
{
    // Cleaning up sends QUIT over a connection that is still alive, and only then.
    if (m_curl) {
        Transfer transfer;
        transfer.client = this;
        curl_easy_setopt(handle(m_curl), CURLOPT_DEBUGDATA, &transfer);
        curl_easy_setopt(handle(m_curl), CURLOPT_OPENSOCKETDATA, &transfer);
        curl_easy_cleanup(handle(m_curl));
        m_curl = nullptr;
    }
    m_connected = false;
}
