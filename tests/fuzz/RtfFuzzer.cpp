// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the rich text reader: any input must leave it with a
// document, no crash, no hang and no sanitizer report.

#include "RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Fonts need a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QTextDocument document;
    const auto bytes =
        QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const kestrix::Result<> read = kestrix::ReadRtf(bytes, document);
    // The document holds no more characters than the input has bytes, but
    // for footnotes' rule and numbers, each of which takes bytes too.
    if (read && document.characterCount() > 2 * static_cast<int>(size) + 24)
        std::abort();
    return 0;
}
