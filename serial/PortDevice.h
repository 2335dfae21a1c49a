#pragma once

// Which device COMn is. On Windows it is COMn itself. Elsewhere the
// environment variable KESTRIX_COM<n> names any device (a USB adapter, a
// /dev/serial/by-id link, a pseudo-terminal), and /dev/ttyS<n-1> is the
// fallback.

#include <QProcessEnvironment>
#include <QString>

#include <optional>

namespace kestrix {

inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 16;

// The device of port number, or nothing outside 1 to 16.
std::optional<QString> DeviceForPort(int number, const QProcessEnvironment &environment);

// The variable that names port number's device, for messages.
QString PortVariable(int number);

} // namespace kestrix
