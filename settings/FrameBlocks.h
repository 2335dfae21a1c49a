// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The frame as the link carries it: two 64-byte halves, each sent behind a
// two-byte header and followed by its checksum.

#include "ConfigFrame.h"

#include <QByteArray>

#include <array>
#include <cstdint>

namespace kestrix {

using BlockHeader = std::array<std::uint8_t, 2>;
// The header the device waits for before each block.
inline constexpr BlockHeader kBlockHeader{0xFE, 0xFE};
inline constexpr int kBlockFrameBytes = kFrameSize / 2;

// The pauses a sender keeps, in milliseconds, after: the dialog appears, header 1, block 1,
// header 2, block 2, and the port is closed.
inline constexpr int kPauseBeforeFirstHeaderMs = 400;
inline constexpr int kPauseAfterHeaderMs = 10;
inline constexpr int kPauseAfterBlockMs = 400;
inline constexpr int kPauseAfterCloseMs = 400;

// The sum of the header and the block's bytes, modulo 256.
std::uint8_t BlockChecksum(const BlockHeader &header, const QByteArray &frameHalf);

// Half 0 or 1 of the frame followed by its checksum: 65 bytes.
QByteArray Block(const ConfigFrame &frame, int half, const BlockHeader &header);

} // namespace kestrix
