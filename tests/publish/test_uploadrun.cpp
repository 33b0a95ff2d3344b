#include "publish/ftpsecurity.h"
#include "publish/uploadfiles.h"
#include "publish/uploadrun.h"
#include "store/changelog.h"
#include "store/tables.h"
#include "tests/publish/uploadscene.h"
#include "tests/support/ftpserverfixture.h"

#include <QSslCertificate>
#include <QSysInfo>
#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(UploadRun::Ending)

// Upload runs against a real FTP server on this machine, whole and with every fault staged.
class TestUploadRun : public QObject
{
    Q_OBJECT

private:
    struct Outcome
    {
        UploadRun::Ending ending;
        QStringList log; // the messages, without their date and time
        QStringList problems;
        QStringList rawLog;
    };

    static Outcome runUpload(UploadScene &scene, int timeoutSeconds = 10)
    {
        UploadRun run(scene.cursors);
        run.setTimeoutSeconds(timeoutSeconds);
        Outcome outcome;
        connect(&run, &UploadRun::logged, [&](const QString &line) {
            outcome.rawLog << line;
            outcome.log << line.section(u"  "_s, 1);
        });
        connect(&run, &UploadRun::problem, [&](const QString &text) { outcome.problems << text; });
        outcome.ending = run.run();
        return outcome;
    }

    // The session as the Part orders it: connection details and repeated TYPE left out, each
    // transfer with the type in force when it went.
    static QStringList session(const QStringList &commands)
    {
        QStringList result;
        QString type = u"?"_s;
        for (const QString &command : commands) {
            const QString verb = command.section(u' ', 0, 0).toUpper();
            if (verb == u"PORT"_s || verb == u"PWD"_s)
                continue;
            if (verb == u"TYPE"_s) {
                type = command.section(u' ', 1);
                continue;
            }
            result << ((verb == u"STOR"_s || verb == u"RETR"_s) ? command + u" ("_s + type + u')'
                                                                : command);
        }
        return result;
    }

    static QString stampOf(const QStringList &commands)
    {
        for (const QString &command : commands) {
            if (command.startsWith(u"STOR "_s) && command.endsWith(u"ingatlan.data"_s))
                return command.mid(5).chopped(13);
        }
        return {};
    }

    // The runs' entries in the office's log, oldest first, as "action | details"; none may be
    // tied to a property.
    static QStringList runEntries(UploadScene &scene)
    {
        QStringList entries;
        const QList<changelog::Entry> logged = changelog::ofProperty(scene.db, 0);
        for (const changelog::Entry &entry : logged) {
            if (entry.workstation != QSysInfo::machineHostName() || entry.archiveId != 0)
                return {u"wrong entry: "_s + entry.details};
            entries.prepend(entry.action + u" | "_s + entry.details);
        }
        return entries;
    }

    // The portal's server before a first run: a photo folder, and one message waiting.
    static void preparePortal(FtpServerFixture &server)
    {
        QDir().mkpath(server.home() + u"Images"_s);
        server.putFile(u"news.txt"_s, "2026.12.01 10:00\rPel\nmora\r\n1\r\nSz\xe9p napot!\r");
    }

private slots:
    void firstRunSendsEverythingAndFetchesTheNews()
    {
        FtpServerFixture server;
        QVERIFY(server.isListening());
        preparePortal(server);
        UploadScene scene(server.address());

        // What the writers make of this register, to compare with what arrives.
        QTemporaryDir reference;
        Cursor &properties = scene.cursors.tEgyszeru;
        const QByteArray data = [&] {
            QFile f(WriteDataFile(u"x"_s, properties, QDir(reference.path())));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        const QByteArray head = [&] {
            QFile f(WriteHeadFile(u"x"_s, properties, QDir(reference.path())));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        properties.setFiltered(true);
        const QByteArray user = [&] {
            QFile f(WriteUserFile(u"x"_s, scene.cursors.tDefaults, QDir(reference.path())));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();

        const Outcome first = runUpload(scene);
        QCOMPARE(first.ending, UploadRun::Ending::Success);
        QCOMPARE(first.problems, QStringList());
        QCOMPARE(
            first.log,
            (QStringList {u"Szöveges adatbázis generálása..."_s, u"Fejléc generálása..."_s,
                          u"Kapcsolódás az FTP szerverhez..."_s, u"Kapcsolat létrejött"_s,
                          u"Adatok feltöltése"_s, u"Fejléc feltöltése"_s, u"1-1.jpg feltöltése"_s,
                          u"1-3.jpg feltöltése"_s, u"2-1.jpg feltöltése"_s,
                          u"Felhasználói információk feltöltése"_s,
                          u"Az adatok feltöltése sikeres volt."_s, u"Hírek letöltése..."_s,
                          u"1 új hír érkezett."_s, u"Leválás az FTP szerverről..."_s, u"Kész."_s}));
        QVERIFY(first.rawLog.first().startsWith(
            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)));

        const QStringList commands = server.commands();
        const QString stamp = stampOf(commands);
        QVERIFY(!stamp.isEmpty());
        QCOMPARE(
            session(commands),
            (QStringList {u"USER itest01"_s, u"PASS titok-42"_s,
                          u"STOR "_s + stamp + u"ingatlan.data (A)"_s,
                          u"STOR "_s + stamp + u"ingatlan.head (A)"_s, u"STOR Images/1-1.jpg (I)"_s,
                          u"STOR Images/1-3.jpg (I)"_s, u"STOR Images/2-1.jpg (I)"_s,
                          u"STOR "_s + stamp + u"ingatlan.user (A)"_s, u"RETR news.txt (A)"_s,
                          u"DELE news.txt"_s, u"QUIT"_s}));
        QCOMPARE(server.fileBytes(stamp + u"ingatlan.data"_s), data);
        QCOMPARE(server.fileBytes(stamp + u"ingatlan.head"_s), head);
        QCOMPARE(server.fileBytes(stamp + u"ingatlan.user"_s), user);
        for (const QString &photo : {u"1-1.jpg"_s, u"1-3.jpg"_s, u"2-1.jpg"_s})
            QCOMPARE(server.fileBytes(u"Images/"_s + photo), scene.photo(photo));

        QCOMPARE(scene.marked(), (QStringList {u"P-1"_s, u"P-2"_s, u"P-3"_s}));
        // The password logged in with came from the secret store; the settings hold none now.
        QCOMPARE(Cursor(scene.db, tables::defaults, false).text(u"Ftppass"_s), QString());
        QVERIFY(properties.filtered());
        QCOMPARE(properties.recordCount(), 0);
        QCOMPARE(scene.work.files(), QStringList());
        QVERIFY(!QFileInfo::exists(server.home() + u"news.txt"_s));
        Cursor hirek(scene.db, tables::hirek, false);
        QCOMPARE(hirek.recordCount(), 1);
        QCOMPARE(hirek.text(u"Mikor"_s), u"2026.12.01 10:00"_s);
        QCOMPARE(hirek.text(u"Kuldo"_s), u"Pel\nmora"_s);
        QCOMPARE(hirek.text(u"Uzenet"_s), u"Szép napot!"_s);
        QCOMPARE(runEntries(scene),
                 QStringList {u"Feltöltés | Sikeres: 3 ingatlan feltöltve. 1 új hír, ebből 0 "
                              u"érdeklődés."_s});
    }

    // Nothing waits after a run: an empty data file, no photographs, and no messages.
    void secondRunSendsOnlyEmptyLists()
    {
        FtpServerFixture server;
        QVERIFY(server.isListening());
        preparePortal(server);
        UploadScene scene(server.address());
        QCOMPARE(runUpload(scene).ending, UploadRun::Ending::Success);

        const qsizetype before = server.commands().size();
        const Outcome second = runUpload(scene);
        QCOMPARE(second.ending, UploadRun::Ending::Success);
        QCOMPARE(second.log.mid(4),
                 (QStringList {u"Adatok feltöltése"_s, u"Fejléc feltöltése"_s,
                               u"Felhasználói információk feltöltése"_s,
                               u"Az adatok feltöltése sikeres volt."_s, u"Hírek letöltése..."_s,
                               u"Nincs új hír."_s, u"Leválás az FTP szerverről..."_s, u"Kész."_s}));
        const QStringList again = session(server.commands().mid(before));
        const QString stamp2 = stampOf(server.commands().mid(before));
        QCOMPARE(again,
                 (QStringList {u"USER itest01"_s, u"PASS titok-42"_s,
                               u"STOR "_s + stamp2 + u"ingatlan.data (A)"_s,
                               u"STOR "_s + stamp2 + u"ingatlan.head (A)"_s,
                               u"STOR "_s + stamp2 + u"ingatlan.user (A)"_s, u"RETR news.txt (A)"_s,
                               u"DELE news.txt"_s, u"QUIT"_s}));
        QCOMPARE(server.fileBytes(stamp2 + u"ingatlan.data"_s), QByteArray());
        QCOMPARE(server.fileBytes(stamp2 + u"ingatlan.head"_s).count("\r\n"), 4);
        QCOMPARE(scene.work.files(), QStringList());
        QCOMPARE(runEntries(scene),
                 (QStringList {u"Feltöltés | Sikeres: 3 ingatlan feltöltve. 1 új hír, ebből 0 "
                               u"érdeklődés."_s,
                               u"Feltöltés | Sikeres: 0 ingatlan feltöltve."_s}));
    }

    void faults_data()
    {
        QTest::addColumn<QStringList>("serverArguments");
        QTest::addColumn<QString>("serverName"); // empty: the fixture's address
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("staging");
        QTest::addColumn<UploadRun::Ending>("ending");
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("lastCommand");

        using E = UploadRun::Ending;
        const QString refused = u"Hiba az FTP szerver csatlakozásánál!"_s;
        const QString badAddress = u"Hiba az FTP szerver csatlakozásánál! Hibás cím!"_s;
        const QString closing =
            u"Az adatok feltöltése hibával zárult. A hibákat a feltöltés naplója sorolja fel."_s;
        const QStringList all {u"P-1"_s, u"P-2"_s, u"P-3"_s};
        // A label longer than 63 letters: the resolver rejects it without asking any server.
        const QString unresolvable = QString(64, u'a') + u".invalid"_s;

        QTest::newRow("nothing listening")
            << QStringList() << u"127.0.0.1:1"_s << QString() << QString() << E::ConnectionFailed
            << QStringList() << refused << u"Hiba."_s << QString();
        QTest::newRow("unresolvable name")
            << QStringList() << unresolvable << QString() << QString() << E::ConnectionFailed
            << QStringList() << badAddress << u"Hiba."_s << QString();
        QTest::newRow("empty name")
            << QStringList() << u" "_s << QString() << QString() << E::ConnectionFailed
            << QStringList() << badAddress << u"Hiba."_s << QString();
        QTest::newRow("login refused")
            << QStringList() << QString() << u"rossz"_s << QString() << E::ConnectionFailed
            << QStringList() << refused << u"Hiba."_s << u"PASS rossz"_s;
        QTest::newRow("connection dropped mid-photo")
            << QStringList {u"--drop-on"_s, u"2-1.jpg"_s} << QString() << QString() << QString()
            << E::WithErrors << QStringList {u"P-1"_s, u"P-3"_s} << closing
            << u"Images/2-1.jpg feltöltése sikertelen: "_s << u"STOR Images/2-1.jpg"_s;
        QTest::newRow("remote Images missing")
            << QStringList() << QString() << QString() << u"no remote Images"_s << E::WithErrors
            << QStringList {u"P-3"_s} << closing << u"Images/1-1.jpg feltöltése sikertelen: 5"_s
            << u"QUIT"_s;
        QTest::newRow("local photo missing")
            << QStringList() << QString() << QString() << u"no 1-3.jpg"_s << E::WithErrors
            << QStringList {u"P-2"_s, u"P-3"_s} << closing << u"1-3.jpg: a fénykép nem található"_s
            << u"QUIT"_s;
        QTest::newRow("silent server")
            << QStringList {u"--silent-on"_s, u"STOR"_s} << QString() << QString() << QString()
            << E::WithErrors << QStringList() << closing << u"nem válaszolt"_s << u"STOR"_s;
        QTest::newRow("cut-off news.txt")
            << QStringList {u"--cut-retr"_s, u"5"_s} << QString() << QString() << u"news"_s
            << E::Success << all << QString() << u"news.txt letöltése sikertelen"_s << u"QUIT"_s;
    }

    void faults()
    {
        QFETCH(QStringList, serverArguments);
        QFETCH(QString, serverName);
        QFETCH(QString, password);
        QFETCH(QString, staging);
        QFETCH(UploadRun::Ending, ending);
        QFETCH(QStringList, marked);
        QFETCH(QString, problem);
        QFETCH(QString, logged);
        QFETCH(QString, lastCommand);

        FtpServerFixture server(serverArguments);
        QVERIFY(server.isListening());
        if (staging != u"no remote Images"_s)
            QDir().mkpath(server.home() + u"Images"_s);
        const QByteArray news("a\r\nb\r\n1\r\nhello\r\n");
        if (staging.contains(u"news"_s))
            server.putFile(u"news.txt"_s, news);
        UploadScene scene(serverName.isEmpty() ? server.address() : serverName, password);
        if (staging == u"no 1-3.jpg"_s)
            QVERIFY(scene.losePhoto(u"1-3.jpg"_s));

        const Outcome outcome = runUpload(scene, 3);
        QCOMPARE(outcome.ending, ending);
        QCOMPARE(scene.marked(), marked);
        QCOMPARE(outcome.problems, problem.isEmpty() ? QStringList() : QStringList {problem});
        QVERIFY2(std::any_of(outcome.log.cbegin(), outcome.log.cend(),
                             [&](const QString &line) { return line.contains(logged); }),
                 qPrintable(outcome.log.join(u'\n')));
        QVERIFY(scene.cursors.tEgyszeru.filtered());

        const QStringList commands = server.commands();
        QVERIFY(commands.count(u"USER itest01"_s) <= 1); // never a second connection
        if (!lastCommand.isEmpty())
            QVERIFY2(commands.last().startsWith(lastCommand), qPrintable(commands.join(u'\n')));
        for (const QString &line : outcome.rawLog + outcome.problems)
            QVERIFY(!line.contains(u"titok-42"_s));

        // One entry for the run, saying how it ended.
        const QStringList entries = runEntries(scene);
        QCOMPARE(entries.size(), 1);
        const QString expected = ending == UploadRun::Ending::Success
            ? u"Feltöltés | Sikeres: %1 ingatlan feltöltve."_s.arg(marked.size())
            : ending == UploadRun::Ending::WithErrors
            ? u"Feltöltés | Hibával zárult: 3 ingatlanból %1 feltöltve, "_s.arg(marked.size())
            : u"Feltöltés | Nem jött létre kapcsolat: "_s + problem;
        QVERIFY2(entries.first().startsWith(expected), qPrintable(entries.first()));

        if (ending == UploadRun::Ending::ConnectionFailed) {
            QCOMPARE(outcome.log.last(), u"Hiba."_s);
            QVERIFY(!commands.join(u'\n').contains(u"STOR"_s));
            // The text files of the failed run stay behind; the user file was never written.
            QCOMPARE(scene.work.files().size(), 2);
        } else {
            QCOMPARE(scene.work.files(), QStringList());
            QVERIFY(outcome.log.contains(ending == UploadRun::Ending::Success
                                             ? u"Az adatok feltöltése sikeres volt."_s
                                             : u"Az adatok feltöltése hibával zárult."_s));
        }
        if (staging.contains(u"news"_s)) {
            // Left on the server for the next run, and nothing of it stored here.
            QCOMPARE(server.fileBytes(u"news.txt"_s), news);
            QVERIFY(!commands.contains(u"DELE news.txt"_s));
            QCOMPARE(Cursor(scene.db, tables::hirek, false).recordCount(), 0);
        }
    }

    // A refused file is kept aside here and then deleted on the server, so that it does not
    // hold up the messages of every later run; the run says so at its end.
    void malformedNewsKeptAside()
    {
        FtpServerFixture server;
        QVERIFY(server.isListening());
        QDir().mkpath(server.home() + u"Images"_s);
        const QByteArray bad("a\r\nb\r\nhat\r\n");
        server.putFile(u"news.txt"_s, bad);
        UploadScene scene(server.address());
        const Outcome outcome = runUpload(scene);
        QCOMPARE(outcome.ending, UploadRun::Ending::Success);
        QCOMPARE(outcome.problems.size(), 1);
        QVERIFY2(outcome.problems.first().startsWith(
                     u"A portál üzenetfájlja (news.txt) hibás, a hírei nem kerültek rögzítésre."_s),
                 qPrintable(outcome.problems.first()));
        const QStringList copies =
            QDir(scene.data.path() + u"hibas-hirek"_s).entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
        QVERIFY(outcome.problems.first().contains(copies.first()));
        QFile copy(scene.data.path() + u"hibas-hirek/"_s + copies.first());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), bad);
        QVERIFY(std::any_of(outcome.log.cbegin(), outcome.log.cend(), [](const QString &line) {
            return line.startsWith(u"Hibás news.txt: a(z) 3. sorban"_s);
        }));
        QVERIFY(outcome.log.contains(
            u"A hibás news.txt törölve a szerverről; a másolata megmaradt a gépen."_s));
        QVERIFY(server.commands().contains(u"DELE news.txt"_s));
        QVERIFY(!QFileInfo::exists(server.home() + u"news.txt"_s));
        QCOMPARE(Cursor(scene.db, tables::hirek, false).recordCount(), 0);
        QCOMPARE(scene.work.files(), QStringList());

        const Outcome next = runUpload(scene);
        QCOMPARE(next.problems, QStringList());
        QVERIFY(next.log.contains(u"Nincs új hír."_s));
    }

    // The server refuses to delete its copy: the next run fetches the same entries and more,
    // and stores only the new ones.
    void keptNewsStoredOnce()
    {
        FtpServerFixture server({u"--refuse-dele"_s});
        QVERIFY(server.isListening());
        QDir().mkpath(server.home() + u"Images"_s);
        const QByteArray inquiry = "t\r\nweb\r\n2\r\nKiss Anna\r\n6720\r\nSzeged\r\nF u. "
                                   "1.\r\nCs\r\n+36\r\na@b.hu\r\nH\r\nSzeged\r\nx\r\n1\r\n2\r\n";
        const QByteArray news = "a\r\nb\r\n1\r\nhello\r\n" + inquiry;
        server.putFile(u"news.txt"_s, news);
        UploadScene scene(server.address());
        const Outcome first = runUpload(scene);
        QCOMPARE(first.ending, UploadRun::Ending::Success);
        QVERIFY(first.log.contains(u"2 új hír érkezett."_s));
        QVERIFY(first.log.contains(u"1 új érdeklődés érkezett."_s));
        QVERIFY2(first.log.contains(u"A szerver megtartotta a(z) news.txt fájlt; a már rögzített "
                                    u"bejegyzéseit a következő feltöltés felismeri, és nem "
                                    u"rögzíti újra."_s),
                 qPrintable(first.log.join(u'\n')));

        server.putFile(u"news.txt"_s, news + "c\r\nd\r\n1\r\nujabb\r\n");
        const Outcome second = runUpload(scene);
        QCOMPARE(second.ending, UploadRun::Ending::Success);
        QVERIFY(second.log.contains(u"1 új hír érkezett."_s));
        QVERIFY(!second.log.contains(u"1 új érdeklődés érkezett."_s));
        QVERIFY(second.log.contains(
            u"2 korábban már rögzített bejegyzés nem került újra rögzítésre."_s));
        QCOMPARE(Cursor(scene.db, tables::hirek, false).recordCount(), 3);
        QCOMPARE(Cursor(scene.db, tables::erdeklodes, false).recordCount(), 1);
        QCOMPARE(server.commands().count(u"DELE news.txt"_s), 2);
        QVERIFY(QFileInfo::exists(server.home() + u"news.txt"_s));
    }

    // The working directory has no room for the messages: nothing is stored, nothing is deleted
    // on the server, and the log says why.
    void newsOnFullDisk()
    {
        QTemporaryDir mountPoint;
        QProcess mount;
        mount.start(u"mount"_s,
                    {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, mountPoint.path()});
        if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit ||
            mount.exitCode() != 0)
            QSKIP("Ehhez a teszthez egy kis tmpfs kell a 'mount' paranccsal (root jog), és itt "
                  "nem csatolható.");
        const auto unmount = qScopeGuard([&] {
            QProcess::execute(u"umount"_s, {u"-l"_s, mountPoint.path()});
        });

        FtpServerFixture server;
        QVERIFY(server.isListening());
        QDir().mkpath(server.home() + u"Images"_s);
        QByteArray news;
        while (news.size() < 200 * 1024)
            news += "2026.12.01 10:00\r\nPelmora\r\n1\r\n" + QByteArray(200, 'h') + "\r\n";
        server.putFile(u"news.txt"_s, news);
        UploadScene scene(server.address());
        QVERIFY(QDir::setCurrent(mountPoint.path()));
        const Outcome outcome = runUpload(scene);
        QVERIFY(QDir::setCurrent(scene.work.path()));

        QVERIFY2(std::any_of(outcome.log.cbegin(), outcome.log.cend(),
                             [](const QString &line) {
                                 return line.startsWith(
                                     u"news.txt letöltése sikertelen: a helyi fájl nem írható"_s);
                             }),
                 qPrintable(outcome.log.join(u'\n')));
        QVERIFY(!outcome.log.contains(u"0 új hír érkezett."_s));
        QVERIFY(!server.commands().contains(u"DELE news.txt"_s));
        QCOMPARE(server.fileBytes(u"news.txt"_s), news);
        QCOMPARE(Cursor(scene.db, tables::hirek, false).recordCount(), 0);
        QCOMPARE(QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Explicit TLS against a server with a self-made certificate: refused by the system's store,
    // trusted once on the user's word (its fingerprint shown), then used without asking. The
    // files arrive byte for byte, and the password never crosses the wire in clear.
    void ftpsTrustedOnce()
    {
        QTemporaryDir keys;
        const QString certificate = keys.filePath(u"server.pem"_s);
        const QString capture = keys.filePath(u"wire.bin"_s);
        FtpServerFixture server({u"--tls-cert"_s, certificate, u"--relay-capture"_s, capture});
        QVERIFY(server.isListening());
        QDir().mkpath(server.home() + u"Images"_s);
        server.putFile(u"news.txt"_s, "a\r\nb\r\n1\r\ntitkos h\xedr\r\n");
        UploadScene scene(server.relayAddress());
        FtpSecurity security;
        security.tls = true;
        security.write(scene.db);

        const QList<QSslCertificate> shown = QSslCertificate::fromPath(certificate);
        QCOMPARE(shown.size(), 1);
        const QString fingerprint =
            QString::fromLatin1(shown.first().digest(QCryptographicHash::Sha256).toHex(':'))
                .toUpper();

        // Declined: nothing is sent but the request for TLS.
        QStringList questions;
        bool answer = false;
        const auto run = [&] {
            UploadRun upload(scene.cursors);
            upload.setTimeoutSeconds(10);
            upload.setTrustQuestion([&](const QString &question) {
                questions << question;
                return answer;
            });
            Outcome outcome;
            connect(&upload, &UploadRun::logged,
                    [&](const QString &line) { outcome.log << line.section(u"  "_s, 1); });
            connect(&upload, &UploadRun::problem,
                    [&](const QString &text) { outcome.problems << text; });
            outcome.ending = upload.run();
            return outcome;
        };
        const Outcome declined = run();
        QCOMPARE(declined.ending, UploadRun::Ending::ConnectionFailed);
        QCOMPARE(declined.problems, QStringList {u"Hiba az FTP szerver csatlakozásánál!"_s});
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions.first().contains(fingerprint), qPrintable(questions.first()));
        QVERIFY(!server.commands().join(u'\n').contains(u"USER"_s));

        answer = true;
        questions.clear();
        const Outcome first = run();
        QVERIFY2(first.ending == UploadRun::Ending::Success, qPrintable(first.log.join(u'\n')));
        QCOMPARE(questions.size(), 1);
        QVERIFY(first.log.contains(u"Megbízható tanúsítvány, SHA-256: "_s + fingerprint));
        QVERIFY(first.log.contains(u"1 új hír érkezett."_s));
        QCOMPARE(FtpSecurity::read(scene.db).fingerprint, fingerprint);
        const QStringList commands = server.commands();
        QVERIFY2(commands.contains(u"PROT P"_s), qPrintable(commands.join(u'\n')));
        QCOMPARE(commands.count(u"USER itest01"_s), 1); // one session, its connection kept
        QVERIFY(!std::any_of(commands.cbegin(), commands.cend(),
                             [](const QString &c) { return c.startsWith(u"PORT"_s); }));
        for (const QString &photo : {u"1-1.jpg"_s, u"1-3.jpg"_s, u"2-1.jpg"_s})
            QCOMPARE(server.fileBytes(u"Images/"_s + photo), scene.photo(photo));
        QCOMPARE(Cursor(scene.db, tables::hirek, false).text(u"Uzenet"_s), u"titkos hír"_s);

        questions.clear();
        const Outcome second = run();
        QCOMPARE(second.ending, UploadRun::Ending::Success);
        QCOMPARE(questions, QStringList());

        QFile wire(capture);
        QVERIFY(wire.open(QIODevice::ReadOnly));
        const QByteArray sent = wire.readAll();
        QVERIFY2(sent.startsWith("AUTH TLS\r\n"), sent.left(40).constData());
        QVERIFY(!sent.contains(FtpServerFixture::password.toLatin1()));
        QVERIFY(!sent.contains("PASS"));
        QVERIFY(!sent.contains("USER"));
    }

    // A server whose certificate changed after it was trusted is asked about again; a plain
    // server does not pass for an encrypted one.
    void ftpsRefusals()
    {
        QTemporaryDir keys;
        FtpServerFixture server({u"--tls-cert"_s, keys.filePath(u"new.pem"_s)});
        QVERIFY(server.isListening());
        UploadScene scene(server.address());
        FtpSecurity security;
        security.tls = true;
        security.server = server.address();
        security.pinnedKey = u"sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA="_s;
        security.fingerprint = u"00:11"_s;
        security.write(scene.db);
        QStringList questions;
        {
            UploadRun upload(scene.cursors);
            upload.setTrustQuestion([&](const QString &question) {
                questions << question;
                return false;
            });
            QCOMPARE(upload.run(), UploadRun::Ending::ConnectionFailed);
        }
        QCOMPARE(questions.size(), 1);
        QVERIFY(questions.first().contains(u"nem az, amelyben megbízott"_s));
        QCOMPARE(FtpSecurity::read(scene.db).fingerprint, u"00:11"_s);

        FtpServerFixture plain;
        UploadScene plainScene(plain.address());
        security.write(plainScene.db);
        const Outcome outcome = runUpload(plainScene);
        QCOMPARE(outcome.ending, UploadRun::Ending::ConnectionFailed);
        QVERIFY(!plain.commands().join(u'\n').contains(u"PASS"_s));
    }

    void fileErrorEndsTheRun()
    {
        FtpServerFixture server;
        UploadScene scene(server.address());
        // The working directory is gone: the data file cannot be created.
        const QString gone = scene.work.path() + u"eltunt"_s;
        QVERIFY(QDir().mkpath(gone));
        QVERIFY(QDir::setCurrent(gone));
        QVERIFY(QDir(gone).removeRecursively());
        const Outcome outcome = runUpload(scene);
        QCOMPARE(outcome.ending, UploadRun::Ending::FileError);
        QCOMPARE(outcome.problems.size(), 1);
        QVERIFY2(outcome.problems.first().contains(u"ingatlan.data"_s),
                 qPrintable(outcome.problems.first()));
        QCOMPARE(outcome.log.last(), u"Hiba."_s);
        QVERIFY(scene.cursors.tEgyszeru.filtered());
        QCOMPARE(scene.marked(), QStringList());
        QVERIFY(server.commands().isEmpty());
        QCOMPARE(runEntries(scene),
                 QStringList {u"Feltöltés | Fájlhiba: "_s + outcome.problems.first()});
    }
};

QTEST_MAIN(TestUploadRun)
#include "test_uploadrun.moc"
