// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodePages.h"

#include "Windows1252.h"

namespace kestrix {

namespace {

constexpr int kWindowsLatin1 = 1252;
constexpr int kMacRoman = 10000;

QByteArray converterName(int codePage)
{
    if (codePage == kMacRoman)
        return QByteArrayLiteral("macintosh");
    return "cp" + QByteArray::number(codePage);
}

} // namespace

QString CodePages::decode(int codePage, QByteArrayView bytes)
{
    if (codePage != kWindowsLatin1) {
        auto found = m_decoders.find(codePage);
        if (found == m_decoders.end())
            found = m_decoders
                        .emplace(codePage, QStringDecoder(converterName(codePage).constData(),
                                                          QStringDecoder::Flag::Stateless))
                        .first;
        if (found->second.isValid())
            return found->second.decode(bytes);
    }
    return DecodeWindows1252(bytes);
}

} // namespace kestrix
