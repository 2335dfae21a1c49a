// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptionFit.h"

#include "Frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <cmath>

namespace kestrix {

namespace {

// Narrower than this, or smaller than this share of the designed size, a
// caption stops being easy to read.
constexpr int kNarrowestStretch = 75;
constexpr int kStretchStep = 5;
constexpr double kSmallestShare = 0.8;
constexpr int kSmallestPixels = 8;

constexpr int kTextFlags = Qt::TextShowMnemonic;

bool labelFits(const QLabel *label, const QFontMetrics &metrics, const QString &caption)
{
    const int margin = label->margin();
    const QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    if (!label->wordWrap())
        return metrics.size(kTextFlags, caption).width() <= room.width();
    // Wrapped, a caption may need more lines than there is room for, and a
    // word longer than the line is cut.
    const QRect need = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 16),
                                            kTextFlags | Qt::TextWordWrap, caption);
    return need.width() <= room.width() && need.height() <= room.height();
}

QStyleOptionButton buttonOption(const QWidget *button, const QFontMetrics &metrics,
                                const QString &caption)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.fontMetrics = metrics;
    option.text = caption;
    return option;
}

bool checkBoxFits(const QCheckBox *box, const QFontMetrics &metrics, const QString &caption)
{
    // The style's own measure, which keeps room for the focus frame.
    const QStyleOptionButton option = buttonOption(box, metrics, caption);
    const QSize need = box->style()->sizeFromContents(QStyle::CT_CheckBox, &option,
                                                      metrics.size(kTextFlags, caption), box);
    return need.width() <= box->width();
}

bool pushButtonFits(const QPushButton *button, const QFontMetrics &metrics, const QString &caption)
{
    // The style's margin on either side of the label, so that it never
    // touches the frame.
    const QStyleOptionButton option = buttonOption(button, metrics, caption);
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    return metrics.size(kTextFlags, caption).width() + 2 * margin <= button->width();
}

bool comboBoxFits(const QComboBox *list, const QFontMetrics &metrics, const QString &caption)
{
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.fontMetrics = metrics;
    option.frame = list->hasFrame();
    option.editable = list->isEditable();
    const QRect room = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, list);
    return metrics.size(kTextFlags, caption).width() <= room.width();
}

bool frameFits(const QGroupBox *frame, const QFontMetrics &metrics, const QString &caption)
{
    const auto *drawn = qobject_cast<const Frame *>(frame);
    const int room = drawn ? drawn->captionRoom() : frame->width();
    return metrics.horizontalAdvance(caption) <= room;
}

bool captionFits(const QWidget *control, const QFont &font, const QString &caption)
{
    const QFontMetrics metrics(font);
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return labelFits(label, metrics, caption);
    if (const auto *box = qobject_cast<const QCheckBox *>(control))
        return checkBoxFits(box, metrics, caption);
    if (const auto *button = qobject_cast<const QPushButton *>(control))
        return pushButtonFits(button, metrics, caption);
    if (const auto *list = qobject_cast<const QComboBox *>(control))
        return comboBoxFits(list, metrics, caption);
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return frameFits(frame, metrics, caption);
    return true;
}

QStringList shownCaptions(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return {label->text()};
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return {button->text()};
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return {frame->title()};
    QStringList entries;
    if (const auto *list = qobject_cast<const QComboBox *>(control)) {
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
    }
    return entries;
}

bool allFit(const QWidget *control, const QFont &font, const QStringList &captions)
{
    return std::all_of(captions.cbegin(), captions.cend(),
                       [&](const QString &caption) { return captionFits(control, font, caption); });
}

// The forms of font to try in turn: narrower first, then smaller at the
// narrowest stretch, each a little further from the design.
QList<QFont> narrowerForms(const QFont &font)
{
    QList<QFont> forms;
    const int stretch = font.stretch() > 0 ? font.stretch() : 100;
    for (int s = stretch - kStretchStep; s >= kNarrowestStretch; s -= kStretchStep) {
        QFont form = font;
        form.setStretch(s);
        forms << form;
    }
    QFont narrowest = font;
    narrowest.setStretch(std::min(stretch, kNarrowestStretch));
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    const int smallest =
        std::max(kSmallestPixels, static_cast<int>(std::ceil(pixels * kSmallestShare)));
    for (int p = pixels - 1; p >= smallest; --p) {
        QFont form = narrowest;
        form.setPixelSize(p);
        forms << form;
    }
    return forms;
}

} // namespace

bool FitCaption(QWidget *control, const QStringList &captions)
{
    const QStringList texts = captions.isEmpty() ? shownCaptions(control) : captions;
    const QFont designed = control->font();
    if (allFit(control, designed, texts))
        return true;
    const QList<QFont> forms = narrowerForms(designed);
    for (const QFont &form : forms) {
        if (allFit(control, form, texts)) {
            control->setFont(form);
            return true;
        }
    }
    if (!forms.isEmpty())
        control->setFont(forms.last());
    return false;
}

bool FitCaptions(QWidget *root)
{
    bool fitted = true;
    for (QWidget *control : root->findChildren<QWidget *>()) {
        if (control->window() != root->window() || FitCaption(control))
            continue;
        qWarning("The caption of %s is cut off even in the smallest font.",
                 qPrintable(control->objectName()));
        fitted = false;
    }
    return fitted;
}

} // namespace kestrix
