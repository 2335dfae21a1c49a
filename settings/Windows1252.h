// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Windows-1252, the single-byte code page of the device's original
// installations: the frame, the configuration files and the key codes of the
// text fields all speak it. Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which the
// code page leaves undefined, stand for the C1 controls of the same number,
// as Windows itself converts them.

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>

namespace kestrix {

// The byte of c, or nothing when the code page has no such character.
std::optional<std::uint8_t> ToWindows1252(QChar c);

// The character of a byte.
QChar FromWindows1252(std::uint8_t byte);

// The bytes of text, or nothing when any character has no byte.
std::optional<QByteArray> EncodeWindows1252(const QString &text);

QString DecodeWindows1252(QByteArrayView bytes);

} // namespace kestrix
