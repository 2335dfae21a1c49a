// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameBlocks.h"

namespace kestrix {

std::uint8_t BlockChecksum(const BlockHeader &header, const QByteArray &frameHalf)
{
    unsigned sum = header[0] + header[1];
    for (const char byte : frameHalf)
        sum += static_cast<std::uint8_t>(byte);
    return static_cast<std::uint8_t>(sum % 256);
}

QByteArray Block(const ConfigFrame &frame, int half, const BlockHeader &header)
{
    const auto *first = reinterpret_cast<const char *>(frame.data()) + half * kBlockFrameBytes;
    QByteArray block(first, kBlockFrameBytes);
    block.append(static_cast<char>(BlockChecksum(header, block)));
    return block;
}

} // namespace kestrix
