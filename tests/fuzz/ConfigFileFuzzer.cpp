// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the configuration file reader. Besides not crashing,
// every file it accepts must survive a write and a second read unchanged.

#include "ConfigFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const kestrix::Result<kestrix::DeviceSettings> read = kestrix::ReadConfigFile(bytes);
    if (!read.ok()) {
        if (read.error().isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    const kestrix::Result<QByteArray> written = kestrix::WriteConfigFile(*read);
    if (!written.ok())
        return 0; // a text the writer refuses, such as one with a quote
    const kestrix::Result<kestrix::DeviceSettings> again = kestrix::ReadConfigFile(*written);
    if (!again.ok() || !(*again == *read))
        std::abort();
    return 0;
}
