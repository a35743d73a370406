#pragma once
// JPEG decoding with libjpeg, from memory, into a QImage.
// Corrupt, truncated or empty data raises EInvalidGraphic; the decoder
// never writes to stderr and never ends the process.
#include <QByteArray>
#include <QImage>
#include <QString>

#include "core/errors.h"

class EInvalidGraphic : public Exception
{
public:
    using Exception::Exception;
    const char *ClassName() const noexcept override { return "EInvalidGraphic"; }
};

// Largest width or height a picture may have, in pixels.
constexpr int kMaxJpegDimension = 8192;

// Decodes a JPEG picture held in memory. The result is Format_RGB32.
// Raises EInvalidGraphic: "Picture data is empty" for no data,
// "JPEG error #N: <libjpeg message>" for data libjpeg refuses or warns
// about (a warning such as a premature end of data counts as an error),
// and "Picture too large: W x H" beyond kMaxJpegDimension.
QImage decodeJpeg(const QByteArray &data);
QImage decodeJpeg(const unsigned char *data, size_t size);

// Reads a file or a Qt resource (":/Img1.jpg") and decodes it.
// Raises EInvalidGraphic also when the file cannot be read:
// "Cannot read picture <path>".
QImage loadJpeg(const QString &path);
