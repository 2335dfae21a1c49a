// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The 128-byte configuration frame that carries the device's whole setup, and
// its encoder, which walks the frame table. The frame has no framing of its
// own; the serial link adds it.

#include "DeviceSettings.h"
#include "Result.h"

#include <QString>

#include <array>
#include <cstdint>

namespace kestrix {

inline constexpr int kFrameSize = 128;
using ConfigFrame = std::array<std::uint8_t, kFrameSize>;

// Rewrites frame from settings, slot by slot in offset order. Never clears it
// first: a successful build writes every byte, a failed one may leave it
// partly rewritten. A negative range bound fails the build but it runs on;
// any other failure (timer out of 0..63.75 s, a count or band without a
// choice, a check state other than 0 or 1, a character outside Windows-1252,
// a text running past the frame's end) stops it where it happens.
//
// Where the frame carries a setting otherwise than its text reads (the timer,
// in quarter seconds), the text in settings is rewritten as sent, so that the
// window can show it; that holds for every slot reached, also in a build that
// fails later.
Result<> BuildConfigFrame(DeviceSettings &settings, ConfigFrame &frame);

// The frequency digit string of a bound in MHz: "000.000" without its
// separator, so the kHz zero-padded to six digits (seven or more past 999.9995).
QString FrequencyDigits(double megahertz);

} // namespace kestrix
