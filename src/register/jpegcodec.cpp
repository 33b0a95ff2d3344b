#include "jpegcodec.h"

#include "storeerror.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

namespace jpeg {
namespace {

// Nothing the program shows is larger; beyond this a damaged header is the likelier story.
constexpr std::uint64_t maxPixels = 200'000'000;

// libjpeg reports errors through a callback that must not return; it jumps back to the
// caller's setjmp. Only plain C data lives between the jump and its target.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool truncated = false;
};

void errorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void emitMessage(j_common_ptr info, int level)
{
    // Warnings about odd but harmless data stay quiet; a file that ends early would be
    // stored with a grey band, so that one counts as damage.
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    if (level < 0 && errors->pub.msg_code == JWRN_JPEG_EOF)
        errors->truncated = true;
}

jpeg_error_mgr *installErrors(ErrorManager &errors)
{
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.emit_message = emitMessage;
    return &errors.pub;
}

QString notAJpeg(const QString &fileName)
{
    return QStringLiteral("A(z) \"%1\" fájl nem érvényes JPEG kép, nem lehet beolvasni.")
        .arg(fileName);
}

// CMYK pictures (from print work) have no direct RGB output in libjpeg; Adobe writes the
// channels inverted.
void cmykToRgb(const std::uint8_t *cmyk, std::uint8_t *rgb, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const int v = inverted ? cmyk[c] : 255 - cmyk[c];
            rgb[c] = static_cast<std::uint8_t>((v * k + 127) / 255);
        }
    }
}

// Runs below the caller's setjmp: a failure here jumps straight back to it.
void startReading(jpeg_decompress_struct &info, const QByteArray &data)
{
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
}

void chooseScale(jpeg_decompress_struct &info, QSize atLeast)
{
    if (atLeast.isEmpty())
        return;
    info.scale_denom = 8;
    for (unsigned int num = 1; num <= 8; ++num) {
        info.scale_num = num;
        jpeg_calc_output_dimensions(&info);
        if (int(info.output_width) >= atLeast.width() &&
            int(info.output_height) >= atLeast.height())
            return;
    }
}

} // namespace

JpegHeader readHeader(const QByteArray &data, const QString &fileName)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = installErrors(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw StoreError(notAJpeg(fileName));
    }
    startReading(info, data);
    JpegHeader header;
    header.size = QSize(int(info.image_width), int(info.image_height));
    header.progressive = info.progressive_mode;
    header.components = info.num_components;
    jpeg_destroy_decompress(&info);
    return header;
}

RgbImage decode(const QByteArray &data, const QString &fileName, QSize atLeast)
{
    RgbImage image;
    std::vector<std::uint8_t> cmykRow;
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = installErrors(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw StoreError(notAJpeg(fileName));
    }
    startReading(info, data);

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    chooseScale(info, atLeast);
    jpeg_calc_output_dimensions(&info);
    if (std::uint64_t(info.output_width) * info.output_height > maxPixels) {
        jpeg_destroy_decompress(&info);
        throw StoreError(
            QStringLiteral("A(z) \"%1\" kép túl nagy, nem lehet beolvasni.").arg(fileName));
    }
    jpeg_start_decompress(&info);
    image.width = int(info.output_width);
    image.height = int(info.output_height);
    image.pixels.resize(std::size_t(image.width) * image.height * 3);
    if (cmyk)
        cmykRow.resize(std::size_t(image.width) * 4);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW row = cmyk ? cmykRow.data() : image.row(y);
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk)
            cmykToRgb(cmykRow.data(), image.row(y), image.width, info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (errors.truncated)
        throw StoreError(
            QStringLiteral(
                "A(z) \"%1\" JPEG kép hiányos (a fájl vége hiányzik), nem lehet beolvasni.")
                .arg(fileName));
    return image;
}

QByteArray encode(const RgbImage &image, int quality, bool progressive)
{
    jpeg_compress_struct info;
    ErrorManager errors;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    info.err = installErrors(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw StoreError(QStringLiteral("A kép nem kódolható JPEG formátumba."));
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.row(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray result(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return result;
}

QImage toQImage(const RgbImage &image)
{
    if (image.isNull())
        return {};
    return QImage(image.pixels.data(), image.width, image.height, image.width * 3,
                  QImage::Format_RGB888)
        .copy();
}

} // namespace jpeg
