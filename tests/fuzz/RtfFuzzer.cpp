// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the rich text reader: any input must leave it with a
// document, no crash, no hang and no sanitizer report.

#include "RtfReader.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

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
    // Pictures decode when shown: decode them all, as scrolling through would.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto run = block.begin(); !run.atEnd(); ++run)
            if (const QTextImageFormat image = run.fragment().charFormat().toImageFormat();
                image.isValid())
                document.resource(QTextDocument::ImageResource, QUrl(image.name()));
    return 0;
}
