// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Code pages to Unicode, for the bytes of rich text: Windows-1252 and the
// Symbol font by our own tables, UTF-8 by Qt, the others by the first
// converter that knows them: Qt's (ICU where Qt has it), then the C
// library's iconv, then for a few Macintosh code pages our own tables. A
// code page that nothing knows reads as Windows-1252. Each converter is
// made once.

#include <QByteArrayView>
#include <QString>

#include <map>
#include <memory>

namespace kestrix {

inline constexpr int kWindowsLatin1 = 1252;
inline constexpr int kUtf8CodePage = 65001;
inline constexpr int kMacRoman = 10000;
inline constexpr int kSymbolCodePage = 42; // as Windows numbers the Symbol font's

class CodePages
{
public:
    CodePages();
    ~CodePages();
    CodePages(const CodePages &) = delete;
    CodePages &operator=(const CodePages &) = delete;

    // The code page of a font's \fcharset, 0 where the charset leaves it to
    // the document (1, the default charset, and charsets nobody knows).
    static int ofCharset(int charset);

    QString decode(int codePage, QByteArrayView bytes);

private:
    class Converter;
    Converter &converterOf(int codePage);

    std::map<int, std::unique_ptr<Converter>> m_converters;
};

} // namespace kestrix
