#include "shell/main.h"
#include "shell/program.h"
#include "widgets/errorboundary.h"

#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

namespace {

// With PELMORA_EXIT_WHEN_SHOWN=1 the program ends as if closed once the main window has been
// painted for the first time: the start-up benchmark times a whole start with it, from the
// process start to the window the user would see. Nothing else changes.
class QuitWhenPainted : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After this paint and those of the children it brings.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Qt's own dialogs (files, printing, message boxes) speak Hungarian like the rest.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Hungarian, QLocale::Hungary), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    Program program;
    if (!program.start())
        return 0;
    QuitWhenPainted quitWhenPainted;
    if (qEnvironmentVariableIntValue("PELMORA_EXIT_WHEN_SHOWN") == 1)
        program.main()->installEventFilter(&quitWhenPainted);
    program.show();
    const int code = QApplication::exec();
    // A restore replaces the data once the register is closed; the program then starts again
    // from scratch, so that no window keeps anything of the data it replaced.
    if (program.shutDown())
        QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                QCoreApplication::arguments().mid(1));
    return code;
}
