#pragma once

// Puts the configuration frame on the wire: two 64-byte halves, each behind
// the two-byte header and followed by a checksum, paced by fixed pauses,
// with the progress shown in the send-result dialog.

#include "ConfigFrame.h"
#include "SerialPort.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace kestrix {

class Services;

using BlockHeader = std::array<std::uint8_t, 2>;
inline constexpr int kBlockFrameBytes = kFrameSize / 2;

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

// The sum of the header and the block's bytes, modulo 256.
std::uint8_t BlockChecksum(const BlockHeader &header, const QByteArray &frameHalf);

// Half 0 or 1 of the frame followed by its checksum: 65 bytes.
QByteArray Block(const ConfigFrame &frame, int half, const BlockHeader &header);

// The pauses, in milliseconds, after: the dialog appears, header 1, block 1,
// header 2, block 2, and the port is closed.
inline constexpr int kPauseBeforeFirstHeaderMs = 400;
inline constexpr int kPauseAfterHeaderMs = 10;
inline constexpr int kPauseAfterBlockMs = 400;
inline constexpr int kPauseAfterCloseMs = 400;

inline constexpr char kTransmissionFailureTitle[] = "Kestrix_DX";

// Sends frame to the port numbered by portText. A failure is shown in a
// message box titled "Kestrix_DX" and returned; the port is closed on every
// path. Returns nothing after a send that wrote all its bytes, and also when
// the port opened without error yet reads back as closed (nothing is sent).
PortFailure TransmitConfigFrame(const ConfigFrame &frame, const BlockHeader &header,
                                const QString &portText, SerialPort &port, SendProgress &progress,
                                Services &services);

// The number in the port field: its leading number, a tie going to even.
int PortNumberOf(const QString &portText);

} // namespace kestrix
