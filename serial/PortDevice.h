// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which device COMn is. On Windows it is COMn itself. Elsewhere, in this
// order: the device named by the environment variable KESTRIX_COM<n> (for
// scripts), the device the operator chose for COMn and the program stored,
// and /dev/ttyS<n-1>.

#include "Result.h"

#include <QProcessEnvironment>
#include <QString>

#include <optional>

namespace kestrix {

inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 16;

// The devices the operator chose for port numbers, kept between runs.
class PortMappings
{
public:
    virtual ~PortMappings() = default;
    // The stored device of port number, or empty.
    virtual QString storedDevice(int number) const = 0;
    // Stores device for port number; an empty device forgets the choice, so
    // that the number means its default again. A failure says why, for the
    // operator; the choices are then as they were.
    virtual Result<> store(int number, const QString &device) = 0;
    // Why the stored choices could not be read (none are then used), or
    // empty when they could.
    virtual QString problem() const { return {}; }
};

enum class PortSource
{
    Environment,
    Stored,
    Default,
};

struct ResolvedPort
{
    QString device;
    PortSource source;
};

// The device of port number and why it is that one; nothing outside 1 to 16.
std::optional<ResolvedPort> ResolvePort(int number, const QProcessEnvironment &environment,
                                        const PortMappings *stored);

// Where the device of port number comes from, in words for the operator:
// "named by KESTRIX_COM3", "chosen and stored" or "the default".
QString SourceName(PortSource source, int number);

// The variable that names port number's device, for messages.
QString PortVariable(int number);

} // namespace kestrix
