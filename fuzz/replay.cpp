#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// Runs a fuzz target over its kept corpus without the fuzzing engine, so every input that once
// found a fault stays a regression case of the normal suite, built by the normal compiler.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int inputs = 0;
    for (const QString &argument : app.arguments().mid(1)) {
        QStringList files;
        if (QFileInfo(argument).isDir()) {
            QDirIterator it(argument, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
            files.sort();
        } else {
            files << argument;
        }
        for (const QString &name : files) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
                return 2;
            }
            const QByteArray bytes = file.readAll();
            std::printf("%s (%lld bytes)\n", qPrintable(QFileInfo(name).fileName()),
                        static_cast<long long>(bytes.size()));
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
            ++inputs;
        }
    }
    if (inputs == 0) {
        std::fprintf(stderr, "no corpus input found\n");
        return 2;
    }
    std::printf("%d inputs replayed\n", inputs);
    return 0;
}
