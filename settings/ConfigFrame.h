// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The 128-byte configuration frame that carries the device's whole setup, and
// its encoder. The frame has no framing of its own; the serial link adds it.

#include "DeviceSettings.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace kestrix {

inline constexpr int kFrameSize = 128;
using ConfigFrame = std::array<std::uint8_t, kFrameSize>;

// Frame offsets.
inline constexpr int kRangeSlotOffset = 0; // + 10 * slot: 6 low digits, then 4 high
inline constexpr int kTimerOffset = 60;
inline constexpr int kOptionFlagsOffset = 61;
inline constexpr int kSectionFlagsOffset = 62;
inline constexpr int kBandSlotOffset = 63; // + slot
inline constexpr int kDxDeOffset = 70;
inline constexpr int kToAllDeOffset = 77;
inline constexpr int kUserMessageOffset = 88;
inline constexpr int kDxCallSlotOffset = 98; // + 10 * slot
inline constexpr int kTextFieldLength = 10;

struct FrameBuild
{
    // True when the frame was built completely with every range bound valid.
    bool ok = false;
    // The timer as the frame carries it (byte / 4 in "#0.0#"), for the window
    // to show; present once the timer step has run, even if a later one failed.
    std::optional<QString> timerText;
    // Why the build failed, in words, when it did.
    QString problem;
};

// Rewrites frame from settings. Never clears it first: a successful build
// writes every byte, a failed one may leave it partly rewritten. A negative
// range bound makes the result false but the build runs on; any other failure
// (timer out of 0..63.75 s, a count or band without a choice, a check state
// other than 0 or 1, a character outside Windows-1252, a write past offset
// 127) stops it where it happens.
FrameBuild BuildConfigFrame(const DeviceSettings &settings, ConfigFrame &frame);

// The steps the encoder is made of, each writing through the frame's bounds
// check. Each returns false when it wrote nothing or stopped at the frame's end.

// The first six characters of the bound's frequency digit string; false for a
// negative bound.
bool PutRangeLow(ConfigFrame &frame, const QString &text, int offset);
// The last four characters of the bound's frequency digit string.
bool PutRangeHigh(ConfigFrame &frame, const QString &text, int offset);
// The characters of text, then one zero byte.
bool PutText(ConfigFrame &frame, const QString &text, int offset);
// The characters of text, then zero bytes up to offset + 9. Not cut to ten.
bool PutTextField(ConfigFrame &frame, const QString &text, int offset);

// The frequency digit string of a bound in MHz: "000.000" without its
// separator, so the kHz zero-padded to six digits (seven or more past 999.9995).
QString FrequencyDigits(double megahertz);

} // namespace kestrix
