// SPDX-License-Identifier: GPL-3.0-or-later
// The box's reading of its line: write sequences with their timing, and the
// verdict on each, from tests/cases/receptions.txt.

#include "BoxReceiver.h"
#include "LatenessMeter.h"
#include "Scenario.h"

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

// The writes as tests/cases/receptions.txt writes them.
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

// Each sequence gets its verdict, and the next one is read afresh.
void receive(const QString &rest)
{
    const QStringList fields = rest.split('|');
    BoxReceiver receiver;
    receiver.setReaderLatency(fields[0].toDouble());
    const std::vector<Reception> got = play(receiver, fields[1].trimmed());
    ASSERT_EQ(got.size(), 1u); // the rest of a refused one is passed over
    EXPECT_TRUE(verdict(got[0]).startsWith(fields[2].trimmed())) << verdict(got[0]).toStdString();
    EXPECT_TRUE(!got[0].accepted || got[0].frame == sampleFrame());

    const std::vector<Reception> next = play(receiver, "H 10 B1 400 H 10 B2");
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(verdict(next[0]), "OK!");
    EXPECT_EQ(next[0].gapsMs, (std::vector<double>{10, 400, 10}));
    EXPECT_FALSE(receiver.deadline());
}

void allow(const QString &rest)
{
    LatenessMeter meter;
    const auto start = LatenessMeter::Clock::now();
    for (const QString &wake : rest.section('|', 1).split(' ', Qt::SkipEmptyParts)) {
        const auto due = start + std::chrono::milliseconds(wake.section(':', 0, 0).toInt());
        meter.wake(due, due + std::chrono::milliseconds(wake.section(':', 1).toInt()));
    }
    EXPECT_DOUBLE_EQ(meter.allowanceMs(), rest.section('|', 0, 0).toDouble());
}

} // namespace

TEST(BoxReceiver, EveryCaseGetsItsVerdict)
{
    RunCases("receptions", {{"receive", receive}, {"allow", allow}});
}
