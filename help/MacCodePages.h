// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Macintosh code pages that neither Qt's converters (ICU) nor the C
// library's iconv know on common systems, or know otherwise than Apple, by
// tables of our own, which go before any converter: Arabic
// (10004), Hebrew (10005), Romanian (10010), Thai (10021), Icelandic (10079;
// glibc's MAC-IS differs from Apple's in 12 places) and Croatian (10082).
// Their bytes below 0x80 are ASCII.

#include <QByteArrayView>
#include <QString>

#include <array>
#include <string_view>

namespace kestrix {

// The characters of bytes 0x80 to 0xFF; a few bytes stand for a letter and
// its point together.
using MacTable = std::array<std::u16string_view, 128>;

// The table of a code page; none for the code pages above.
const MacTable *MacTableOf(int codePage);

// A byte the code page leaves undefined gives U+FFFD.
QString DecodeMacTable(const MacTable &table, QByteArrayView bytes);

} // namespace kestrix
