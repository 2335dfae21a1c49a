// SPDX-License-Identifier: GPL-3.0-or-later
#include "Geometry.h"

#include <QStringList>

#include <cmath>

namespace kestrix {

QFont DesignFont(double points, bool bold)
{
    QFont font;
    // Each family missing before the one found costs a font lookup at start-up,
    // so every platform asks for its own first.
#ifdef Q_OS_WIN
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial")});
#else
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
#endif
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    // MS Sans Serif sets text about a tenth narrower than Arial at the same
    // height; the designed widths were drawn for it.
    font.setStretch(90);
    return font;
}

} // namespace kestrix
