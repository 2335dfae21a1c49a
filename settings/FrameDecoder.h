// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The inverse of the encoder: what a 128-byte configuration frame tells the
// device, slot by slot of the frame table and in words. The box's simulator,
// the command-line sender's dump and the tests read frames through it.

#include "ConfigFrame.h"
#include "DeviceSettings.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kestrix {

// One slot of the frame: where it stands and what it says.
struct FrameField
{
    int offset;
    int length;
    QString description;
};

struct DecodedFrame
{
    // The settings the frame carries, as the window would hold them: every
    // slot as an active row (counts at their last position), numbers written
    // with a point. The upper bound of a range takes its first two digits
    // from the lower bound, as the device reads them.
    DeviceSettings settings;
    // Bytes the encoder never writes: non-digits in a range, a band code past
    // the list, reserved flag bits, a fixed text or a zero byte out of place.
    QStringList problems;
};

DecodedFrame DecodeConfigFrame(const ConfigFrame &frame);

// The frame's slots in offset order, covering all 128 bytes.
std::vector<FrameField> DescribeFrameFields(const ConfigFrame &frame);

// What the frame sets, one line a slot, for the operator; then the problems.
QStringList DescribeSettings(const DecodedFrame &decoded);

} // namespace kestrix
