#include "toolkit/jpeg.h"

#include "toolkit/apperror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

// Pictures beyond this would only be a way to exhaust memory.
constexpr unsigned long maxpixels = 64ul * 1024 * 1024;

struct errorguard
{
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void onerror(j_common_ptr cinfo)
{
    auto *guard = reinterpret_cast<errorguard *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, guard->message);
    std::longjmp(guard->escape, 1);
}

void onwarning(j_common_ptr) {}

// Plain C-style body: between setjmp and longjmp it owns nothing with a destructor.
// Returns false with guard->message set when libjpeg failed.
bool decode(const unsigned char *data, unsigned long size, QImage *out, errorguard *guard)
{
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&guard->base);
    guard->base.error_exit = onerror;
    guard->base.output_message = onwarning;
    if (setjmp(guard->escape)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<unsigned char *>(data), size);
    jpeg_read_header(&cinfo, TRUE);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    const bool gray = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    cinfo.out_color_space = cmyk ? JCS_CMYK : gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&cinfo);

    const unsigned long pixels = static_cast<unsigned long>(cinfo.output_width) * cinfo.output_height;
    if (pixels == 0 || pixels > maxpixels) {
        std::snprintf(guard->message, sizeof guard->message, "Image too large (%ux%u)", cinfo.output_width,
                      cinfo.output_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    *out = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                  gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (out->isNull()) {
        std::snprintf(guard->message, sizeof guard->message, "Insufficient memory");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    const int components = cinfo.output_components;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * components, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, row, 1);
        const JSAMPLE *in = row[0];
        uchar *line = out->scanLine(y);
        if (gray) {
            std::memcpy(line, in, cinfo.output_width);
            continue;
        }
        auto *pixel = reinterpret_cast<QRgb *>(line);
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x, in += components) {
            if (cmyk) {
                // Adobe writes CMYK inverted, which is what every file in practice holds.
                const int k = in[3];
                pixel[x] = qRgb(in[0] * k / 255, in[1] * k / 255, in[2] * k / 255);
            } else {
                pixel[x] = qRgb(in[0], in[1], in[2]);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

QImage decodejpeg(const QByteArray &bytes)
{
    QImage image;
    errorguard guard{};
    if (!decode(reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<unsigned long>(bytes.size()),
                &image, &guard))
        throw AppError(QString::fromLocal8Bit(guard.message));
    return image;
}

QImage loadjpegfile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("不能打开文件 %1").arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    return decodejpeg(file.readAll());
}
