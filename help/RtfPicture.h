// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One picture of rich text ({\pict ...}): its kind, sizes and data, and how
// it shows in the document. PNG and JPEG pictures show as images at the
// size the file asks for, decoded when first shown; a kind that cannot be
// drawn (Windows and Mac metafiles among them) shows as a frame of that size
// with a short note, so that the reader sees that something is there, and so
// does an image that does not decode.

#include <QByteArray>
#include <QByteArrayView>
#include <QSizeF>
#include <QString>

class QTextCursor;
class QTextDocument;

namespace kestrix {

class RtfPicture
{
public:
    enum class Kind
    {
        Unknown,
        Png,
        Jpeg,
        Bitmap, // a Windows device-independent bitmap
        WindowsMetafile,
        EnhancedMetafile,
        MacPicture,
    };

    // The control words of a picture's description; false for any other.
    bool describe(QByteArrayView word, bool hasParameter, int parameter);

    // Hex digits of the data, two to a byte; anything else is ignored.
    void addHexDigits(QByteArrayView digits);
    void addBytes(QByteArrayView bytes);

    // Shows the picture at the cursor; number makes its resources' names.
    void insert(QTextCursor &cursor, int number) const;

    // Has document decode the images inserted into it when it first shows
    // them.
    static void decodeWhenShown(QTextDocument &document);

private:
    bool insertImage(QTextCursor &cursor, int number) const;
    void insertNote(QTextCursor &cursor) const;
    QSizeF goalSize(QSizeF natural) const;

    Kind m_kind = Kind::Unknown;
    int m_width = 0; // \picw, \pich: the data's own size, in units of its kind
    int m_height = 0;
    int m_goalWidth = 0; // twips
    int m_goalHeight = 0;
    int m_scaleX = 100;
    int m_scaleY = 100;
    QByteArray m_data;
    int m_pendingNibble = -1;
};

} // namespace kestrix
