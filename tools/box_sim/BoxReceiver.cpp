// SPDX-License-Identifier: GPL-3.0-or-later
#include "BoxReceiver.h"

namespace kestrix {

namespace {

constexpr int kBlockBytes = kBlockFrameBytes + 1;

double ms(Reception::Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

QString hexByte(int value)
{
    return QStringLiteral("0x%1").arg(value, 2, 16, QChar('0'));
}

} // namespace

std::vector<Reception> BoxReceiver::feed(QByteArrayView bytes, Clock::time_point at)
{
    std::vector<Reception> ended;
    // Bytes read late may have come up to the reader's lateness earlier,
    // before the line had been quiet long enough to end the transmission.
    const auto cameBy = at - std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double, std::milli>(m_latencyMs));
    if (auto cut = idle(cameBy))
        ended.push_back(std::move(*cut));
    for (const char byte : bytes)
        if (auto reception = take(byte, at))
            ended.push_back(std::move(*reception));
    if (!bytes.isEmpty())
        m_last = at;
    return ended;
}

std::optional<BoxReceiver::Clock::time_point> BoxReceiver::deadline() const
{
    switch (m_state) {
    case State::Waiting:
        return std::nullopt;
    case State::Skipping:
        return m_last + std::chrono::milliseconds(kQuietToResyncMs);
    case State::Between:
        return m_last + std::chrono::milliseconds(kQuietBetweenBlocksMs);
    default:
        return m_last + std::chrono::milliseconds(kQuietInBlockMs);
    }
}

std::optional<Reception> BoxReceiver::idle(Clock::time_point now)
{
    const auto due = deadline();
    if (!due || now <= *due)
        return std::nullopt;
    const int block = m_block + 1;
    switch (m_state) {
    case State::Skipping:
        restart(State::Waiting);
        return std::nullopt;
    case State::Header:
        return refuse(
            QStringLiteral("ERR HEADER"),
            QStringLiteral("header %1 stopped after %2 of 2 bytes").arg(block).arg(m_count),
            State::Waiting);
    case State::Block:
        return refuse(QStringLiteral("ERR SHORT BLOCK"),
                      QStringLiteral("block %1 stopped after %2 of %3 bytes")
                          .arg(block)
                          .arg(m_count)
                          .arg(kBlockBytes),
                      State::Waiting);
    default:
        return refuse(QStringLiteral("ERR SHORT BLOCK"),
                      QStringLiteral("block 2 never came: the line was quiet for %1 ms after "
                                     "block 1")
                          .arg(kQuietBetweenBlocksMs),
                      State::Waiting);
    }
}

void BoxReceiver::noteStart(Clock::time_point at)
{
    m_starts.push_back(at);
    if (m_starts.size() > 1)
        m_current.gapsMs.push_back(ms(at - m_starts[m_starts.size() - 2]));
}

std::optional<Reception> BoxReceiver::take(char byte, Clock::time_point at)
{
    const auto value = static_cast<std::uint8_t>(byte);
    switch (m_state) {
    case State::Skipping:
        return std::nullopt;
    case State::Waiting:
        if (value != m_header[0]) {
            ++m_current.strayBytes;
            return std::nullopt;
        }
        noteStart(at);
        m_state = State::Header;
        m_count = 1;
        return std::nullopt;
    case State::Between:
        if (value != m_header[0])
            return refuse(QStringLiteral("ERR HEADER"),
                          QStringLiteral("header 2 began with %1, not %2")
                              .arg(hexByte(value), hexByte(m_header[0])));
        noteStart(at);
        if (auto refused = refuseForTiming(1, kPauseAfterBlockMs, kBlockGapMarginMs,
                                           QStringLiteral("header 2 came %1 ms after block 1")))
            return refused;
        m_state = State::Header;
        m_count = 1;
        return std::nullopt;
    case State::Header:
        if (value != m_header[1])
            return refuse(QStringLiteral("ERR HEADER"),
                          QStringLiteral("header %1 byte 2 is %2, not %3")
                              .arg(m_block + 1)
                              .arg(hexByte(value), hexByte(m_header[1])));
        m_state = State::Block;
        m_count = 0;
        m_bytes.clear();
        return std::nullopt;
    case State::Block:
        if (m_count == 0) {
            noteStart(at);
            const int gap = static_cast<int>(m_current.gapsMs.size()) - 1;
            if (auto refused = refuseForTiming(
                    gap, kPauseAfterHeaderMs, kHeaderGapMarginMs,
                    QStringLiteral("block %1 came %2 ms after its header").arg(m_block + 1)))
                return refused;
        }
        m_bytes += byte;
        if (++m_count == kBlockBytes)
            return endBlock();
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Reception> BoxReceiver::endBlock()
{
    const QByteArray half = m_bytes.left(kBlockFrameBytes);
    const int expected = BlockChecksum(m_header, half);
    const int carried = static_cast<std::uint8_t>(m_bytes.back());
    if (expected != carried)
        return refuse(QStringLiteral("ERR CHECKSUM"),
                      QStringLiteral("block %1 carries checksum %2, its bytes sum to %3")
                          .arg(m_block + 1)
                          .arg(hexByte(carried), hexByte(expected)));
    std::copy(half.begin(), half.end(), m_current.frame.begin() + m_block * kBlockFrameBytes);
    if (m_block == 0) {
        m_block = 1;
        m_state = State::Between;
        return std::nullopt;
    }
    Reception done = std::move(m_current);
    done.accepted = true;
    done.lcd = QStringLiteral("OK!");
    done.readerLatencyMs = m_latencyMs;
    restart(State::Waiting);
    return done;
}

std::optional<Reception> BoxReceiver::refuseForTiming(int gap, double nominalMs, double marginMs,
                                                      const QString &what)
{
    const double measured = m_current.gapsMs[static_cast<std::size_t>(gap)];
    if (measured >= nominalMs - marginMs)
        return std::nullopt;
    if (measured + m_latencyMs >= nominalMs - marginMs) {
        m_current.uncertainGaps.push_back(gap);
        return std::nullopt;
    }
    return refuse(QStringLiteral("ERR TIMING"), QStringLiteral("%1; the box needs %2 ms")
                                                    .arg(what.arg(measured, 0, 'f', 1))
                                                    .arg(nominalMs));
}

Reception BoxReceiver::refuse(const QString &lcd, const QString &reason, State next)
{
    Reception done = std::move(m_current);
    done.accepted = false;
    done.lcd = lcd;
    done.reason = reason;
    done.readerLatencyMs = m_latencyMs;
    restart(next);
    return done;
}

void BoxReceiver::restart(State state)
{
    m_state = state;
    m_block = 0;
    m_count = 0;
    m_bytes.clear();
    m_starts.clear();
    m_current = Reception();
}

} // namespace kestrix
