// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace kestrix {

class Services;

// Enables or disables a container and every control it holds, nested
// containers included; pending events run once after the container itself
// changed. Returns true: Qt reports no failure for a control.
bool EnableContainer(QWidget *container, bool enable, Services &services);

} // namespace kestrix
