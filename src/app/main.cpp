#include "shell/program.h"
#include "widgets/errorboundary.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QStyleFactory>
#include <QTranslator>

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
    program.show();
    const int code = QApplication::exec();
    // A restore replaces the data once the register is closed; the program then starts again
    // from scratch, so that no window keeps anything of the data it replaced.
    if (program.shutDown())
        QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                QCoreApplication::arguments().mid(1));
    return code;
}
