// SPDX-License-Identifier: GPL-3.0-or-later
// Rich text as real word processors write it, each file beside the text it
// must give. The text is marked with what formatting matters to a reader:
// [c] [r] [j] for alignment, [rtl] for a right-to-left paragraph, [li N fi
// M] for indents in twips (leading side first), **bold**, //italic//,
// [image WxH] for a picture of that size in pixels, [frame: text] for a
// framed note, a table's row as | cell | cell | with a nested table's rows
// in [ ] inside its cell, and a cell's paragraphs joined by " / ".

#include "RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>

#include <gtest/gtest.h>

using namespace kestrix;

namespace {

QString marked(const QTextBlock &block)
{
    QString line;
    const QTextBlockFormat format = block.blockFormat();
    const bool rightToLeft = format.layoutDirection() == Qt::RightToLeft;
    if (rightToLeft)
        line += "[rtl] ";
    if (format.alignment() & Qt::AlignHCenter)
        line += "[c] ";
    else if (format.alignment() & Qt::AlignRight)
        line += "[r] ";
    else if (format.alignment() & Qt::AlignJustify)
        line += "[j] ";
    const int leading = qRound((rightToLeft ? format.rightMargin() : format.leftMargin()) * 15);
    const int first = qRound(format.textIndent() * 15);
    if (leading != 0 || first != 0)
        line += QStringLiteral("[li %1 fi %2] ").arg(leading).arg(first);
    for (auto run = block.begin(); !run.atEnd(); ++run) {
        const QTextFragment fragment = run.fragment();
        if (fragment.charFormat().isImageFormat()) {
            const QTextImageFormat image = fragment.charFormat().toImageFormat();
            line += QStringLiteral("[image %1x%2]").arg(image.width()).arg(image.height());
            continue;
        }
        QString text = fragment.text().replace(QChar::LineSeparator, QChar('\n'));
        if (text.trimmed().isEmpty()) {
            line += text;
            continue;
        }
        if (fragment.charFormat().fontItalic())
            text = "//" + text + "//";
        if (fragment.charFormat().fontWeight() >= QFont::Bold)
            text = "**" + text + "**";
        line += text;
    }
    return line;
}

QStringList markedLines(QTextFrame *frame);

// Rows as | a | b |; a cell spanning several columns or rows shows once.
QStringList markedTable(QTextTable *table)
{
    QStringList rows;
    for (int row = 0; row < table->rows(); ++row) {
        QString line = "|";
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            QStringList content;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (auto *nested = qobject_cast<QTextTable *>(it.currentFrame()))
                    content << "[" + markedTable(nested).join(' ') + "]";
                else if (it.currentBlock().isValid() && !it.currentBlock().text().isEmpty())
                    content << marked(it.currentBlock());
            }
            line += " " + content.join(" / ") + " |";
        }
        rows << line;
    }
    return rows;
}

QStringList markedLines(QTextFrame *frame)
{
    QStringList lines;
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (auto *table = qobject_cast<QTextTable *>(it.currentFrame()))
            lines << markedTable(table);
        else if (it.currentFrame())
            lines << "[frame: " + markedLines(it.currentFrame()).join(' ') + "]";
        else if (const QTextBlock block = it.currentBlock();
                 block.blockFormat().lineHeightType() != QTextBlockFormat::FixedHeight ||
                 block.length() > 1)
            lines << marked(block); // not the spacer Qt keeps before a table
    }
    return lines;
}

QString marked(const QTextDocument &document)
{
    return markedLines(document.rootFrame()).join('\n');
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(RtfCorpus, EveryFileGivesItsTextAndFormatting)
{
    const QDir corpus(QStringLiteral(KESTRIX_RTF_CORPUS));
    const QStringList files = corpus.entryList({"*.rtf"}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 6);
    for (const QString &name : files) {
        QTextDocument document;
        ASSERT_TRUE(ReadRtf(contentOf(corpus.filePath(name)), document)) << name.toStdString();
        const QString expected =
            QString::fromUtf8(contentOf(corpus.filePath(QString(name).replace(".rtf", ".txt"))));
        EXPECT_EQ(marked(document), expected.chopped(expected.endsWith('\n') ? 1 : 0))
            << name.toStdString();
    }
}

// A list item's text after its bullet and tab lines up with its wrapped lines.
TEST(RtfCorpus, AListItemsTextLinesUpWithItsWrappedLines)
{
    QTextDocument document;
    ASSERT_TRUE(
        ReadRtf(contentOf(QStringLiteral(KESTRIX_RTF_CORPUS "/libreoffice-list.rtf")), document));
    document.setTextWidth(300);
    document.size(); // lays the document out
    const QTextBlock item = document.findBlock(document.toPlainText().indexOf("Connect"));
    QTextLayout *layout = item.layout();
    ASSERT_GE(layout->lineCount(), 2);
    const int afterTab = item.text().indexOf("Connect");
    const qreal firstLineText = layout->lineAt(0).cursorToX(afterTab);
    const qreal wrappedLine = layout->lineAt(1).x();
    EXPECT_NEAR(firstLineText, wrappedLine, 0.5);
    EXPECT_LT(layout->lineAt(0).x(), wrappedLine); // the bullet hangs left of them
}

// Tab stops stand where RTF puts them, from the margin, past a left indent
// too; beyond them, and in a paragraph without stops or indents, the
// document's default stops follow at \deftab.
TEST(RtfCorpus, TabStopsStandFromTheMarginAndThenEveryDeftab)
{
    QTextDocument document;
    ASSERT_TRUE(ReadRtf(
        "{\\rtf1\\deftab1440\\pard\\li720\\tx2160 a\\tab b\\tab c\\par\\pard x\\tab y\\tab z}",
        document));
    document.size();
    const auto xOf = [](const QTextBlock &block, char c) {
        return block.layout()->lineAt(0).cursorToX(block.text().indexOf(c));
    };
    EXPECT_NEAR(xOf(document.begin(), 'b'), 2160 / 15.0, 0.5);
    EXPECT_NEAR(xOf(document.begin(), 'c'), 2880 / 15.0, 0.5);
    EXPECT_NEAR(xOf(document.lastBlock(), 'y'), 1440 / 15.0, 0.5);
    EXPECT_NEAR(xOf(document.lastBlock(), 'z'), 2880 / 15.0, 0.5);
}

namespace {

QRectF boxOf(QTextDocument &document, const QTextBlock &block)
{
    return document.documentLayout()->blockBoundingRect(block);
}

} // namespace

// A table's columns stand where the file's \cellx puts them, the same in
// every row; a picture is in the document at its size, its image with it.
TEST(RtfCorpus, TableColumnsLineUpAndPicturesHaveTheirSize)
{
    QTextDocument document;
    ASSERT_TRUE(
        ReadRtf(contentOf(QStringLiteral(KESTRIX_RTF_CORPUS "/libreoffice-pictures-tables.rtf")),
                document));
    document.setTextWidth(700);
    document.size();
    QTextTable *table = nullptr;
    for (auto it = document.rootFrame()->begin(); !it.atEnd() && !table; ++it)
        table = qobject_cast<QTextTable *>(it.currentFrame());
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columns(), 2);
    const auto cellX = [&](int row, int column) {
        return boxOf(document, table->cellAt(row, column).firstCursorPosition().block()).x();
    };
    for (const int row : {1, 3})
        EXPECT_NEAR(cellX(row, 1), cellX(0, 1), 0.5) << row;
    EXPECT_NEAR(cellX(0, 1) - cellX(0, 0), 1581 / 15.0, 2);
    EXPECT_EQ(table->cellAt(2, 0).columnSpan(), 2); // the shaded row's one cell
    EXPECT_EQ(table->cellAt(3, 0).rowSpan(), 2);    // merged down
    EXPECT_EQ(table->cellAt(2, 0).format().background().color(), QColor(255, 255, 0));

    const QTextBlock pictureLine = document.findBlock(document.toPlainText().indexOf("the SEND"));
    QTextCursor atPicture(pictureLine);
    atPicture.movePosition(QTextCursor::NextCharacter);
    const QTextImageFormat picture = atPicture.charFormat().toImageFormat();
    ASSERT_TRUE(picture.isValid());
    EXPECT_EQ(document.resource(QTextDocument::ImageResource, QUrl(picture.name()))
                  .value<QImage>()
                  .size(),
              QSize(48, 24));
    EXPECT_GE(pictureLine.layout()->lineAt(0).height(), 48);
}

// Right, centre and decimal stops align the text's end, middle and point.
TEST(RtfCorpus, TabStopsOfEachKindAlignTheirText)
{
    QTextDocument document;
    ASSERT_TRUE(ReadRtf(contentOf(QStringLiteral(KESTRIX_RTF_CORPUS "/libreoffice-tab-stops.rtf")),
                        document));
    document.size();
    for (const QTextBlock &block : {document.begin(), document.begin().next()}) {
        const QString text = block.text();
        const QTextLine line = block.layout()->lineAt(0);
        const int first = text.indexOf('\t', 1);
        const int second = text.indexOf('\t', first + 1);
        EXPECT_NEAR(line.cursorToX(first), 1701 / 15.0, 1) << text.toStdString();
        EXPECT_NEAR((line.cursorToX(first + 1) + line.cursorToX(second)) / 2, 3402 / 15.0, 1);
        EXPECT_NEAR(line.cursorToX(text.indexOf('.')), 5102 / 15.0, 1);
    }
}

// A right-to-left list item has its bullet on the right, inside the page,
// and its text to the bullet's left, at a tab stop.
TEST(RtfCorpus, RightToLeftItemsKeepTheirBulletOnTheRight)
{
    QTextDocument document;
    ASSERT_TRUE(ReadRtf(contentOf(QStringLiteral(KESTRIX_RTF_CORPUS "/libreoffice-rtl-lists.rtf")),
                        document));
    document.setTextWidth(400);
    document.size();
    const QTextBlock item = document.findBlock(document.toPlainText().indexOf(QChar(0x2022)));
    const QTextLine line = item.layout()->lineAt(0);
    const qreal bullet = line.cursorToX(0);
    EXPECT_GT(bullet, line.cursorToX(item.text().indexOf('\t') + 2));
    // The text starts at the first default stop past the first line's
    // start (\li709 + \fi992), counted from the right; Qt rounds a
    // right-to-left stop by a pixel or two.
    EXPECT_NEAR(bullet - line.cursorToX(item.text().indexOf('\t') + 1), (2160 - 1701) / 15.0, 3);
    EXPECT_LE(bullet, 400 - item.blockFormat().rightMargin());
    EXPECT_GE(line.naturalTextRect().left(), 0);
}
