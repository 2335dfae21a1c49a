// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The layout places every control at a fixed size drawn for one font. Where
// the font the system gives is wider, a caption would be cut off; these
// narrow the control's font, then make it smaller, until the caption fits
// the room the control leaves for its text, as the style draws it. Rows keep
// their designed height, so only a wrapped label is measured in height.

#include <QStringList>

class QWidget;

namespace kestrix {

// Gives control the widest, then largest, form of its font in which each of
// captions fits (the caption it shows when none are given). A font that
// already fits stays as it is. Returns false, with the smallest form set,
// where nothing legible fits.
bool FitCaption(QWidget *control, const QStringList &captions = {});

// FitCaption for every label, button, check box, list and frame in root.
bool FitCaptions(QWidget *root);

} // namespace kestrix
