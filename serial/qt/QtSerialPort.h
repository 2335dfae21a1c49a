// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PortDevice.h"
#include "PortListing.h"
#include "SerialPort.h"

#include <QProcessEnvironment>
#include <QSerialPort>

namespace kestrix {

// The line as the box expects it: 4800 baud 8N1 without flow control. The
// box uses no modem lines, so DTR and RTS stay low.
struct LineSettings
{
    qint32 baudRate = QSerialPort::Baud4800;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
    bool dataTerminalReady = false;
    bool requestToSend = false;

    bool operator==(const LineSettings &) const = default;
};

// The serial port on Qt Serial Port, with failures described for the
// operator: which device, what went wrong, and what to do about it.
class QtSerialPort : public SerialPort
{
public:
    // COMn resolves through the environment, then the stored choices.
    explicit QtSerialPort(
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(),
        const PortMappings *stored = nullptr);

    // Every port number then means this device, as a command line names one.
    void useDevice(const QString &device) { m_device = device; }

    // Where the device of a port is missing, the failure names the ports
    // that lister finds and says how to choose one.
    void adviseOnMissingDevice(const PortLister *lister, const QString &howToChoose)
    {
        m_lister = lister;
        m_howToChoose = howToChoose;
    }

    // What open() puts on the line.
    const LineSettings &lineSettings() const { return m_line; }

    Result<> setPortNumber(int number) override;
    Result<> open() override;
    bool isOpen() const override;
    Result<> write(const QByteArray &bytes) override;
    Result<> close() override;

private:
    Result<> openPort();
    Failure openFailure() const;
    Failure notSerialFailure(const QString &what) const;
    Failure missingDeviceFailure(const QString &what) const;
    Failure lostDeviceFailure() const;

    QSerialPort m_port;
    LineSettings m_line;
    QProcessEnvironment m_environment;
    const PortMappings *m_stored = nullptr;
    const PortLister *m_lister = nullptr;
    QString m_howToChoose;
    QString m_path; // the device opened, as named
    int m_number = 0;
    PortSource m_source = PortSource::Default;
    QString m_device;
};

} // namespace kestrix
