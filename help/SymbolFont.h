// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Symbol font's characters as Unicode. Documents write Greek letters,
// arrows and mathematical signs as Latin bytes in this font (or as its
// private-use characters U+F020 to U+F0FF); without the font they would
// read as the Latin letters.

#include <QByteArrayView>
#include <QChar>
#include <QString>

#include <cstdint>

namespace kestrix {

QChar FromSymbolFont(std::uint8_t byte);
QString DecodeSymbolFont(QByteArrayView bytes);

} // namespace kestrix
