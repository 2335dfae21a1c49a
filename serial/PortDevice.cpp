#include "PortDevice.h"

namespace kestrix {

QString PortVariable(int number)
{
    return QStringLiteral("KESTRIX_COM%1").arg(number);
}

std::optional<QString> DeviceForPort(int number, const QProcessEnvironment &environment)
{
    if (number < kFirstPort || number > kLastPort)
        return std::nullopt;
#ifdef Q_OS_WIN
    Q_UNUSED(environment);
    return QStringLiteral("COM%1").arg(number);
#else
    const QString configured = environment.value(PortVariable(number));
    if (!configured.isEmpty())
        return configured;
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

} // namespace kestrix
