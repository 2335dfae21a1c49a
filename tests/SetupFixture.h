// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Controls.h"
#include "FakeFileDialogs.h"
#include "FakePorts.h"
#include "FakeSerialPort.h"
#include "FakeServices.h"
#include "QtPrinters.h"
#include "Setup.h"
#include "TextBox.h"

#include <QApplication>
#include <QGroupBox>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// A loaded settings window on fake services and a fake port.
class SetupFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        setup = std::make_unique<kestrix::Setup>(
            kestrix::SetupPlatform{services, port, files, ports, portMappings});
        setup->load();
    }

    // Everything an operator can see change: values, enabled states, frame
    // captions, field markings and the title.
    struct View
    {
        kestrix::DeviceSettings settings;
        QString title;
        QStringList captions;
        QList<bool> enabled;
        QList<bool> edited;
        bool operator==(const View &) const = default;
    };

    View view() const
    {
        View v{setup->settings(), setup->windowTitle(), {}, {}, {}};
        for (QWidget *w : setup->findChildren<QWidget *>()) {
            v.enabled << w->isEnabled();
            if (auto *frame = qobject_cast<QGroupBox *>(w))
                v.captions << frame->title();
            if (auto *box = qobject_cast<kestrix::TextBox *>(w))
                v.edited << (box->background() == kestrix::TextBox::Background::Edited);
        }
        return v;
    }

    // Shows the window as the active one, as the operator has it.
    bool showActive()
    {
        setup->show();
        QApplication::setActiveWindow(setup.get());
        return QTest::qWaitForWindowActive(setup.get());
    }

    // Types into a field as the operator would, after giving it the focus.
    void type(kestrix::TextBox *box, const QString &keys)
    {
        box->setFocus();
        QTest::keyClicks(box, keys);
    }

    FakeServices services;
    FakeFileDialogs files;
    FakeSerialPort port;
    FakePortLister ports;
    FakePortMappings portMappings;
    std::unique_ptr<kestrix::Setup> setup;
};
