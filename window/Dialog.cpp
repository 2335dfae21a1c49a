// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialog.h"

#include "CaptionFit.h"
#include "Geometry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace kestrix {

namespace {
constexpr int kHideAfterMs = 45000;
constexpr double kInfoPoints = 13.5;
} // namespace

Dialog::Dialog(QWidget *parent)
    : Form(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QStringLiteral("Kestrix Config v6.DX"));
    setFont(DesignFont(8.25));
    setGeometry(TwipsRect(2760, 3750, 4530, 1920));
    setFixedSize(size());

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setGeometry(TwipsRect(120, 120, 4215, 1215));
    lblInfo->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblInfo->setAlignment(Qt::AlignCenter);
    lblInfo->setWordWrap(true);
    lblInfo->setFont(DesignFont(kInfoPoints, true));
    lblInfo->setAutoFillBackground(true);
    lblInfo->setBackgroundRole(QPalette::Base);
    lblInfo->setForegroundRole(QPalette::Text);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(TwipsRect(1680, 1440, 1215, 375));
    OKButton->setAutoDefault(true); // Return presses it, as Space does
    connect(OKButton, &QPushButton::clicked, this, &Dialog::OKButton_Click);

    tmrHide = new QTimer(this);
    tmrHide->setObjectName(QStringLiteral("tmrHide"));
    tmrHide->setTimerType(Qt::PreciseTimer); // a coarse one rounds 45 s to whole seconds
    tmrHide->setInterval(kHideAfterMs);
    connect(tmrHide, &QTimer::timeout, this, &Dialog::tmrHide_Timer);
}

void Dialog::OKButton_Click()
{
    tmrHide->stop();
    hide();
}

void Dialog::tmrHide_Timer()
{
    tmrHide->stop();
    hide();
}

QString Dialog::info() const
{
    return lblInfo->text();
}

void Dialog::setHideTimerEnabled(bool enabled)
{
    if (enabled)
        tmrHide->start();
    else
        tmrHide->stop();
}

void Dialog::setInfo(const QString &text)
{
    lblInfo->setText(text);
    // Each text is fitted afresh from the designed font.
    lblInfo->setFont(DesignFont(kInfoPoints, true));
    FitCaption(lblInfo);
    const QString oneLine = text.simplified();
    lblInfo->setAccessibleName(oneLine);
    setAccessibleDescription(oneLine);
}

void Dialog::setOkVisible(bool visible)
{
    OKButton->setVisible(visible);
    if (visible)
        OKButton->setFocus(Qt::OtherFocusReason);
}

void Dialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        !OKButton->isHidden()) {
        OKButton_Click();
        return;
    }
    Form::keyPressEvent(event);
}

} // namespace kestrix

namespace kestrix {

QString DialogProgress::info()
{
    return m_dialog()->info();
}

void DialogProgress::setInfo(const QString &text)
{
    m_dialog()->setInfo(text);
}

void DialogProgress::setOkVisible(bool visible)
{
    m_dialog()->setOkVisible(visible);
}

void DialogProgress::setHideTimerEnabled(bool enabled)
{
    m_dialog()->setHideTimerEnabled(enabled);
}

void DialogProgress::showModeless()
{
    Dialog *dialog = m_dialog();
    dialog->show();
    dialog->raise();
    dialog->activateWindow(); // the keys go to it, as to any window that opens
}

} // namespace kestrix
