// SPDX-License-Identifier: GPL-3.0-or-later
#include "Frame.h"

#include <QPainter>

namespace kestrix {

namespace {

constexpr int kCaptionLeft = 6;
constexpr int kCaptionPadding = 2;
constexpr qreal kCornerRadius = 2;

} // namespace

Frame::Frame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent)
{
}

int Frame::captionRoom() const
{
    return width() - 2 * (kCaptionLeft + kCaptionPadding);
}

void Frame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    // The line runs through the middle of the caption's em.
    const int pixelSize = font().pixelSize() > 0 ? font().pixelSize() : metrics.height();
    const int lineY = pixelSize / 2;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRoundedRect(QRectF(0.5, lineY + 0.5, width() - 1, height() - lineY - 1),
                            kCornerRadius, kCornerRadius);
    if (title().isEmpty())
        return;
    const QRect caption(kCaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(backgroundRole()));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

} // namespace kestrix
