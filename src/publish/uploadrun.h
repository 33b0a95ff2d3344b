#pragma once

#include "publish/ftpclient.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QDir;
struct RegisterState;

// One upload run: writes the portal's three files from the upload set (the filtered view of the
// shared property cursor), sends them and the photographs over one FTP connection, marks the
// properties that went up whole, fetches and processes the portal's messages, and logs every
// step. The network work runs on a worker thread; while it waits, run() keeps the event loop
// turning, so the window repaints and its progress bar moves.
class UploadRun : public QObject
{
    Q_OBJECT
public:
    enum class Ending {
        Success, // every upload succeeded
        WithErrors, // the run went through, but something was not uploaded
        ConnectionFailed, // nothing was uploaded
        FileError, // a local file could not be written; nothing more was done
        Busy, // another workstation of the office was uploading; nothing was done
    };

    explicit UploadRun(RegisterState &cursors, QObject *parent = nullptr);

    // Asks the user whether to trust a server certificate the system does not vouch for; with
    // none set, such a server is refused.
    void setTrustQuestion(std::function<bool(const QString &)> ask) { m_askTrust = std::move(ask); }

    // Seconds of silence after which the server counts as gone.
    void setTimeoutSeconds(int seconds) { m_timeoutSeconds = seconds; }

    // Runs every step and returns when the run has ended.
    Ending run();
    bool isRunning() const { return m_running; }

signals:
    // A whole log line: date and time, two blanks, the message.
    void logged(const QString &line);
    void transferStarted();
    void progressed(qint64 done, qint64 total);
    // A message the user must acknowledge before the run goes on.
    void problem(const QString &message);

private:
    struct Property;
    // What the run came to, for its entry in the office's change log.
    struct Tally
    {
        int properties = 0; // in the upload set
        int sent = 0; // went up whole, with their photographs
        int failedTransfers = 0;
        int news = 0; // the portal's messages stored
        int inquiries = 0; // of them, buyers' inquiries stored as requests
        QString failure; // why a run that sent nothing ended
    };

    Ending runSteps();
    void logRun(Ending ending);
    void fail(const QString &message);

    void log(const QString &message);
    bool writeListFiles(const QString &stamp, const QDir &here, QStringList *localFiles);
    std::unique_ptr<FtpClient> openSession();
    void quit(FtpClient &client);
    bool sendListFiles(FtpClient &client, const QStringList &localFiles, const QString &stamp);
    bool sendPhotos(FtpClient &client, bool listSent);
    std::optional<bool> sendUserFile(FtpClient &client, const QString &stamp, const QDir &here,
                                     QStringList *localFiles);
    void finishSession(FtpClient &client);
    Ending conclude(const QStringList &localFiles, bool allSent);
    bool upload(FtpClient &client, const QString &localPath, const QString &remoteName);
    // Nothing when the password could not be read from the secret store.
    std::optional<FtpClient::Settings> clientSettings(QString *error) const;
    QList<Property> readUploadSet() const;
    // Returns the properties that went up whole.
    QList<int> uploadPhotos(FtpClient &client, const QList<Property> &uploadSet, bool textsSent);
    void markUploaded(const QList<int> &ids);
    void fetchNews(FtpClient &client);
    FtpClient::Result connectTo(FtpClient::Settings settings, std::unique_ptr<FtpClient> *session);
    bool trustCertificate(const FtpClient::Settings &settings, const QString &why);

    // Runs the blocking work on a worker thread and spins a nested event loop here until it
    // ends: the window keeps painting and taking events meanwhile, so whatever a click can reach
    // during a run must be safe in the middle of it.
    template<typename Work>
    auto whileWorkerRuns(Work work) -> decltype(work());

    RegisterState &m_cursors;
    int m_timeoutSeconds = 30;
    bool m_running = false;
    QString m_newsProblem; // said again when the run ends
    Tally m_tally;
    std::function<bool(const QString &)> m_askTrust;
};
