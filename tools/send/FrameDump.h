// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The annotated hex dump of a transmission: every byte on the line, in the
// order sent, with its place in the frame and what it means.
//
//   wire  frame  bytes                            | meaning
//      0      -  fe fe                            | header of block 1
//      2      0  30 30 31 38 31 30                | range 1 from 1.810 MHz

#include "ConfigFrame.h"
#include "FrameBlocks.h"

#include <QStringList>

namespace kestrix {

QStringList FrameDump(const ConfigFrame &frame, const BlockHeader &header);

} // namespace kestrix
