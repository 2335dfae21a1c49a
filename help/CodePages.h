// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Windows code pages to Unicode, for the bytes of rich text: Windows-1252 by
// our own table, the others by the platform's converters, each made once.
// A code page that the platform cannot convert reads as Windows-1252.

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>

namespace kestrix {

class CodePages
{
public:
    QString decode(int codePage, QByteArrayView bytes);

private:
    std::map<int, QStringDecoder> m_decoders;
};

} // namespace kestrix
