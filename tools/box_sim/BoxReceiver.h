#pragma once

// What the box makes of the bytes on its serial line. A transmission is two
// blocks, each a header of two 0xFE bytes, 64 bytes of the frame and their
// checksum, with at least 10 ms between a header and its block and 400 ms
// between the blocks. The receiver takes bytes with their arrival times and
// gives one Reception per transmission: the frame with "OK!", or the reason
// the box would refuse it.

#include "ConfigFrame.h"
#include "Transmission.h"

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
    int strayBytes = 0; // bytes before the first header, which the box skips
};

// Gaps measured at the receiving end may come out a little short of what the
// sender paused, by the reader's wake-up latency.
inline constexpr double kGapToleranceMs = 5;
// A line quiet this long inside a header or a block has cut it short.
inline constexpr int kQuietInBlockMs = 200;
// Block 2 must follow block 1 within this time.
inline constexpr int kQuietBetweenBlocksMs = 1500;

class BoxReceiver
{
public:
    using Clock = Reception::Clock;

    explicit BoxReceiver(BlockHeader header = {0xFE, 0xFE}) : m_header(header) {}

    // Takes bytes that arrived at `at`; returns the transmissions they ended.
    std::vector<Reception> feed(QByteArrayView bytes, Clock::time_point at);
    // The line was quiet until now: a transmission cut short ends here.
    std::optional<Reception> idle(Clock::time_point now);
    // When idle() must be called next; nothing while no transmission runs.
    std::optional<Clock::time_point> deadline() const;

private:
    enum class State
    {
        Waiting, // for the first header byte
        Header,  // inside a header
        Block,   // inside a block
        Between, // after block 1, for header 2
    };

    std::optional<Reception> take(char byte, Clock::time_point at);
    std::optional<Reception> endBlock();
    Reception refuse(const QString &lcd, const QString &reason);
    void noteStart(Clock::time_point at);

    BlockHeader m_header;
    State m_state = State::Waiting;
    int m_block = 0; // 0 or 1
    int m_count = 0; // bytes of the current header or block
    QByteArray m_bytes;
    Reception m_current;
    std::vector<Clock::time_point> m_starts; // first byte of each header and block
    Clock::time_point m_last{};
};

} // namespace kestrix
