// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the configuration file reader. Besides not crashing,
// every file it accepts must survive a write and a second read unchanged.

#include "ConfigFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const kestrix::ConfigRead read = kestrix::ReadConfigFile(bytes);
    if (!read.settings) {
        if (read.error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    const kestrix::ConfigWrite written = kestrix::WriteConfigFile(*read.settings);
    if (!written.bytes)
        return 0; // a text the writer refuses, such as one with a quote
    const kestrix::ConfigRead again = kestrix::ReadConfigFile(*written.bytes);
    if (!again.settings || !(*again.settings == *read.settings))
        std::abort();
    return 0;
}
