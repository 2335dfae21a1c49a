// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The C library's character converter (iconv), where the platform has one.
// It knows code pages that Qt's converters lack, the Macintosh ones among
// them. Where there is no iconv the decoder is simply never valid.

#include <QByteArrayView>
#include <QString>

namespace kestrix {

class IconvDecoder
{
public:
    explicit IconvDecoder(const char *encoding);
    ~IconvDecoder();
    IconvDecoder(const IconvDecoder &) = delete;
    IconvDecoder &operator=(const IconvDecoder &) = delete;

    bool isValid() const { return m_handle != nullptr; }
    // Bytes that do not convert come out as U+FFFD, one for each byte.
    QString decode(QByteArrayView bytes);

private:
    void *m_handle = nullptr;
};

} // namespace kestrix
