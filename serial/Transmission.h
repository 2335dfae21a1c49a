// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Puts the configuration frame on the wire: two 64-byte halves, each behind
// the two-byte header and followed by a checksum, paced by fixed pauses,
// with the progress shown in the send-result dialog.

#include "FrameBlocks.h"
#include "SerialPort.h"

#include <QByteArray>
#include <QString>

namespace kestrix {

class Services;

// Where a transmission shows its progress and result.
class SendProgress
{
public:
    virtual ~SendProgress() = default;
    virtual QString info() = 0;
    virtual void setInfo(const QString &text) = 0;
    virtual void setOkVisible(bool visible) = 0;
    virtual void setHideTimerEnabled(bool enabled) = 0;
    virtual void showModeless() = 0;
};

inline constexpr char kTransmissionFailureTitle[] = "Kestrix_DX";

// Sends frame to the port numbered by portText. A failure is shown in a
// message box titled "Kestrix_DX" and returned; the port is closed on every
// path. Returns nothing after a send that wrote all its bytes, and also when
// the port opened without error yet reads back as closed (nothing is sent).
Result<> TransmitConfigFrame(const ConfigFrame &frame, const BlockHeader &header,
                             const QString &portText, SerialPort &port, SendProgress &progress,
                             Services &services);

// The number in the port field: its leading number, a tie going to even.
int PortNumberOf(const QString &portText);

} // namespace kestrix
