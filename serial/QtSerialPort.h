#pragma once

#include "SerialPort.h"

#include <QProcessEnvironment>
#include <QSerialPort>

namespace kestrix {

// The serial port on Qt Serial Port, with failures described for the
// operator: which device, what went wrong, and what to do about it.
class QtSerialPort : public SerialPort
{
public:
    explicit QtSerialPort(
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());

    // Every port number then means this device, as a command line names one.
    void useDevice(const QString &device) { m_device = device; }

    PortFailure setPortNumber(int number) override;
    PortFailure open() override;
    bool isOpen() const override;
    PortFailure write(const QByteArray &bytes) override;
    PortFailure close() override;

private:
    QString openFailure() const;
    QString lostDeviceFailure() const;

    QSerialPort m_port;
    QProcessEnvironment m_environment;
    QString m_path; // the device opened, as named
    int m_number = 0;
    QString m_device;
};

} // namespace kestrix
