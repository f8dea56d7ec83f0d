// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/pngencoder.h"

#include "shell/core/stoperror.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <vector>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto *out = static_cast<QByteArray *>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char *>(data), qsizetype(length));
}

void noFlush(png_structp) { }

} // namespace

QByteArray encodePagePng(const QImage &source)
{
    const QImage page =
        source.format() == QImage::Format_RGB888 ? source : source.convertToFormat(QImage::Format_RGB888);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        throw StopError(u"The page picture cannot be encoded: out of memory."_s);
    }
    QByteArray out;
    out.reserve(page.width() * page.height() / 8);
    std::vector<png_bytep> rows(std::size_t(page.height()));
    for (int y = 0; y < page.height(); ++y)
        rows[std::size_t(y)] = const_cast<png_bytep>(page.constScanLine(y));
    // libpng reports errors by longjmp: nothing with a destructor is created below this point.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw StopError(u"The page picture cannot be encoded."_s);
    }
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, png_uint_32(page.width()), png_uint_32(page.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, png_uint_32(page.dotsPerMeterX()), png_uint_32(page.dotsPerMeterY()), PNG_RESOLUTION_METER);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    // Long runs of white: run-length matching finds them at a fraction of the cost of a full search.
    png_set_compression_strategy(png, Z_RLE);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace sw
