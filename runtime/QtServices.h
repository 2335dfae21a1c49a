// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Services.h"

namespace kestrix {

class QtServices : public Services
{
public:
    void messageBox(const QString &text, const QString &title, MessageIcon icon) override;
    void beep() override;
    void processEvents() override;
    void pause(int milliseconds) override;
};

} // namespace kestrix
