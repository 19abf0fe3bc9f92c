#include "windows/JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

// Far beyond any picture of the program; refuses headers that would make us
// allocate gigabytes.
constexpr JDIMENSION maxSide = 16384;

// libjpeg's own error handler prints and calls exit(); this one jumps back to
// the decoder instead. Corrupt-data warnings count as errors too: libjpeg
// would otherwise fill the missing part with grey and carry on.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void failDecoding(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void judgeMessage(j_common_ptr info, int level)
{
    if (level < 0)
        failDecoding(info);
}

struct Decoder
{
    jpeg_decompress_struct info;
    ErrorManager error;
    QImage image;
};

// Everything that changes after setjmp lives in the decoder, not in local
// variables, so it keeps its value when libjpeg jumps back.
bool decodeInto(Decoder &decoder, const QByteArray &bytes)
{
    jpeg_decompress_struct &info = decoder.info;
    info.err = jpeg_std_error(&decoder.error.base);
    decoder.error.base.error_exit = failDecoding;
    decoder.error.base.emit_message = judgeMessage;
    if (setjmp(decoder.error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > maxSide || info.image_height > maxSide) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&info);
    decoder.image = QImage(int(info.output_width), int(info.output_height), QImage::Format_Grayscale8);
    if (decoder.image.isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = decoder.image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    Decoder decoder;
    if (!decodeInto(decoder, bytes))
        return {};
    return decoder.image;
}

QImage loadJpeg(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeJpeg(file.readAll());
}
