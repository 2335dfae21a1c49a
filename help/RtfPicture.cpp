// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfPicture.h"

#include "Geometry.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <QtEndian>

#include <algorithm>

namespace kestrix {

namespace {

constexpr double kMaxPictureSide = 4000; // pixels shown
constexpr int kMaxDecodedSide = 4096;    // pixels decoded
constexpr qsizetype kMinNoteData = 32;   // bytes; less is no picture at all
constexpr double kHimetricPerPixel = 2540.0 / 96;
// A picture's file stays in the document under one name; the image decoded
// from it, when first shown, under the other.
constexpr QLatin1StringView kImageScheme("rtf-picture");
constexpr QLatin1StringView kFileScheme("rtf-picture-file");

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

QUrl nameOf(QLatin1StringView scheme, int number)
{
    return QUrl(QString(scheme) + QLatin1Char(':') + QString::number(number));
}

// The size an image file gives in its header; invalid for no image at all.
QSize headerSize(QByteArray file)
{
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

// Whether a PNG or JPEG file goes on to its end, as one cut short does not;
// other kinds show whether they decode when shown.
bool looksWhole(const QByteArray &file)
{
    static const QByteArray png("\x89PNG\r\n\x1A\n", 8);
    if (file.startsWith(png)) {
        // Chunks of length, type, data and check, up to the end chunk.
        for (qsizetype at = png.size(); at + 8 <= file.size();) {
            const quint32 length = qFromBigEndian<quint32>(file.constData() + at);
            if (file.sliced(at + 4, 4) == "IEND")
                return true;
            at += 12 + qsizetype(length);
        }
        return false;
    }
    if (file.startsWith("\xFF\xD8"))
        return file.lastIndexOf("\xFF\xD9") > 1;
    return true;
}

// What shows where a picture does not decode: a frame of its shape with a
// note, in the colours of the text, drawn small and scaled to the picture's
// size where it shows.
QImage undecodedPicture(QSize size)
{
    constexpr int kMaxSide = 1024;
    if (size.width() > kMaxSide || size.height() > kMaxSide)
        size.scale(kMaxSide, kMaxSide, Qt::KeepAspectRatio);
    QImage image(size.expandedTo({8, 8}), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QColor text = QGuiApplication::palette().color(QPalette::Text);
    painter.setPen(QPen(text, 1, Qt::DashLine));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.setPen(text);
    painter.drawText(image.rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("(picture not shown)"));
    return image;
}

QVariant decodedPicture(const QTextDocument &document, const QUrl &name)
{
    if (name.scheme() != kImageScheme)
        return {};
    QUrl fileName = name;
    fileName.setScheme(kFileScheme);
    QByteArray file = document.resource(QTextDocument::ImageResource, fileName).toByteArray();
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.width() > kMaxDecodedSide || size.height() > kMaxDecodedSide)
        reader.setScaledSize(size.scaled(kMaxDecodedSide, kMaxDecodedSide, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    return image.isNull() ? undecodedPicture(size) : image;
}

} // namespace

void RtfPicture::decodeWhenShown(QTextDocument &document)
{
    document.setResourceProvider(
        [&document](const QUrl &name) { return decodedPicture(document, name); });
}

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

void RtfPicture::addHexDigits(QByteArrayView digits)
{
    // Written straight into the data: most of a file with pictures is here.
    const qsizetype before = m_data.size();
    m_data.resize(before + (digits.size() + 1) / 2);
    char *out = m_data.data() + before;
    for (const char c : digits) {
        const int value = hexDigit(c);
        if (value < 0)
            continue;
        if (m_pendingNibble < 0) {
            m_pendingNibble = value;
        } else {
            *out++ = static_cast<char>(m_pendingNibble * 16 + value);
            m_pendingNibble = -1;
        }
    }
    m_data.truncate(out - m_data.constData());
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

// Decoding is most of the time a picture takes: it waits until the picture
// is shown, and only the header is read now.
bool RtfPicture::insertImage(QTextCursor &cursor, int number) const
{
    const QByteArray file = m_kind == Kind::Bitmap ? bmpFileOf(m_data) : m_data;
    const QSize size = headerSize(file);
    if (!size.isValid() || size.isEmpty() || !looksWhole(file))
        return false;
    cursor.document()->addResource(QTextDocument::ImageResource, nameOf(kFileScheme, number), file);
    const QSizeF shown = goalSize(size);
    QTextImageFormat format;
    format.setName(nameOf(kImageScheme, number).toString());
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
