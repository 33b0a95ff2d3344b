#include "register/jpegcodec.h"
#include "store/storeerror.h"

#include <cstddef>
#include <cstdint>

// Photos are chosen from anywhere on disk: a damaged or hostile file is refused with a message,
// never decoded into a crash or an unbounded allocation.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString name = QStringLiteral("fuzz.jpg");
    try {
        jpeg::readHeader(bytes, name);
        const RgbImage image = jpeg::decode(bytes, name, QSize(300, 300));
        if (!image.isNull())
            jpeg::encode(image, 90);
    } catch (const StoreError &) { }
    return 0;
}
