// SPDX-License-Identifier: GPL-3.0-or-later
// How long the instructions window takes to show rich text of growing size:
// many formatting runs in one paragraph, many colour runs, many paragraphs,
// table rows, and screenshots as pictures. The times should grow in step
// with the size.
//
// Reproduce: scripts/bench.sh rtf (or build/bench/rtf_bench)

#include "RtfReader.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>
#include <functional>

using namespace kestrix;

namespace {

// A document of n times unit after head.
QByteArray repeated(const QByteArray &head, const QByteArray &unit, int n, const QByteArray &tail)
{
    QByteArray rtf = head;
    for (int i = 0; i < n; ++i)
        rtf += unit;
    return rtf + tail;
}

QByteArray boldRuns(int n)
{
    return repeated("{\\rtf1\\ansi ", "\\b a\\b0 b", n, "\\par}");
}

QByteArray boldWords(int n)
{
    return repeated("{\\rtf1\\ansi ", "\\b bold\\b0  plain ", n, "\\par}");
}

QByteArray colourRuns(int n)
{
    return repeated("{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}",
                    "{\\cf1 red text }{\\cf2 blue text }", n, "\\par}");
}

QByteArray paragraphs(int n)
{
    return repeated("{\\rtf1\\ansi ", "A plain paragraph of help text.\\par ", n, "}");
}

QByteArray tableRows(int n)
{
    return repeated("{\\rtf1\\ansi ",
                    "\\trowd\\trgaph108\\clbrdrb\\brdrs\\brdrw10\\cellx2000\\cellx4000\\cellx6000"
                    "\\pard\\intbl Band\\cell 14.000 MHz\\cell CW\\cell\\row ",
                    n, "\\pard\\par}");
}

// A screenshot-like picture: flat areas with some text, as PNG.
QByteArray screenshotHex()
{
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::lightGray);
    QPainter painter(&image);
    for (int y = 10; y < 190; y += 24) {
        painter.fillRect(10, y, 300, 18, Qt::white);
        painter.drawText(14, y + 14, QStringLiteral("Suspend timer 30 s, beep on"));
    }
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

QByteArray pictures(int n)
{
    static const QByteArray hex = screenshotHex();
    return repeated("{\\rtf1\\ansi ",
                    "Step:\\par{\\*\\shppict{\\pict\\picw320\\pich200\\picwgoal4800\\pichgoal3000"
                    "\\pngblip " +
                        hex + "}}\\par ",
                    n, "}");
}

void measure(const char *kind, int n, const QByteArray &rtf)
{
    QTextEdit view;
    view.resize(650, 400);
    view.show();
    QElapsedTimer clock;
    clock.start();
    auto *document = new QTextDocument(&view);
    if (!ReadRtf(rtf, *document))
        qFatal("the benchmark's text is not read as RTF");
    const qint64 readMs = clock.elapsed();
    view.setDocument(document);
    view.grab(); // the first screenful laid out and painted
    const qint64 shownMs = clock.elapsed();
    std::printf("%-11s %7d %9.1f %9lld %9lld %9.0f\n", kind, n, rtf.size() / 1024.0, readMs,
                shownMs, shownMs / (rtf.size() / 1048576.0));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("%-11s %7s %9s %9s %9s %9s\n", "kind", "count", "KiB", "read ms", "shown ms",
                "ms per MiB");
    const std::pair<const char *, std::function<QByteArray(int)>> kinds[] = {
        {"bold runs", boldRuns},
        {"bold words", boldWords},
        {"colour runs", colourRuns},
        {"paragraphs", paragraphs},
        {"table rows", tableRows}};
    for (const auto &[kind, make] : kinds)
        for (const int n : {1000, 5000, 10000, 50000})
            measure(kind, n, make(n));
    measure("paragraphs", 400000, paragraphs(400000));
    for (const int n : {40, 400})
        measure("pictures", n, pictures(n));
    return 0;
}
