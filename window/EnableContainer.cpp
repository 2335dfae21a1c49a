// SPDX-License-Identifier: GPL-3.0-or-later
#include "EnableContainer.h"

#include "Services.h"

#include <QGroupBox>

namespace kestrix {

bool EnableContainer(QWidget *container, bool enable, Services &services)
{
    container->setEnabled(enable);
    services.processEvents();
    const auto children = container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (qobject_cast<QGroupBox *>(child))
            EnableContainer(child, enable, services);
        else
            child->setEnabled(enable);
    }
    return true;
}

} // namespace kestrix
