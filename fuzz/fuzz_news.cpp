#include "publish/newsfile.h"
#include "store/database.h"
#include "store/storeerror.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>

// The portal's message file arrives from the network: whatever it holds is stored whole or not
// at all, and never takes the program down.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    static std::unique_ptr<Database> db = std::make_unique<Database>(dir.path());
    const QString path = dir.filePath(QStringLiteral("news.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    try {
        ProcessNewsFile(*db, path, [](const QString &) {});
    } catch (const StoreError &) { }
    QFile::remove(path);
    return 0;
}
