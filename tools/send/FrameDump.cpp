// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameDump.h"

#include "FrameDecoder.h"

namespace kestrix {

namespace {

constexpr int kBytesColumn = 32; // "To ALL de " and its zero: 11 bytes

QString line(int wire, const QString &frameOffset, const QByteArray &bytes, const QString &meaning)
{
    return QStringLiteral("%1  %2  %3 | %4")
        .arg(wire, 4)
        .arg(frameOffset, 5)
        .arg(QString::fromLatin1(bytes.toHex(' ')).leftJustified(kBytesColumn), meaning);
}

} // namespace

QStringList FrameDump(const ConfigFrame &frame, const BlockHeader &header)
{
    const QByteArray headerBytes(reinterpret_cast<const char *>(header.data()), 2);
    const std::vector<FrameField> fields = DescribeFrameFields(frame);
    QStringList lines{QStringLiteral("wire  frame  %1 | meaning")
                          .arg(QStringLiteral("bytes").leftJustified(kBytesColumn))};
    int wire = 0;
    for (int half = 0; half < 2; ++half) {
        lines << line(wire, QStringLiteral("-"), headerBytes,
                      QStringLiteral("header of block %1").arg(half + 1));
        wire += 2;
        const int first = half * kBlockFrameBytes;
        for (const FrameField &field : fields) {
            if (field.offset < first || field.offset >= first + kBlockFrameBytes)
                continue;
            const QByteArray bytes(reinterpret_cast<const char *>(frame.data()) + field.offset,
                                   field.length);
            lines << line(wire, QString::number(field.offset), bytes, field.description);
            wire += field.length;
        }
        const QByteArray block = Block(frame, half, header);
        lines << line(wire, QStringLiteral("-"), block.right(1),
                      QStringLiteral("checksum of block %1").arg(half + 1));
        wire += 1;
    }
    return lines;
}

} // namespace kestrix
