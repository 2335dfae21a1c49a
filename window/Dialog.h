// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The small window in which SEND shows its progress and its result. It puts
// itself away: OK hides it at once, or it hides 45 seconds after the result.
// Its parts (lblInfo, OKButton, tmrHide) are its own, found by those names.

#include "Form.h"

class QLabel;
class QPushButton;
class QTimer;

namespace kestrix {

class Dialog : public Form
{
    Q_OBJECT

public:
    explicit Dialog(QWidget *parent = nullptr);

    // The progress or result shown; assistive technology reads it on one
    // line and is told of each change.
    QString info() const;
    void setInfo(const QString &text);
    // OK appears with the focus, so Return, Space and Escape answer at once.
    void setOkVisible(bool visible);
    // Hiding by itself, 45 seconds after this is enabled.
    void setHideTimerEnabled(bool enabled);

protected:
    // Escape is OK once the result shows; while sending it does nothing.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void OKButton_Click();
    void tmrHide_Timer();

    QLabel *lblInfo;
    QPushButton *OKButton;
    QTimer *tmrHide;
};

} // namespace kestrix

#include "Transmission.h"

#include <functional>

namespace kestrix {

// The progress of a send, shown in the Dialog that dialog() gives at each
// step, so that one the operator closed meanwhile is created afresh.
class DialogProgress : public SendProgress
{
public:
    explicit DialogProgress(std::function<Dialog *()> dialog) : m_dialog(std::move(dialog)) {}

    QString info() override;
    void setInfo(const QString &text) override;
    void setOkVisible(bool visible) override;
    void setHideTimerEnabled(bool enabled) override;
    void showModeless() override;

private:
    std::function<Dialog *()> m_dialog;
};

} // namespace kestrix
