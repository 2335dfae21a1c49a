// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the box makes of the bytes on its serial line. A transmission is two
// blocks, each a header of two 0xFE bytes, 64 bytes of the frame and their
// checksum, with at least 10 ms between a header and its block and 400 ms
// between the blocks. The receiver takes bytes with their arrival times and
// gives one Reception per transmission: the frame with "OK!", or the reason
// the box would refuse it.

#include "ConfigFrame.h"
#include "FrameBlocks.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <chrono>
#include <optional>
#include <vector>

namespace kestrix {

struct Reception
{
    using Clock = std::chrono::steady_clock;

    bool accepted = false;
    QString lcd;    // what the box's LCD shows: "OK!" or an error
    QString reason; // why it was refused, in words
    ConfigFrame frame{};
    // Header 1 to block 1, block 1 to header 2, header 2 to block 2, between
    // the first bytes of each, as far as the transmission got.
    std::vector<double> gapsMs;
    // Gaps that came out short, yet within what the reader's lateness may
    // have taken off them: reported, not refused.
    std::vector<int> uncertainGaps;
    double readerLatencyMs = 0; // the lateness allowed for when judging
    int strayBytes = 0;         // bytes before the first header, which the box skips
};

// Gaps are measured between the reads that brought the first bytes, so a
// reader that wakes late sees them short by up to its lateness. A pause
// counts as missing only where even that cannot explain the gap, with a
// margin below the nominal pause. After a header the margin is 3 ms: on a
// real 4800-baud line the header itself takes 4.2 ms, so a block sent with
// no pause at all starts 4.2 ms after its header, and one sent after the
// 10 ms pause 10 ms after it; 7 ms lies between.
inline constexpr double kHeaderGapMarginMs = 3;
inline constexpr double kBlockGapMarginMs = 5;
// A line quiet this long inside a header or a block has cut it short.
inline constexpr int kQuietInBlockMs = 200;
// Block 2 must follow block 1 within this time.
inline constexpr int kQuietBetweenBlocksMs = 1500;
// After a refusal the rest of that transmission is passed over until the
// line has been quiet this long, longer than any pause inside one.
inline constexpr int kQuietToResyncMs = 600;

class BoxReceiver
{
public:
    using Clock = Reception::Clock;

    explicit BoxReceiver(BlockHeader header = kBlockHeader) : m_header(header) {}

    // Takes bytes that arrived at `at`; returns the transmissions they ended.
    std::vector<Reception> feed(QByteArrayView bytes, Clock::time_point at);
    // The line was quiet until now: a transmission cut short ends here.
    std::optional<Reception> idle(Clock::time_point now);
    // When idle() must be called next; nothing while no transmission runs.
    std::optional<Clock::time_point> deadline() const;
    // How late, at most, the reader has lately taken bytes after they came:
    // pauses that short of the nominal ones, and quiet lines that short of
    // the limits, are given the benefit of the doubt.
    void setReaderLatency(double milliseconds) { m_latencyMs = milliseconds; }

private:
    enum class State
    {
        Waiting,  // for the first header byte
        Header,   // inside a header
        Block,    // inside a block
        Between,  // after block 1, for header 2
        Skipping, // the rest of a refused transmission
    };

    std::optional<Reception> take(char byte, Clock::time_point at);
    std::optional<Reception> endBlock();
    // Ends the transmission refused; in mid-stream the rest of it is skipped.
    Reception refuse(const QString &lcd, const QString &reason, State next = State::Skipping);
    std::optional<Reception> refuseForTiming(int gap, double nominalMs, double marginMs,
                                             const QString &what);
    void noteStart(Clock::time_point at);
    void restart(State state);

    BlockHeader m_header;
    State m_state = State::Waiting;
    int m_block = 0; // 0 or 1
    int m_count = 0; // bytes of the current header or block
    QByteArray m_bytes;
    Reception m_current;
    std::vector<Clock::time_point> m_starts; // first byte of each header and block
    Clock::time_point m_last{};
    double m_latencyMs = 0;
};

} // namespace kestrix
