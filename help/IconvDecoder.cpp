// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconvDecoder.h"

#if __has_include(<iconv.h>) && !defined(_WIN32)
#define KESTRIX_HAVE_ICONV 1
#include <iconv.h>

#include <QtGlobal>

#include <cerrno>
#include <cstring>
#endif

namespace kestrix {

#ifdef KESTRIX_HAVE_ICONV

IconvDecoder::IconvDecoder(const char *encoding)
{
    const iconv_t handle =
        iconv_open(Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE", encoding);
    if (handle != reinterpret_cast<iconv_t>(-1))
        m_handle = handle;
}

IconvDecoder::~IconvDecoder()
{
    if (m_handle)
        iconv_close(static_cast<iconv_t>(m_handle));
}

QString IconvDecoder::decode(QByteArrayView bytes)
{
    const auto handle = static_cast<iconv_t>(m_handle);
    iconv(handle, nullptr, nullptr, nullptr, nullptr); // a fresh start: no shift state
    QString out;
    // No code page gives more than two UTF-16 units for one byte.
    QByteArray buffer(bytes.size() * 4 + 8, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char *outStart = buffer.data();
    char *outPtr = outStart;
    size_t outLeft = static_cast<size_t>(buffer.size());
    while (inLeft > 0) {
        if (iconv(handle, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen with the buffer's size; stop rather than loop
        // An invalid or incomplete sequence: one replacement for its first byte.
        const char16_t replacement = 0xFFFD;
        if (outLeft < sizeof replacement)
            break;
        std::memcpy(outPtr, &replacement, sizeof replacement);
        outPtr += sizeof replacement;
        outLeft -= sizeof replacement;
        ++in;
        --inLeft;
        iconv(handle, nullptr, nullptr, nullptr, nullptr);
    }
    return QString(reinterpret_cast<const QChar *>(outStart),
                   static_cast<qsizetype>((outPtr - outStart) / 2));
}

#else

IconvDecoder::IconvDecoder(const char *)
{
}
IconvDecoder::~IconvDecoder() = default;
QString IconvDecoder::decode(QByteArrayView)
{
    return {};
}

#endif

} // namespace kestrix
