// SPDX-License-Identifier: GPL-3.0-or-later
// The box's reading of its line: write sequences with their timing, and the
// verdict on each.

#include "BoxReceiver.h"
#include "LatenessMeter.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace kestrix;
using namespace std::chrono_literals;

namespace {

ConfigFrame sampleFrame()
{
    ConfigFrame frame{};
    for (int i = 0; i < kFrameSize; ++i)
        frame[i] = static_cast<std::uint8_t>(i * 7);
    return frame;
}

// The writes, a word each: H the header, H1 its first byte alone, Hx with a
// wrong second byte; B1 and B2 the blocks, B1+N with byte N changed, B1-N
// short by N bytes; N four bytes of noise. A number is the pause in ms
// before the next write; a write ending in "." goes a byte at a time, 1 ms
// apart. The line is quiet afterwards.
std::vector<Reception> play(BoxReceiver &receiver, const QString &writes)
{
    auto at = BoxReceiver::Clock::now();
    std::vector<Reception> got;
    const auto feed = [&](QByteArrayView bytes) {
        for (Reception &r : receiver.feed(bytes, at))
            got.push_back(std::move(r));
    };
    for (const QString &word : writes.split(' ')) {
        bool isPause = false;
        if (const int pause = word.toInt(&isPause); isPause) {
            at += std::chrono::milliseconds(pause);
            continue;
        }
        QByteArray bytes =
            word[0] == 'N' ? QByteArray("\x00\x13zz", 4)
            : word[0] == 'H'
                ? QByteArray(word == "Hx" ? "\xFE\x01" : "\xFE\xFE").left(word == "H1" ? 1 : 2)
                : Block(sampleFrame(), word[1].digitValue() - 1, kBlockHeader);
        const int n = std::abs(word.mid(2).toInt());
        if (word.contains('+'))
            bytes[n] = static_cast<char>(bytes[n] + 1);
        if (word.contains('-'))
            bytes.chop(n);
        for (qsizetype i = 0; word.endsWith('.') && i < bytes.size(); ++i, at += 1ms)
            feed(bytes.mid(i, 1));
        if (!word.endsWith('.'))
            feed(bytes);
    }
    if (auto cut = receiver.idle(at + 5s))
        got.push_back(std::move(*cut));
    return got;
}

// Stray bytes, gaps reported rather than refused, then the LCD and why.
QString verdict(const Reception &r)
{
    QString said = r.strayBytes ? QStringLiteral("%1 stray ").arg(r.strayBytes) : QString();
    for (const int gap : r.uncertainGaps)
        said += QStringLiteral("?%1 ").arg(gap);
    return said + r.lcd + (r.accepted ? QString() : ": " + r.reason);
}

} // namespace

TEST(BoxReceiver, EachSequenceGetsItsVerdictAndTheNextOneIsReadAfresh)
{
    const struct
    {
        double latencyMs; // how late the reader may have read
        const char *writes;
        const char *verdict; // how it starts
    } cases[] = {
        {1, "H 10 B1 400 H 10 B2", "OK!"},
        {1, "H. 10 B1. 400 H. 10 B2.", "OK!"},
        {1, "N 50 H 10 B1 400 H 10 B2", "4 stray OK!"},
        {1, "H 10 B1+10 400 H 10 B2", "ERR CHECKSUM: block 1 carries checksum"},
        {1, "H 10 B1 400 H 10 B2+64", "ERR CHECKSUM: block 2 carries checksum"},
        {1, "H 10 B1 400 H 10 B2-20", "ERR SHORT BLOCK: block 2 stopped after 45 of 65 bytes"},
        {1, "H 10 B1", "ERR SHORT BLOCK: block 2 never came"},
        {1, "H 10 B1 400 Hx 10 B2", "ERR HEADER: header 2 byte 2 is 0x01, not 0xfe"},
        {1, "H 10 B1 400 H1", "ERR HEADER: header 2 stopped after 1 of 2 bytes"},
        {1, "H 2 B1 400 H 10 B2",
         "ERR TIMING: block 1 came 2.0 ms after its header; the box needs 10 ms"},
        {1, "H 10 B1 100 H 10 B2",
         "ERR TIMING: header 2 came 100.0 ms after block 1; the box needs 400 ms"},
        {1, "H 0 B1 400 H 0 B2", "ERR TIMING: block 1 came 0.0 ms"},
        // 3 ms after a header is no pause: on a real line a block sent with
        // none starts 4.2 ms after its header, one sent after 10 ms at 10.
        {1, "H 3 B1 400 H 10 B2", "ERR TIMING: block 1 came 3.0 ms"},
        {1, "H 10 B1 400 H 4 B2", "ERR TIMING: block 2 came 4.0 ms"},
        {0, "H 8 B1 400 H 8 B2", "OK!"},
        // A late reader sees gaps short by up to its lateness.
        {2, "H 5 B1 400 H 5 B2", "?0 ?2 OK!"},
        {20, "H 0 B1 400 H 0 B2", "?0 ?2 OK!"},
        {20, "H 0 B1 0 H 0 B2", "?0 ERR TIMING: header 2 came 0.0 ms after block 1"},
        {20, "H 10 B1 380 H 10 B2", "?1 OK!"},
        {20, "H 10 B1 370 H 10 B2", "ERR TIMING: header 2 came 370.0 ms"},
        // A reader starved past the quiet limit may have been sent block 2 in time.
        {300, "H 10 B1 1700 H 10 B2", "OK!"},
    };
    for (const auto &c : cases) {
        BoxReceiver receiver;
        receiver.setReaderLatency(c.latencyMs);
        const std::vector<Reception> got = play(receiver, c.writes);
        ASSERT_EQ(got.size(), 1u) << c.writes; // the rest of a refused one is passed over
        EXPECT_TRUE(verdict(got[0]).startsWith(c.verdict))
            << c.writes << ": " << verdict(got[0]).toStdString();
        EXPECT_TRUE(!got[0].accepted || got[0].frame == sampleFrame()) << c.writes;

        const std::vector<Reception> next = play(receiver, "H 10 B1 400 H 10 B2");
        ASSERT_EQ(next.size(), 1u) << c.writes;
        EXPECT_EQ(verdict(next[0]), "OK!") << c.writes;
        EXPECT_EQ(next[0].gapsMs, (std::vector<double>{10, 400, 10})) << c.writes;
        EXPECT_FALSE(receiver.deadline()) << c.writes;
    }
}

TEST(LatenessMeter, AllowsTwiceTheWorstRecentLateness)
{
    const struct
    {
        std::vector<std::pair<int, int>> wakes; // ms: when due, how late
        double allowanceMs;
    } cases[] = {
        {{}, 1},
        {{{0, 5}}, 11},
        {{{0, -8}}, 1}, // woken early by data
        {{{0, 100}, {2000, 0}}, 201},
        {{{0, 100}, {3200, 0}}, 1}, // forgotten after three seconds
        {{{0, 100}, {1000, 30}, {3200, 0}}, 61},
    };
    for (const auto &c : cases) {
        LatenessMeter meter;
        const auto start = LatenessMeter::Clock::now();
        for (const auto &[due, late] : c.wakes)
            meter.wake(start + std::chrono::milliseconds(due),
                       start + std::chrono::milliseconds(due + late));
        EXPECT_DOUBLE_EQ(meter.allowanceMs(), c.allowanceMs) << c.wakes.size();
    }
}
