#include "register/jpegcodec.h"

#include "store/storeerror.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

namespace jpeg {
namespace {

// No camera an agency uses takes more; a header claiming more is a damaged or hostile file,
// and refusing it before decoding keeps a few hundred bytes from taking gigabytes.
constexpr std::uint64_t maxPixels = std::uint64_t(maxMegapixels) * 1'000'000;
// libjpeg's own working memory (a progressive picture keeps every coefficient of the whole
// picture, whatever the output scale); past this it stops with an error instead of growing.
constexpr long memoryBudget = 1024L * 1024 * 1024;

enum Failure { NoFailure, Broken, Damaged, Truncated };

// libjpeg reports errors through a callback that must not return; it jumps back to the
// caller's setjmp. Only plain C data lives between the jump and its target.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void errorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, Broken);
}

void emitMessage(j_common_ptr info, int level)
{
    // Level -1 is libjpeg's corrupt-data warning: it would go on and fill the damaged part with
    // grey, and that grey band would be stored and uploaded. Trace messages (level >= 0) are
    // only chatter.
    if (level >= 0)
        return;
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    std::longjmp(errors->jump, errors->pub.msg_code == JWRN_JPEG_EOF ? Truncated : Damaged);
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

QString tooLarge(const QString &fileName)
{
    return QStringLiteral("A(z) \"%1\" kép túl nagy, nem lehet beolvasni (legfeljebb %2 "
                          "megapixeles kép tölthető be).")
        .arg(fileName)
        .arg(maxMegapixels);
}

QString failureMessage(int failure, int code, const QString &fileName)
{
    if (failure == Truncated)
        return QStringLiteral(
                   "A(z) \"%1\" JPEG kép hiányos (a fájl vége hiányzik), nem lehet beolvasni.")
            .arg(fileName);
    if (failure == Damaged)
        return QStringLiteral("A(z) \"%1\" JPEG kép sérült, nem lehet beolvasni.").arg(fileName);
    if (code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY)
        return tooLarge(fileName);
    return notAJpeg(fileName);
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

// Runs below the caller's setjmp: a failure here jumps straight back to it. Returns false when
// the header claims a picture too large to decode.
bool startReading(jpeg_decompress_struct &info, const QByteArray &data)
{
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = memoryBudget;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    return std::uint64_t(info.image_width) * info.image_height <= maxPixels;
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

bool isCmyk(const jpeg_decompress_struct &info)
{
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

// Reads `rows` output rows, of which the first `width` pixels are kept. Below the setjmp: a
// failure jumps straight out, so the line buffer comes from libjpeg's own pool, which
// jpeg_destroy_decompress frees, and not from anything with a destructor.
void readRows(jpeg_decompress_struct &info, RgbImage &image, int width, int rows)
{
    const bool cmyk = isCmyk(info);
    const auto stride = JDIMENSION(info.output_width * (cmyk ? 4 : 3));
    JSAMPARRAY lines =
        (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, stride, 1);
    std::uint8_t *line = lines[0];
    image.width = width;
    image.height = rows;
    image.pixels.resize(std::size_t(width) * rows * 3);
    while (int(info.output_scanline) < rows) {
        const int y = int(info.output_scanline);
        jpeg_read_scanlines(&info, lines, 1);
        if (cmyk)
            cmykToRgb(line, image.row(y), width, info.saw_Adobe_marker);
        else
            std::copy_n(line, std::size_t(width) * 3, image.row(y));
    }
}

// Runs `read` on a fresh decompressor whose header has been read and checked against the size
// limit, turning every libjpeg failure into a StoreError naming the file.
template<typename Result, typename Read>
Result withDecompressor(const QByteArray &data, const QString &fileName, Read read)
{
    Result result;
    bool fits = true;
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = installErrors(errors);
    if (const int failure = setjmp(errors.jump)) {
        const int code = errors.pub.msg_code;
        jpeg_destroy_decompress(&info);
        throw StoreError(failureMessage(failure, code, fileName));
    }
    fits = startReading(info, data);
    if (fits) {
        info.out_color_space = isCmyk(info) ? JCS_CMYK : JCS_RGB;
        read(info, result);
    }
    jpeg_destroy_decompress(&info);
    if (!fits)
        throw StoreError(tooLarge(fileName));
    return result;
}

} // namespace

JpegHeader readHeader(const QByteArray &data, const QString &fileName)
{
    return withDecompressor<JpegHeader>(
        data, fileName, [](const jpeg_decompress_struct &info, JpegHeader &header) {
            header.size = QSize(int(info.image_width), int(info.image_height));
            header.progressive = info.progressive_mode;
            header.components = info.num_components;
        });
}

RgbImage decode(const QByteArray &data, const QString &fileName, QSize atLeast)
{
    return withDecompressor<RgbImage>(
        data, fileName, [atLeast](jpeg_decompress_struct &info, RgbImage &image) {
            chooseScale(info, atLeast);
            jpeg_start_decompress(&info);
            readRows(info, image, int(info.output_width), int(info.output_height));
            jpeg_finish_decompress(&info);
        });
}

RgbImage decodeTopLeft(const QByteArray &data, const QString &fileName, QSize region)
{
    return withDecompressor<RgbImage>(
        data, fileName, [region](jpeg_decompress_struct &info, RgbImage &image) {
            jpeg_start_decompress(&info);
            const int width = std::min(int(info.output_width), region.width());
            const int rows = std::min(int(info.output_height), region.height());
            // Cropping may widen the columns to whole blocks; only `width` of them are kept.
            JDIMENSION x = 0;
            JDIMENSION cropWidth = JDIMENSION(width);
            jpeg_crop_scanline(&info, &x, &cropWidth);
            readRows(info, image, width, rows);
            // The rest of the picture is never decoded.
            jpeg_abort_decompress(&info);
        });
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
    return QImage(image.pixels.data(), image.width, image.height, qsizetype(image.width) * 3,
                  QImage::Format_RGB888)
        .copy();
}

} // namespace jpeg
