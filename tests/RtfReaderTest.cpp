// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfReader.h"
#include "QtPrinters.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

using namespace kestrix;

namespace {

QString plainText(const QByteArray &rtf)
{
    QTextDocument document;
    const kestrix::Result<> read = ReadRtf(rtf, document);
    EXPECT_TRUE(read.ok()) << read.error().toStdString();
    return document.toPlainText();
}

// The character format of the first occurrence of c.
QTextCharFormat formatOf(const QTextDocument &document, QChar c)
{
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(document.toPlainText().indexOf(c) + 1);
    return cursor.charFormat();
}

} // namespace

TEST(RtfReader, TextEscapesAndSymbols)
{
    const struct
    {
        const char *rtf;
        QString text;
    } cases[] = {
        {"{\\rtf1 Hello\\par World}", "Hello\nWorld"},
        {"{\\rtf1 one\\line two\\tab three}", "one\ntwo\tthree"},
        {"{\\rtf1 raw\r\nline ends are\nnot text}", "rawline ends arenot text"},
        {"{\\rtf1 caf\\'e8 \\'80 \\'9c}", QString::fromUtf8("café € œ").replace(u'é', u'è')},
        {"{\\rtf1 \\{braces\\} and \\\\}", "{braces} and \\"},
        {"{\\rtf1 \\'C9\\'FF}", QString::fromUtf8("Éÿ")},
        {"{\\rtf1 \\bullet\\endash\\emdash\\lquote\\rquote\\ldblquote\\rdblquote}",
         QString::fromUtf8("•–—‘’“”")},
        {"{\\rtf1 a\\~b\\_c\\-d}", QString::fromUtf8("a b‑cd")},
        {"{\\rtf1\\uc1 a\\u8364?b}", QString::fromUtf8("a€b")},
        {"{\\rtf1\\uc2 a\\u8364\\'80\\'80b}", QString::fromUtf8("a€b")},
        {"{\\rtf1\\uc0 a\\u8364 b}", QString::fromUtf8("a€b")},
        {"{\\rtf1 \\u-10179?\\u-8704?}", QString::fromUtf8("😀")},
        {"{\\rtf1{\\uc3 x}\\u8364?y}", QString::fromUtf8("x€y")}, // \uc ends with its group
        {"{\\rtf1 a\\bin3 {}\\b}", "ab"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(plainText(c.rtf), c.text) << c.rtf;
}

TEST(RtfReader, TablesAndSkippedDestinationsShowNothing)
{
    EXPECT_EQ(plainText("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                        "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}"
                        "{\\*\\generator Word;}{\\*\\unknown{nested}text}{\\pict\\pngblip 89504e}"
                        "{\\object{\\objdata 01}}{\\header head}{\\footer foot}"
                        "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}Body}"),
              "shownBody");
}

TEST(RtfReader, CharacterFormattingFollowsGroupsAndResets)
{
    QTextDocument document;
    ASSERT_TRUE(ReadRtf("{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
                        "{\\colortbl;\\red255\\green0\\blue0;}"
                        "a{\\b b}{\\i\\fs40 c}\\ul d\\ulnone e\\strike f\\strike0\\cf1 g\\plain h"
                        "\\f1 i\\b j\\b0 k}",
                        document));
    EXPECT_EQ(document.toPlainText(), "abcdefghijk");
    EXPECT_EQ(formatOf(document, 'a').fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(formatOf(document, 'a').fontWeight(), QFont::Normal);
    EXPECT_EQ(formatOf(document, 'a').fontPointSize(), 12);
    EXPECT_EQ(formatOf(document, 'b').fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(document, 'c').fontItalic());
    EXPECT_EQ(formatOf(document, 'c').fontPointSize(), 20);
    EXPECT_FALSE(formatOf(document, 'd').fontItalic());
    EXPECT_TRUE(formatOf(document, 'd').fontUnderline());
    EXPECT_FALSE(formatOf(document, 'e').fontUnderline());
    EXPECT_TRUE(formatOf(document, 'f').fontStrikeOut());
    EXPECT_EQ(formatOf(document, 'g').foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(formatOf(document, 'h').foreground().color() == QColor(255, 0, 0));
    EXPECT_EQ(formatOf(document, 'i').fontFamilies().toStringList(), QStringList{"Courier New"});
    EXPECT_EQ(formatOf(document, 'j').fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(document, 'k').fontWeight(), QFont::Normal);

    // Symbol-font letters are Greek, in a font that has Greek letters.
    ASSERT_TRUE(ReadRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0 a}", document));
    EXPECT_EQ(document.toPlainText(), QString(QChar(0x03B1)));
    EXPECT_FALSE(
        formatOf(document, QChar(0x03B1)).fontFamilies().toStringList().contains("Symbol"));
}

TEST(RtfReader, ParagraphsKeepAlignmentAndIndentsUntilPard)
{
    QTextDocument document;
    ASSERT_TRUE(ReadRtf("{\\rtf1\\pard\\qc A\\par\\pard\\li720\\ri360\\fi-360\\sb150\\qr B\\par"
                        "\\qj C\\par\\pard D}",
                        document));
    ASSERT_EQ(document.blockCount(), 4);
    const auto block = [&](int n) { return document.findBlockByNumber(n).blockFormat(); };
    EXPECT_EQ(block(0).alignment(), Qt::AlignHCenter);
    EXPECT_EQ(block(1).alignment(), Qt::AlignRight);
    EXPECT_EQ(block(1).leftMargin(), 48);
    EXPECT_EQ(block(1).rightMargin(), 24);
    EXPECT_EQ(block(1).textIndent(), -24);
    EXPECT_EQ(block(1).topMargin(), 10);
    EXPECT_EQ(block(2).alignment(), Qt::AlignJustify);
    EXPECT_EQ(block(2).leftMargin(), 48);
    EXPECT_EQ(block(3).alignment(), Qt::AlignLeft);
    EXPECT_EQ(block(3).leftMargin(), 0);
}

TEST(RtfReader, MalformedInputIsReadAsFarAsItGoes)
{
    // Mail programs nest thousands deep; none of the text is lost.
    const QByteArray deep =
        "{\\rtf1 " + QByteArray(3000, '{') + "deep\\}" + QByteArray(3000, '}') + "after}";
    const struct
    {
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"{\\rtf1 {{{{ unclosed", " unclosed"},
        {"{\\rtf1 x}}}}} extra }", "x"}, // nothing after the closing brace
        {deep, "deep}after"},
        {"{\\rtf1 \\fs99999999999999999999999 big}", "big"},
        {"{\\rtf1 \\u99999999999?a\\u-99999999?b}", "ab"},
        {"{\\rtf1 \\uc99999999 \\u8364 abcdefghijklmnopqrstuvwxyz}",
         QString::fromUtf8("€qrstuvwxyz")},
        {"{\\rtf1 a\\'", "a"},
        {"{\\rtf1 a\\'zzb", "azzb"},
        {"{\\rtf1 a\\", "a"},
        {"{\\rtf1 a\\bin99999999999 lost", "a"},
        {"{\\rtf1 a\\" + QByteArray(5000, 'x') + " b}", "ab"},
        {"{\\rtf1 a\\'00\\'01b}", "ab"},
        {"", ""},
    };
    for (const auto &c : cases) {
        QTextDocument document;
        const kestrix::Result<> read = ReadRtf(c.rtf, document);
        EXPECT_TRUE(read.ok()) << c.rtf.left(60).toStdString();
        EXPECT_EQ(document.toPlainText(), c.text) << c.rtf.left(60).toStdString();
    }
    QTextDocument big;
    ASSERT_TRUE(ReadRtf("{\\rtf1 \\fs99999999999999999999999 big}", big));
    EXPECT_EQ(formatOf(big, 'b').fontPointSize(), 500);
}

TEST(RtfReader, AFileThatIsNotRtfLeavesTheDocumentAsItWas)
{
    for (const QByteArray &notRtf : {QByteArray("plain text"), QByteArray("\xEF\xBB\xBF{\\rtf1 x}"),
                                     QByteArray("<html>{\\rtf1}</html>")}) {
        QTextDocument document;
        document.setPlainText("earlier");
        const kestrix::Result<> read = ReadRtf(notRtf, document);
        EXPECT_FALSE(read.ok());
        EXPECT_EQ(read.error(),
                  "The file is not in rich text format: it does not begin with {\\rtf.");
        EXPECT_EQ(document.toPlainText(), "earlier");
    }
}

// What word processors write beyond plain Windows-1252: code pages of
// several kinds, hidden text, footnotes, nested tables.
TEST(RtfReader, TextReadsInItsCodePageAndInItsPlace)
{
    const struct
    {
        const char *name;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"line ends with a backslash are breaks in place",
         "{\\rtf1\\ansi One\\\nTwo\\\nThree\\par Four\\line Five\\par}",
         QString::fromUtf8("One\nTwo\nThree\nFour\nFive\n")},
        {"Japanese by the font's charset",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}\\f0 "
         "\\'96\\'b3\\'90\\'fc\\'8b\\'c7}",
         QString::fromUtf8("無線局")},
        {"Chinese by the document's code page",
         "{\\rtf1\\ansi\\ansicpg936 \\'d2\\'b5\\'d3\\'e0\\'ce\\'de\\'cf\\'df\\'b5\\'e7}",
         QString::fromUtf8("业余无线电")},
        {"Thai",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset222 Tahoma;}}\\f0 \\'c7\\'d4\\'b7\\'c2\\'d8}",
         QString::fromUtf8("วิทยุ")},
        {"a font's own code page",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg1251 Arial;}}\\f0 \\'dd\\'f4\\'e8\\'f0}",
         QString::fromUtf8("Эфир")},
        {"back to the document's code page",
         "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset204 A;}{\\f1 B;}}{\\f0 \\'c6}\\f1 "
         "\\'b3}",
         QString::fromUtf8("Жł")},
        {"a code page nobody converts reads as Windows-1252",
         "{\\rtf1\\ansi\\ansicpg99999 caf\\'e9}", QString::fromUtf8("café")},
        {"hidden text", "{\\rtf1 shown{\\v hidden}\\v gone\\v0  again}",
         QString::fromUtf8("shown again")},
        {"footnotes at the end behind their numbers",
         "{\\rtf1 Text{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} Note one.} more{\\footnote "
         "Unmarked.}.\\par}",
         QString::fromUtf8(
             "Text1 "
             "more."
             "\n\n\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500"
             "\u2500\u2500\u2500\u2500\u2500\u2500\u2500\n1 Note one.\n2 Unmarked.")},
        {"charset 0 is Windows-1252 whatever the document's code page",
         "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset1 X;}{\\f2 "
         "Y;}}\\f0 caf\\'e9 {\\f1 \\'e9}{\\f2 \\'e9}}",
         QString::fromUtf8("café йй")},
        {"Japanese Word's quotes in a charset 0 font",
         "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset0 Century;}{\\f1\\fcharset128 "
         "Mincho;}}\\f0 \\'93Q\\'94 {\\f1 \\'96\\'b3}}",
         QString::fromUtf8("“Q” 無")},
        {"UTF-8 as the document's code page and a font's",
         "{\\rtf1\\ansi\\ansicpg65001{\\fonttbl{\\f0\\cpg65001 A;}{\\f1 B;}}{\\f1 "
         "\\'e4\\'b8\\'ad\\'e5\\'9c\\'8b}{\\f0 \\'c3\\'a9}}",
         QString::fromUtf8("中國é")},
        {"Mac code pages and charsets",
         "{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset89 C;}{\\f1\\fcharset88 E;}{\\f2\\fcharset78 "
         "J;}}caf\\'8e {\\f0 \\'80} {\\f1 \\'84} {\\f2 \\'96\\'b3}}",
         QString::fromUtf8("café А Ą 無")},
        {"TextEdit's Japanese", "{\\rtf1\\mac\\ansicpg10001 \\'96\\'b3\\'90\\'fc}",
         QString::fromUtf8("無線")},
        {"the Symbol font's letters and signs",
         "{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset2 Symbol;}{\\f1 Symbol;}}{\\f0 a\\'b1b\\u61553?} "
         "{\\f1 W} a}",
         QString::fromUtf8("α±βθ Ω a")},
        {"Word 6 bullets and numbers where the label's text is missing",
         "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}\\pard{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}"
         "One\\par{\\*\\pn\\pnlvlbody\\pndec\\pnstart3{\\pntxta "
         ".}}Two\\par{\\*\\pn\\pnlvlbody\\pndec"
         "\\pnstart3{\\pntxta .}}Three\\par\\pard{\\*\\pn\\pnlvlbody\\pnucrm{\\pntxtb (}{\\pntxta "
         ")}}Four\\par{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}Five}",
         QString::fromUtf8("•\tOne\n3.\tTwo\n4.\tThree\n(I)\tFour\n•\tFive")},
    };
    for (const auto &c : cases) {
        QTextDocument document;
        ASSERT_TRUE(ReadRtf(c.rtf, document)) << c.name;
        EXPECT_EQ(document.toPlainText(), c.text) << c.name;
    }
}

// A picture is decoded when first shown. One cut short shows as a note at
// once; one whose data turns out not to decode shows as a frame of its size.
TEST(RtfReader, PicturesDecodeWhenShownOrSayTheyCannot)
{
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    QByteArray garbled = png; // its chunks whole, its compressed pixels not
    garbled.replace(garbled.indexOf("IDAT") + 4, 2, QByteArray(2, 0));
    const struct
    {
        const char *name;
        QByteArray png;
        bool image;
        QRgb middleLeft; // of the image when shown
    } cases[] = {
        {"whole", png, true, qRgb(255, 0, 0)},
        {"cut short", png.chopped(12), false, 0},
        {"not decoding", garbled, true, qRgba(0, 0, 0, 0)},
    };
    for (const auto &c : cases) {
        QTextDocument document;
        ASSERT_TRUE(ReadRtf("{\\rtf1{\\pict\\pngblip " + c.png.toHex() + "}}", document));
        QTextCursor cursor(&document);
        cursor.movePosition(QTextCursor::NextCharacter);
        const QTextImageFormat format = cursor.charFormat().toImageFormat();
        ASSERT_EQ(format.isValid(), c.image) << c.name;
        if (!c.image) {
            EXPECT_EQ(document.toPlainText().trimmed(), "(picture not shown)") << c.name;
            continue;
        }
        const QImage shown =
            document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
        EXPECT_EQ(shown.size(), QSize(40, 20)) << c.name;
        EXPECT_EQ(shown.pixel(3, 10), c.middleLeft) << c.name;
    }
}
