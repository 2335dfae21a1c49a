// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How late the simulator's reader wakes. A pause between two writes is
// measured between the reads that brought them, so a reader woken late
// measures it short, by as much as it was late. The meter keeps the last
// few seconds' wakes and gives the allowance to make for that.

#include <chrono>
#include <deque>
#include <utility>

namespace kestrix {

class LatenessMeter
{
public:
    using Clock = std::chrono::steady_clock;

    // How long the meter remembers a wake.
    static constexpr auto kMemory = std::chrono::seconds(3);

    // The reader asked to wake by `due` at the latest and woke at `now`.
    // A wake for data before `due` says nothing and counts as on time.
    void wake(Clock::time_point due, Clock::time_point now);
    // The worst lateness remembered, doubled, since a wake for data may be
    // later than one for a timer, and 1 ms for the clock's own grain.
    double allowanceMs() const;

private:
    std::deque<std::pair<Clock::time_point, double>> m_wakes; // when, how late in ms
};

} // namespace kestrix
