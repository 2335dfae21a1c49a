// SPDX-License-Identifier: GPL-3.0-or-later
// How long the instructions window takes to show rich text of growing size:
// many formatting runs in one paragraph, many colour runs, many paragraphs.
// The times should grow in step with the size.
//
// Reproduce: scripts/bench.sh rtf (or build/bench/rtf_bench)

#include "RtfReader.h"

#include <QApplication>
#include <QElapsedTimer>
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

void measure(const char *kind, int n, const QByteArray &rtf)
{
    QTextEdit view;
    view.resize(650, 400);
    view.show();
    QElapsedTimer clock;
    clock.start();
    auto *document = new QTextDocument(&view);
    ReadRtf(rtf, *document);
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
        {"paragraphs", paragraphs}};
    for (const auto &[kind, make] : kinds)
        for (const int n : {1000, 5000, 10000, 50000})
            measure(kind, n, make(n));
    measure("paragraphs", 400000, paragraphs(400000));
    return 0;
}
