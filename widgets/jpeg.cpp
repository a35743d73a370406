#include "widgets/jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {

// Everything the decoder shares with libjpeg's callbacks. It lives in
// the caller's frame, so it stays valid across the longjmp.
struct DecodeContext {
    jpeg_error_mgr pub; // must be first: libjpeg sees only this
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX + 64];
    unsigned char *pixels; // malloc'd RGB rows, owned until handed over
    int width;
    int height;
    size_t stride;
    bool tooLarge;
};

void fail(j_common_ptr cinfo)
{
    DecodeContext *ctx = reinterpret_cast<DecodeContext *>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    text[0] = '\0';
    (*cinfo->err->format_message)(cinfo, text);
    std::snprintf(ctx->message, sizeof ctx->message, "JPEG error #%d: %s", cinfo->err->msg_code, text);
    std::longjmp(ctx->jump, 1);
}

// Fatal errors: leave the decoder instead of ending the process.
void onErrorExit(j_common_ptr cinfo) { fail(cinfo); }

// Warnings (level -1) mean the data is corrupt or cut short; they end
// the decoding like errors. Trace messages (level >= 0) are ignored.
void onEmitMessage(j_common_ptr cinfo, int msg_level)
{
    if (msg_level < 0)
        fail(cinfo);
}

// libjpeg would print to stderr; the decoder stays silent.
void onOutputMessage(j_common_ptr) {}

// Converts one row of CMYK as stored by Adobe (inverted) or plain to RGB.
void cmykRowToRgb(const unsigned char *in, unsigned char *out, int width, bool inverted)
{
    for (int x = 0; x < width; ++x) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = static_cast<unsigned char>(c * k / 255);
        out[1] = static_cast<unsigned char>(m * k / 255);
        out[2] = static_cast<unsigned char>(y * k / 255);
        in += 4;
        out += 3;
    }
}

// The decoding proper. No object with a destructor lives in this frame,
// so the longjmp from the callbacks skips nothing that needs cleaning.
// Returns true on success with ctx->pixels filled in.
bool decodeRaw(const unsigned char *data, size_t size, DecodeContext *ctx, jpeg_decompress_struct *cinfo,
               unsigned char **cmykRow)
{
    cinfo->err = jpeg_std_error(&ctx->pub);
    ctx->pub.error_exit = onErrorExit;
    ctx->pub.emit_message = onEmitMessage;
    ctx->pub.output_message = onOutputMessage;

    if (setjmp(ctx->jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }

    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);

    if (cinfo->image_width > static_cast<JDIMENSION>(kMaxJpegDimension)
        || cinfo->image_height > static_cast<JDIMENSION>(kMaxJpegDimension)) {
        ctx->tooLarge = true;
        ctx->width = static_cast<int>(cinfo->image_width);
        ctx->height = static_cast<int>(cinfo->image_height);
        jpeg_destroy_decompress(cinfo);
        return false;
    }

    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(cinfo);

    ctx->width = static_cast<int>(cinfo->output_width);
    ctx->height = static_cast<int>(cinfo->output_height);
    // Rows are padded to 4 bytes as QImage expects.
    ctx->stride = (static_cast<size_t>(ctx->width) * 3 + 3) & ~static_cast<size_t>(3);
    ctx->pixels = static_cast<unsigned char *>(std::calloc(ctx->stride * static_cast<size_t>(ctx->height), 1));
    if (!ctx->pixels) {
        std::snprintf(ctx->message, sizeof ctx->message, "Not enough memory for a picture of %d x %d", ctx->width,
                      ctx->height);
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    if (cmyk) {
        *cmykRow = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(ctx->width) * 4));
        if (!*cmykRow) {
            std::snprintf(ctx->message, sizeof ctx->message, "Not enough memory for a picture of %d x %d", ctx->width,
                          ctx->height);
            jpeg_destroy_decompress(cinfo);
            return false;
        }
    }

    while (cinfo->output_scanline < cinfo->output_height) {
        unsigned char *dest = ctx->pixels + ctx->stride * cinfo->output_scanline;
        JSAMPROW row = cmyk ? *cmykRow : dest;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            // The source never suspends; no row means the data ran out.
            std::snprintf(ctx->message, sizeof ctx->message, "JPEG error: no data for row %u", cinfo->output_scanline);
            jpeg_destroy_decompress(cinfo);
            return false;
        }
        if (cmyk)
            cmykRowToRgb(*cmykRow, dest, ctx->width, cinfo->saw_Adobe_marker);
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return true;
}

void freePixels(void *pixels) { std::free(pixels); }

} // namespace

QImage decodeJpeg(const unsigned char *data, size_t size)
{
    if (!data || size == 0)
        throw EInvalidGraphic("Picture data is empty");

    DecodeContext ctx;
    std::memset(&ctx, 0, sizeof ctx);
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    unsigned char *cmykRow = nullptr;

    const bool ok = decodeRaw(data, size, &ctx, &cinfo, &cmykRow);
    std::free(cmykRow);
    if (!ok) {
        std::free(ctx.pixels);
        if (ctx.tooLarge)
            throw EInvalidGraphic("Picture too large: " + std::to_string(ctx.width) + " x "
                                  + std::to_string(ctx.height));
        throw EInvalidGraphic(ctx.message[0] ? ctx.message : "JPEG error");
    }

    // The QImage takes over the buffer; the conversion copies it into
    // the painting format and releases the original.
    QImage rgb(ctx.pixels, ctx.width, ctx.height, static_cast<qsizetype>(ctx.stride), QImage::Format_RGB888, freePixels,
               ctx.pixels);
    if (rgb.isNull()) {
        std::free(ctx.pixels);
        throw EInvalidGraphic("Not enough memory for a picture of " + std::to_string(ctx.width) + " x "
                              + std::to_string(ctx.height));
    }
    QImage result = rgb.convertToFormat(QImage::Format_RGB32);
    if (result.isNull())
        throw EInvalidGraphic("Not enough memory for a picture of " + std::to_string(ctx.width) + " x "
                              + std::to_string(ctx.height));
    return result;
}

QImage decodeJpeg(const QByteArray &data)
{
    return decodeJpeg(reinterpret_cast<const unsigned char *>(data.constData()), static_cast<size_t>(data.size()));
}

QImage loadJpeg(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInvalidGraphic("Cannot read picture " + path.toStdString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EInvalidGraphic("Cannot read picture " + path.toStdString());
    return decodeJpeg(data);
}
