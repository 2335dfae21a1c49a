#include "Geometry.h"

#include <QStringList>

#include <cmath>

namespace kestrix {

QFont DesignFont(double points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    // MS Sans Serif sets text about a tenth narrower than Arial at the same
    // height; the designed widths were drawn for it.
    font.setStretch(90);
    return font;
}

} // namespace kestrix
