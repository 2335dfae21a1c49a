// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortChooser.h"
#include "QtSerialPort.h"
#include "SetupFixture.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

using namespace kestrix;

namespace {

PortEntry adapter(const char *device, const char *description, const char *stable)
{
    PortEntry entry;
    entry.device = device;
    entry.description = description;
    entry.manufacturer = "FTDI";
    entry.serialNumber = "A1B2C3";
    entry.stableName = stable;
    entry.availability = PortAvailability::Free;
    return entry;
}

class Chooser : public SetupFixture
{
protected:
    void SetUp() override
    {
        SetupFixture::SetUp();
        ports.entries = {adapter("/dev/ttyUSB0", "FT232R USB UART",
                                 "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0"),
                         adapter("/dev/ttyACM0", "", "")};
        ports.entries[1].availability = PortAvailability::InUse;
        Text(setup.get(), "txtComm")->setText("2");
    }
};

} // namespace

TEST_F(Chooser, ListsThePortsAndStoresTheChosenOnesStableName)
{
    PortChooser *chooser = setup->chooseSerialDevice();
    EXPECT_EQ(chooser->windowTitle(), "Serial device for COM2");
#ifndef Q_OS_WIN
    EXPECT_TRUE(chooser->current()->text().startsWith("COM2 is now /dev/ttyS1 (the default)"));
#endif
    QTreeWidget *list = chooser->list();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QStringList shown = {list->topLevelItem(0)->text(0), list->topLevelItem(0)->text(1),
                               list->topLevelItem(0)->text(2), list->topLevelItem(0)->text(3),
                               list->topLevelItem(0)->text(4), list->topLevelItem(0)->text(5)};
    EXPECT_EQ(shown, (QStringList{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A1B2C3",
                                  "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0",
                                  "free"}));
    EXPECT_EQ(list->topLevelItem(1)->text(5), "in use");

    // An adapter plugged in while the chooser is open.
    ports.entries << adapter("/dev/ttyUSB1", "CP2102", "");
    ports.entries.last().availability = PortAvailability::NoPermission;
    chooser->refresh();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(2)->text(5), "no permission");

    list->setCurrentItem(list->topLevelItem(2));
    chooser->useButton()->click();
    EXPECT_EQ(portMappings.storedDevice(2), "/dev/ttyUSB1"); // no stable name: the device
    list->setCurrentItem(list->topLevelItem(0));
    chooser->useChosen();
    EXPECT_EQ(portMappings.storedDevice(2),
              "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
    EXPECT_TRUE(portMappings.storedDevice(1).isEmpty());
#ifndef Q_OS_WIN
    chooser->refresh();
    EXPECT_EQ(chooser->current()->text(),
              "COM2 is now /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0 (chosen "
              "and stored), which is not there now: plug the adapter in and press Refresh, or "
              "choose another port.");
    EXPECT_EQ(list->topLevelItem(0)->text(5), "free, COM2 now"); // the device in use is marked
    EXPECT_TRUE(list->selectedItems().isEmpty());
#endif
}

// Only a row the operator selected is stored: not the row the focus lands
// on, nor the one in use now.
TEST_F(Chooser, ReturnStoresNothingBeforeTheOperatorSelectsARow)
{
    for (const char *stored : {"", "/dev/ttyACM0"}) {
        portMappings.devices = {{2, stored}};
        PortChooser *chooser = setup->chooseSerialDevice();
        QApplication::setActiveWindow(chooser);
        ASSERT_TRUE(QTest::qWaitForWindowActive(chooser));
        chooser->list()->setFocus(Qt::TabFocusReason);
        EXPECT_FALSE(chooser->useButton()->isEnabled()) << stored;
        QTest::keyClick(chooser->list(), Qt::Key_Return);
        QTest::keyClick(chooser, Qt::Key_Return);
        EXPECT_EQ(portMappings.storedDevice(2), stored);
        EXPECT_TRUE(chooser->isVisible()) << stored;

        QTest::keyClick(chooser->list(), Qt::Key_Down); // selects a row: now Return stores it
        ASSERT_EQ(chooser->list()->selectedItems().size(), 1);
        QTest::keyClick(chooser, Qt::Key_Return);
        EXPECT_EQ(portMappings.storedDevice(2),
                  chooser->list()->selectedItems()[0] == chooser->list()->topLevelItem(0)
                      ? "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0"
                      : "/dev/ttyACM0");
        delete chooser;
    }
}

TEST_F(Chooser, AChoiceThatCannotBeStoredIsSaidSoAndTheChooserStaysOpen)
{
    portMappings.failure = "COM2 was not stored: the folder is read-only.";
    PortChooser *chooser = setup->chooseSerialDevice();
    chooser->list()->setCurrentItem(chooser->list()->topLevelItem(1));
    chooser->useButton()->click();
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->problem()->text(), "COM2 was not stored: the folder is read-only.");
    EXPECT_TRUE(portMappings.devices.empty());
}

TEST_F(Chooser, ForgetGivesTheNumberItsDefaultAgain)
{
    portMappings.devices = {{2, "/dev/ttyACM0"}, {3, "/dev/ttyUSB0"}};
    PortChooser *chooser = setup->chooseSerialDevice();
    ASSERT_TRUE(chooser->forgetButton()->isEnabled());
    chooser->forgetButton()->click();
    EXPECT_EQ(portMappings.devices, (std::map<int, QString>{{3, "/dev/ttyUSB0"}}));
    EXPECT_FALSE(chooser->forgetButton()->isEnabled());
#ifndef Q_OS_WIN
    EXPECT_TRUE(chooser->current()->text().startsWith("COM2 is now /dev/ttyS1 (the default)"));
#endif
}

TEST_F(Chooser, ComesFromThePortFieldsMenuAndItsShortcut)
{
    std::unique_ptr<QMenu> menu(Text(setup.get(), "txtComm")->createEditMenu());
    QAction *choose = menu->actions().last();
    EXPECT_EQ(choose->text(), "Serial &device for COM2...");
    choose->trigger();
    EXPECT_NE(setup->findChild<PortChooser *>(), nullptr);
    for (PortChooser *open : setup->findChildren<PortChooser *>())
        delete open;

    ASSERT_TRUE(showActive());
    Text(setup.get(), "txtTimer")->setFocus();
    QTest::keyClick(Text(setup.get(), "txtTimer"), Qt::Key_D,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(setup->findChild<PortChooser *>(), nullptr);
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), "1,0"); // the key typed nothing
}

TEST_F(Chooser, WithoutPortsItSaysSo)
{
    ports.entries.clear();
    PortChooser *chooser = setup->chooseSerialDevice();
    ASSERT_EQ(chooser->list()->topLevelItemCount(), 1);
    EXPECT_TRUE(chooser->list()->topLevelItem(0)->text(0).startsWith("No serial port found."));
    EXPECT_FALSE(chooser->useButton()->isEnabled());
    chooser->useChosen();
    EXPECT_TRUE(portMappings.devices.empty());
}

#ifndef Q_OS_WIN
TEST_F(Chooser, AMissingDevicesFailureNamesThePortsThereAre)
{
    QProcessEnvironment environment;
    environment.insert("KESTRIX_COM1", "/nonexistent/ttyS0");
    QtSerialPort serial(environment, &portMappings);
    serial.adviseOnMissingDevice(&ports, "Right-click Comm num to choose one.");
    ASSERT_TRUE(serial.setPortNumber(1));
    EXPECT_EQ(Said(serial.open()),
              QString("COM1 is /nonexistent/ttyS0, which does not exist.\n"
                      "Serial ports here: /dev/ttyUSB0 (FT232R USB UART), /dev/ttyACM0. "
                      "Right-click Comm num to choose one."));
    ports.entries.clear();
    EXPECT_TRUE(Said(serial.open())
                    .endsWith("No serial port was found: check that the adapter is "
                              "plugged in, or set KESTRIX_COM1 to the device of COM1."));
}
#endif
