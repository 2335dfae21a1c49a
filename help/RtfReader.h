// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A reader for the rich text (RTF) of help files, into a QTextDocument. It
// covers what word processors write for documents: paragraphs, their
// direction, alignment, indents and tab stops of every kind; bold, italic,
// underline, strike-through and sizes, with the associated properties of
// right-to-left and double-byte text; the font and colour tables; text in
// any code page, by the fonts' charsets; \uN with its fallback skipped;
// lists' labels, Word 6 numbering too; footnotes at the end; tables, nested
// ones too, as tables; PNG, JPEG and bitmap pictures as images, other
// pictures as a frame of their size. Objects, headers, footers, document
// information, style sheets and the \* destinations that hold no text are
// skipped.
//
// Malformed input is read as far as it makes sense and never hangs the
// reader: unbalanced groups are closed at the end, numbers are clamped, and
// time and memory grow in step with the input, however deep its groups.

#include "Result.h"

#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace kestrix {

// Replaces the content of document with rtf. Fails only for input that is
// not RTF at all; the document is then left as it was.
Result<> ReadRtf(QByteArrayView rtf, QTextDocument &document);

} // namespace kestrix
