// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A reader for the rich text (RTF) of help files, into a QTextDocument. It
// covers what word processors write for plain documents: paragraphs, tabs and
// line breaks; bold, italic, underline, strike-through and sizes; the font and
// colour tables; alignment and indents; \'hh bytes in Windows-1252, \uN with
// its fallback skipped, and the common symbols. Pictures, objects, headers,
// footers, document information, style sheets and every \* destination are
// skipped.
//
// Malformed input is read as far as it makes sense and never hangs the
// reader: unbalanced groups are closed at the end, numbers are clamped, and
// groups nested deeper than kMaxRtfDepth are skipped whole.

#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace kestrix {

inline constexpr int kMaxRtfDepth = 100;

struct RtfRead
{
    bool ok = false;
    QString error; // why nothing was read, when not ok
};

// Replaces the content of document with rtf. Fails only for input that is
// not RTF at all; the document is then left as it was.
RtfRead ReadRtf(QByteArrayView rtf, QTextDocument &document);

} // namespace kestrix
