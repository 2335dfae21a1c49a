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

// A settings window on fake services and a fake port, to be loaded.
struct SetupFixture
{
    FakeServices services;
    FakeFileDialogs files;
    FakeSerialPort port;
    FakePortLister ports;
    FakePortMappings portMappings;
    std::unique_ptr<kestrix::Setup> setup = std::make_unique<kestrix::Setup>(
        kestrix::SetupPlatform{services, port, files, ports, portMappings});
};
