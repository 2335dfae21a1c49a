// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortDevice.h"

namespace kestrix {

QString PortVariable(int number)
{
    return QStringLiteral("KESTRIX_COM%1").arg(number);
}

std::optional<ResolvedPort> ResolvePort(int number, const QProcessEnvironment &environment,
                                        const PortMappings *stored)
{
    if (number < kFirstPort || number > kLastPort)
        return std::nullopt;
#ifdef Q_OS_WIN
    Q_UNUSED(environment);
    Q_UNUSED(stored);
    return ResolvedPort{QStringLiteral("COM%1").arg(number), PortSource::Default};
#else
    if (const QString named = environment.value(PortVariable(number)); !named.isEmpty())
        return ResolvedPort{named, PortSource::Environment};
    if (const QString chosen = stored ? stored->storedDevice(number) : QString(); !chosen.isEmpty())
        return ResolvedPort{chosen, PortSource::Stored};
    return ResolvedPort{QStringLiteral("/dev/ttyS%1").arg(number - 1), PortSource::Default};
#endif
}

QString SourceName(PortSource source, int number)
{
    switch (source) {
    case PortSource::Environment:
        return QStringLiteral("named by %1").arg(PortVariable(number));
    case PortSource::Stored:
        return QStringLiteral("chosen and stored");
    case PortSource::Default:
        break;
    }
    return QStringLiteral("the default");
}

} // namespace kestrix
