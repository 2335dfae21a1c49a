// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The serial ports that Qt Serial Port finds, with the stable by-id names
// that udev gives USB adapters and whether each can be opened now.

#include "PortListing.h"

namespace kestrix {

class QtPortLister : public PortLister
{
public:
    QList<PortEntry> ports() const override;
};

} // namespace kestrix
