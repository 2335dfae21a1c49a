// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A frame: a group box drawn as a thin rounded line with its caption set into
// the top line, as the layout was designed. Drawn by hand rather than with a
// style sheet, which would slow the start of the window by a tenth.

#include <QGroupBox>

namespace kestrix {

class Frame : public QGroupBox
{
    Q_OBJECT

public:
    explicit Frame(const QString &caption, QWidget *parent = nullptr);

    // The width a caption may take within the top line.
    int captionRoom() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kestrix
