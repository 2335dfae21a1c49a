// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfPicture.h"

#include "Geometry.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <algorithm>

namespace kestrix {

namespace {

constexpr double kMaxPictureSide = 4000; // pixels shown
constexpr int kMaxDecodedSide = 4096;    // pixels decoded
constexpr qsizetype kMinNoteData = 32;   // bytes; less is no picture at all
constexpr double kHimetricPerPixel = 2540.0 / 96;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

quint32 littleEndian32(const QByteArray &data, int at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(data[at + i]);
    return value;
}

// A device-independent bitmap lacks only the file header of a .bmp file.
QByteArray bmpFileOf(const QByteArray &dib)
{
    constexpr int kFileHeader = 14;
    constexpr int kInfoHeader = 40;
    if (dib.size() < kInfoHeader)
        return {};
    const quint32 headerSize = littleEndian32(dib, 0);
    const quint32 bitCount = static_cast<quint8>(dib[14]) | (static_cast<quint8>(dib[15]) << 8);
    const quint32 compression = littleEndian32(dib, 16);
    quint32 colours = littleEndian32(dib, 32);
    if (colours == 0 && bitCount <= 8)
        colours = 1u << bitCount;
    const quint32 masks = compression == 3 && headerSize == kInfoHeader ? 12 : 0;
    const quint64 offset = quint64(kFileHeader) + headerSize + masks + quint64(colours) * 4;
    if (headerSize < kInfoHeader || offset > quint64(dib.size()) + kFileHeader)
        return {};
    QByteArray file("BM");
    for (const quint32 value : {quint32(kFileHeader + dib.size()), 0u, quint32(offset)})
        for (int i = 0; i < 4; ++i)
            file += static_cast<char>((value >> (8 * i)) & 0xFF);
    return file + dib;
}

QString kindName(RtfPicture::Kind kind)
{
    switch (kind) {
    case RtfPicture::Kind::WindowsMetafile:
        return QStringLiteral("Windows metafile");
    case RtfPicture::Kind::EnhancedMetafile:
        return QStringLiteral("enhanced metafile");
    case RtfPicture::Kind::MacPicture:
        return QStringLiteral("Macintosh picture");
    default:
        return QStringLiteral("picture");
    }
}

} // namespace

bool RtfPicture::describe(QByteArrayView word, bool hasParameter, int n)
{
    const int positive = std::clamp(n, 0, 1'000'000);
    if (word == "pngblip")
        m_kind = Kind::Png;
    else if (word == "jpegblip")
        m_kind = Kind::Jpeg;
    else if (word == "dibitmap")
        m_kind = Kind::Bitmap;
    else if (word == "wmetafile")
        m_kind = Kind::WindowsMetafile;
    else if (word == "emfblip")
        m_kind = Kind::EnhancedMetafile;
    else if (word == "macpict")
        m_kind = Kind::MacPicture;
    else if (word == "picw")
        m_width = positive;
    else if (word == "pich")
        m_height = positive;
    else if (word == "picwgoal")
        m_goalWidth = positive;
    else if (word == "pichgoal")
        m_goalHeight = positive;
    else if (word == "picscalex")
        m_scaleX = hasParameter ? std::clamp(n, 1, 10000) : 100;
    else if (word == "picscaley")
        m_scaleY = hasParameter ? std::clamp(n, 1, 10000) : 100;
    else
        return false;
    return true;
}

void RtfPicture::addHexDigit(char c)
{
    const int value = hexDigit(c);
    if (value < 0)
        return;
    if (m_pendingNibble < 0) {
        m_pendingNibble = value;
    } else {
        m_data += static_cast<char>(m_pendingNibble * 16 + value);
        m_pendingNibble = -1;
    }
}

void RtfPicture::addBytes(QByteArrayView bytes)
{
    m_data += bytes;
}

void RtfPicture::insert(QTextCursor &cursor, int number) const
{
    const bool image = m_kind == Kind::Png || m_kind == Kind::Jpeg || m_kind == Kind::Bitmap;
    if (image && insertImage(cursor, number))
        return;
    if (m_data.size() >= kMinNoteData)
        insertNote(cursor);
}

QSizeF RtfPicture::goalSize(QSizeF natural) const
{
    const double width = m_goalWidth > 0 ? double(m_goalWidth) / kTwipsPerPixel : natural.width();
    const double height =
        m_goalHeight > 0 ? double(m_goalHeight) / kTwipsPerPixel : natural.height();
    return {std::clamp(width * m_scaleX / 100.0, 1.0, kMaxPictureSide),
            std::clamp(height * m_scaleY / 100.0, 1.0, kMaxPictureSide)};
}

bool RtfPicture::insertImage(QTextCursor &cursor, int number) const
{
    QByteArray data = m_kind == Kind::Bitmap ? bmpFileOf(m_data) : m_data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return false;
    if (size.width() > kMaxDecodedSide || size.height() > kMaxDecodedSide)
        reader.setScaledSize(size.scaled(kMaxDecodedSide, kMaxDecodedSide, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    const QUrl name(QStringLiteral("rtf-picture:%1").arg(number));
    cursor.document()->addResource(QTextDocument::ImageResource, name, image);
    const QSizeF shown = goalSize(size);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(shown.width());
    format.setHeight(shown.height());
    cursor.insertImage(format);
    return true;
}

void RtfPicture::insertNote(QTextCursor &cursor) const
{
    // Metafiles measure themselves in hundredths of a millimetre.
    const QSizeF natural = m_width > 0 && m_height > 0
                               ? QSizeF(m_width / kHimetricPerPixel, m_height / kHimetricPerPixel)
                               : QSizeF(160, 90);
    const QSizeF shown = goalSize(natural);
    QTextFrameFormat format;
    format.setWidth(QTextLength(QTextLength::FixedLength, shown.width()));
    format.setHeight(QTextLength(QTextLength::FixedLength, shown.height()));
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Dashed);
    format.setBorderBrush(Qt::gray);
    format.setPadding(4);
    QTextFrame *frame = cursor.insertFrame(format);
    cursor.insertText(QStringLiteral("(%1 not shown)").arg(kindName(m_kind)));
    cursor = frame->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
}

} // namespace kestrix
