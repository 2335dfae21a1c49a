// SPDX-License-Identifier: GPL-3.0-or-later
#include "LatenessMeter.h"

#include <algorithm>

namespace kestrix {

void LatenessMeter::wake(Clock::time_point due, Clock::time_point now)
{
    const double lateMs =
        std::max(0.0, std::chrono::duration<double, std::milli>(now - due).count());
    m_wakes.emplace_back(now, lateMs);
    while (now - m_wakes.front().first > kMemory)
        m_wakes.pop_front();
}

double LatenessMeter::allowanceMs() const
{
    double worst = 0;
    for (const auto &[when, lateMs] : m_wakes)
        worst = std::max(worst, lateMs);
    return 1 + 2 * worst;
}

} // namespace kestrix
