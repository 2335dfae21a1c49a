// SPDX-License-Identifier: GPL-3.0-or-later
#include "BoxReceiver.h"
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

// One write on the line: its bytes and how long after the previous one.
struct Write
{
    QByteArray bytes;
    std::chrono::milliseconds after;
};

std::vector<Write> transmission(const ConfigFrame &frame)
{
    const BlockHeader header{0xFE, 0xFE};
    return {{"\xFE\xFE", 0ms},
            {Block(frame, 0, header), 10ms},
            {"\xFE\xFE", 400ms},
            {Block(frame, 1, header), 10ms}};
}

std::vector<Reception> play(BoxReceiver &receiver, const std::vector<Write> &writes,
                            std::chrono::milliseconds quietAfter = 0ms)
{
    auto at = BoxReceiver::Clock::now();
    std::vector<Reception> receptions;
    for (const Write &write : writes) {
        at += write.after;
        for (Reception &r : receiver.feed(write.bytes, at))
            receptions.push_back(std::move(r));
    }
    if (auto cut = receiver.idle(at + quietAfter))
        receptions.push_back(std::move(*cut));
    return receptions;
}

} // namespace

TEST(BoxReceiver, AWholeTransmissionGivesTheFrameAndOk)
{
    BoxReceiver receiver;
    const std::vector<Reception> got = play(receiver, transmission(sampleFrame()), 5000ms);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_TRUE(got[0].accepted);
    EXPECT_EQ(got[0].lcd, "OK!");
    EXPECT_EQ(got[0].frame, sampleFrame());
    EXPECT_EQ(got[0].gapsMs, (std::vector<double>{10, 400, 10}));
    EXPECT_FALSE(receiver.deadline()); // ready for the next one
}

TEST(BoxReceiver, BytesArrivingOneByOneOrAllAtOnceReadTheSame)
{
    const BlockHeader header{0xFE, 0xFE};
    const ConfigFrame frame = sampleFrame();
    const QByteArray wire =
        "\xFE\xFE" + Block(frame, 0, header) + "\xFE\xFE" + Block(frame, 1, header);
    std::vector<Write> oneByOne;
    for (qsizetype i = 0; i < wire.size(); ++i)
        oneByOne.push_back({wire.mid(i, 1), i == 2 || i == 69 ? 10ms : i == 67 ? 400ms : 1ms});
    BoxReceiver receiver;
    const std::vector<Reception> got = play(receiver, oneByOne);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_TRUE(got[0].accepted);
    EXPECT_EQ(got[0].frame, frame);
}

TEST(BoxReceiver, FaultsAreRefusedWithTheirReason)
{
    const std::vector<Write> good = transmission(sampleFrame());
    const auto changed = [&good](int write, const std::function<void(Write &)> &change) {
        std::vector<Write> writes = good;
        change(writes[write]);
        return writes;
    };
    const struct
    {
        const char *name;
        std::vector<Write> writes;
        const char *lcd;
        const char *reason;
    } cases[] = {
        {"checksum", changed(1, [](Write &w) { w.bytes[10] = w.bytes[10] + 1; }), "ERR CHECKSUM",
         "block 1 carries checksum"},
        {"checksum 2", changed(3, [](Write &w) { w.bytes[64] = w.bytes[64] ^ 0x40; }),
         "ERR CHECKSUM", "block 2 carries checksum"},
        {"short block", changed(3, [](Write &w) { w.bytes.chop(20); }), "ERR SHORT BLOCK",
         "block 2 stopped after 45 of 65 bytes"},
        {"no block 2", {good[0], good[1]}, "ERR SHORT BLOCK", "block 2 never came"},
        {"header", changed(2, [](Write &w) { w.bytes = "\xFE\x01"; }), "ERR HEADER",
         "header 2 byte 2 is 0x01, not 0xfe"},
        {"header cut",
         {good[0], good[1], {"\xFE", 400ms}},
         "ERR HEADER",
         "header 2 stopped after 1 of 2 bytes"},
        {"block too soon", changed(1, [](Write &w) { w.after = 2ms; }), "ERR TIMING",
         "block 1 came 2.0 ms after its header; the box needs 10 ms"},
        {"header 2 too soon", changed(2, [](Write &w) { w.after = 100ms; }), "ERR TIMING",
         "header 2 came 100.0 ms after block 1; the box needs 400 ms"},
    };
    for (const auto &c : cases) {
        BoxReceiver receiver;
        // The bytes after a fault may look like the start of another header.
        const std::vector<Reception> got = play(receiver, c.writes, 5000ms);
        ASSERT_EQ(got.size(), 1u) << c.name; // the rest of it is passed over
        EXPECT_FALSE(got[0].accepted) << c.name;
        EXPECT_EQ(got[0].lcd, c.lcd) << c.name;
        EXPECT_TRUE(got[0].reason.startsWith(c.reason)) << got[0].reason.toStdString();
        // The receiver is ready again: a good transmission after the fault goes through.
        const std::vector<Reception> next = play(receiver, good, 5000ms);
        ASSERT_EQ(next.size(), 1u) << c.name;
        EXPECT_TRUE(next[0].accepted) << c.name << ": " << next[0].reason.toStdString();
    }
}

// Gaps are measured between reads; a reader that wakes late makes them look
// short by up to its lateness.
TEST(BoxReceiver, AShortGapIsRefusedOnlyWhereTheReadersLatenessCannotExplainIt)
{
    const struct
    {
        double latencyMs;
        std::chrono::milliseconds afterHeader, afterBlock;
        bool accepted;
        std::vector<int> uncertain;
    } cases[] = {
        {1, 10ms, 400ms, true, {}},
        {1, 0ms, 400ms, false, {}},
        {20, 0ms, 400ms, true, {0, 2}},
        {20, 0ms, 0ms, false, {0}},
        {20, 10ms, 380ms, true, {1}},
        {20, 10ms, 370ms, false, {}},
        // 3 ms after a header is no pause; on a real line a block sent with
        // none starts 4.2 ms after its header, one sent after 10 ms at 10.
        {1, 3ms, 400ms, false, {}},
        {1, 4ms, 400ms, false, {}},
        {0, 8ms, 400ms, true, {}},
        {2, 5ms, 400ms, true, {0, 2}},
    };
    for (const auto &c : cases) {
        std::vector<Write> writes = transmission(sampleFrame());
        writes[1].after = writes[3].after = c.afterHeader;
        writes[2].after = c.afterBlock;
        BoxReceiver receiver;
        receiver.setReaderLatency(c.latencyMs);
        const std::vector<Reception> got = play(receiver, writes, 5000ms);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].accepted, c.accepted) << c.latencyMs << " " << got[0].reason.toStdString();
        EXPECT_EQ(got[0].uncertainGaps, c.uncertain) << c.latencyMs;
        EXPECT_EQ(got[0].lcd, c.accepted ? "OK!" : "ERR TIMING");
    }
}

TEST(BoxReceiver, NoiseBeforeTheHeaderIsSkippedAndCounted)
{
    std::vector<Write> writes = transmission(sampleFrame());
    writes.insert(writes.begin(), {QByteArray("\x00\x13zz", 4), 0ms});
    writes[1].after = 50ms;
    BoxReceiver receiver;
    const std::vector<Reception> got = play(receiver, writes);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_TRUE(got[0].accepted);
    EXPECT_EQ(got[0].strayBytes, 4);
}
