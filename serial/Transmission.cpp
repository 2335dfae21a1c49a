// SPDX-License-Identifier: GPL-3.0-or-later
#include "Transmission.h"

#include "NumericText.h"
#include "Services.h"

#include <algorithm>

namespace kestrix {

int PortNumberOf(const QString &portText)
{
    const double number = RoundHalfEven(ParseLeadingNumber(portText.trimmed()));
    // Far outside the ports anyway; keeps the conversion defined.
    return static_cast<int>(std::clamp(number, -1e6, 1e6));
}

namespace {

class Transmission
{
public:
    Transmission(SerialPort &port, SendProgress &progress, Services &services)
        : m_port(port), m_progress(progress), m_services(services)
    {
    }

    Result<> run(const ConfigFrame &frame, const BlockHeader &header, const QString &portText)
    {
        // Cut now: edits made while events run during the send change nothing.
        const QByteArray headerBytes(reinterpret_cast<const char *>(header.data()), 2);
        const QByteArray block1 = Block(frame, 0, header);
        const QByteArray block2 = Block(frame, 1, header);

        if (Result<> done = m_port.setPortNumber(PortNumberOf(portText)); !done)
            return done;
        if (Result<> done = m_port.open(); !done)
            return done;
        if (!m_port.isOpen())
            return {};

        m_progress.setInfo(QStringLiteral("\r\nSending data on COM") + portText +
                           QStringLiteral("..."));
        m_progress.setOkVisible(false);
        m_progress.setHideTimerEnabled(false);
        m_progress.showModeless();
        m_services.processEvents();
        m_services.pause(kPauseBeforeFirstHeaderMs);
        addDot();

        for (const QByteArray *block : {&block1, &block2}) {
            if (Result<> done = m_port.write(headerBytes); !done)
                return done;
            m_services.pause(kPauseAfterHeaderMs);
            if (Result<> done = m_port.write(*block); !done)
                return done;
            m_services.pause(kPauseAfterBlockMs);
            addDot();
        }

        if (Result<> done = m_port.close(); !done)
            return done;
        m_services.pause(kPauseAfterCloseMs);
        m_progress.setInfo(QStringLiteral("Data sent !\r\n Be shure that the word 'OK!' appears "
                                          "on Kestrix's LCD"));
        m_progress.setOkVisible(true);
        m_progress.setHideTimerEnabled(true);
        return {};
    }

private:
    void addDot()
    {
        m_progress.setInfo(m_progress.info() + QLatin1Char('.'));
        m_services.processEvents();
    }

    SerialPort &m_port;
    SendProgress &m_progress;
    Services &m_services;
};

} // namespace

Result<> TransmitConfigFrame(const ConfigFrame &frame, const BlockHeader &header,
                             const QString &portText, SerialPort &port, SendProgress &progress,
                             Services &services)
{
    const Result<> sent = Transmission(port, progress, services).run(frame, header, portText);
    if (!sent) {
        // A port left open would block the next SEND and the window's close;
        // the failure that stopped the send is the one the operator hears of.
        if (port.isOpen())
            (void)port.close();
        services.messageBox(sent.error(), QString::fromLatin1(kTransmissionFailureTitle),
                            MessageIcon::None);
    }
    return sent;
}

} // namespace kestrix
