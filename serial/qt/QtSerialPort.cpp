// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtSerialPort.h"

#include "DeviceKind.h"
#include "PortDevice.h"

#include <QFileInfo>

namespace kestrix {

namespace {

constexpr int kWriteTimeoutMs = 2000;

// QSerialPort gives one error code for a busy device and a forbidden one.
// A device that we may read and write yet cannot open is held by someone
// else; Windows refuses a held COM port the same way.
bool heldByAnotherProgram(const QString &device)
{
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    return true;
#else
    const QFileInfo info(device);
    return info.isReadable() && info.isWritable();
#endif
}

} // namespace

QtSerialPort::QtSerialPort(QProcessEnvironment environment, const PortMappings *stored)
    : m_environment(std::move(environment)), m_stored(stored)
{
}

Result<> QtSerialPort::setPortNumber(int number)
{
    if (!m_device.isEmpty()) {
        m_path = m_device;
        m_port.setPortName(m_device);
        return {};
    }
    const auto resolved = ResolvePort(number, m_environment, m_stored);
    if (!resolved)
        return Failure{QStringLiteral("COM%1 is not a port this program can use.\n"
                                      "Choose a port number from %2 to %3.")
                           .arg(number)
                           .arg(kFirstPort)
                           .arg(kLastPort)};
    m_number = number;
    m_source = resolved->source;
    m_path = resolved->device;
    m_port.setPortName(resolved->device);
    return {};
}

Result<> QtSerialPort::open()
{
    Result<> opened = openPort();
    // A choice that could not be read may be why COMn is not the device meant.
    const QString unread = m_stored ? m_stored->problem() : QString();
    if (!opened && m_device.isEmpty() && m_source != PortSource::Environment && !unread.isEmpty())
        return Failure{opened.error() + QChar('\n') + unread};
    return opened;
}

Result<> QtSerialPort::openPort()
{
    // What no serial port is fails with misleading errors once opened (the
    // line settings on /dev/null, a lock file for an overlong name).
    const DeviceCheck device = CheckDevice(m_path);
    switch (device.kind) {
    case DeviceKind::Missing:
        return missingDeviceFailure(device.what);
    case DeviceKind::NotSerial:
        return notSerialFailure(device.what);
    case DeviceKind::Unusable:
        return Failure{QStringLiteral("The serial port name %1 cannot be used: %2.\n%3")
                           .arg(ShortDeviceName(m_path), device.what, m_howToChoose)
                           .trimmed()};
    default:
        break;
    }
    m_port.clearError();
    if (!m_port.open(QIODevice::WriteOnly))
        return openFailure();
    const bool configured =
        m_port.setBaudRate(m_line.baudRate) && m_port.setDataBits(m_line.dataBits) &&
        m_port.setParity(m_line.parity) && m_port.setStopBits(m_line.stopBits) &&
        m_port.setFlowControl(m_line.flowControl);
    if (!configured) {
        const QString reason = m_port.errorString();
        m_port.close();
        return Failure{
            QStringLiteral("The serial port %1 refused the line settings 4800 baud 8N1 (%2).")
                .arg(m_path, reason)};
    }
    // Pseudo-terminals and some adapters have no modem lines: not a failure.
    m_port.setDataTerminalReady(m_line.dataTerminalReady);
    m_port.setRequestToSend(m_line.requestToSend);
    m_port.clearError();
    return {};
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen();
}

Result<> QtSerialPort::write(const QByteArray &bytes)
{
    if (m_port.write(bytes) != bytes.size())
        return lostDeviceFailure();
    // QSerialPort buffers writes until its event loop runs; the pauses block
    // the thread, so hand the bytes to the system now.
    m_port.flush();
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(kWriteTimeoutMs))
            return lostDeviceFailure();
    }
    if (m_port.error() != QSerialPort::NoError)
        return lostDeviceFailure();
    return {};
}

Result<> QtSerialPort::close()
{
    m_port.close();
    return {};
}

Failure QtSerialPort::openFailure() const
{
    // QSerialPort names a device without its "/dev/"; messages name it whole.
    const QString &device = m_path;
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return missingDeviceFailure(QStringLiteral("does not exist"));
    case QSerialPort::ResourceError: // EIO: a ttyS without a UART behind it
        if (m_device.isEmpty())
            return missingDeviceFailure(QStringLiteral("has no serial hardware"));
        break;
    case QSerialPort::PermissionError:
        if (heldByAnotherProgram(device))
            return Failure{QStringLiteral("The serial port %1 is in use by another program.\n"
                                          "Close that program, then press SEND again.")
                               .arg(device)};
        return Failure{QStringLiteral("No permission to open the serial port %1.\n"
                                      "Add your user to the group that owns the device, usually "
                                      "dialout (sudo usermod -aG dialout $USER), then log out and "
                                      "log in again.")
                           .arg(device)};
    default:
        break;
    }
    return Failure{QStringLiteral("The serial port %1 could not be opened: %2.")
                       .arg(device, m_port.errorString())};
}

Failure QtSerialPort::missingDeviceFailure(const QString &what) const
{
    if (!m_device.isEmpty())
        return Failure{QStringLiteral("The serial port %1 %2.\n"
                                      "Check the device name and that the adapter is plugged in.")
                           .arg(m_path, what)};
    const QString port = QStringLiteral("COM%1 is %2, which %3.").arg(m_number).arg(m_path, what);
    const QString others = m_lister ? PortSummary(m_lister->ports()) : QString();
    if (!others.isEmpty())
        return Failure{port +
                       QStringLiteral("\nSerial ports here: %1. %2").arg(others, m_howToChoose)};
#ifdef Q_OS_WIN
    return Failure{
        port + QStringLiteral("\nCheck the COM port number and that the adapter is plugged in.")};
#else
    return Failure{port +
                   QStringLiteral("\nNo serial port was found: check that the adapter is plugged "
                                  "in, or set %1 to the device of COM%2.")
                       .arg(PortVariable(m_number))
                       .arg(m_number)};
#endif
}

Failure QtSerialPort::notSerialFailure(const QString &what) const
{
    const QString device = ShortDeviceName(m_path);
    if (!m_device.isEmpty())
        return Failure{
            QStringLiteral("%1 is not a serial port: it is %2.\nName the device of the serial "
                           "port or adapter.")
                .arg(device, what)};
    return Failure{QStringLiteral("COM%1 is %2, which is not a serial port: it is %3.\n%4")
                       .arg(m_number)
                       .arg(device, what, m_howToChoose)
                       .trimmed()};
}

Failure QtSerialPort::lostDeviceFailure() const
{
    return Failure{QStringLiteral("The serial port %1 stopped working during the send (%2).\n"
                                  "Check the cable or the USB adapter, then press SEND again.")
                       .arg(m_path, m_port.errorString())};
}

} // namespace kestrix
