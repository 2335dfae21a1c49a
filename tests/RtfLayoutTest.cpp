// SPDX-License-Identifier: GPL-3.0-or-later
// Where read rich text stands once laid out: lists, tab stops, tables and
// pictures, in pixels worked out from the files' twips (15 to a pixel).

#include "RtfReader.h"

#include <QAbstractTextDocumentLayout>
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

// A file of tests/data/rtf, or RTF itself, read and laid out.
struct LaidOut
{
    QTextDocument document;

    explicit LaidOut(const QByteArray &source, qreal width = -1)
    {
        QFile file(QStringLiteral(KESTRIX_TESTS "/data/rtf/") + source);
        const bool isRtf = source.startsWith('{');
        EXPECT_TRUE(isRtf || file.open(QIODevice::ReadOnly)) << source.constData();
        EXPECT_TRUE(ReadRtf(isRtf ? source : file.readAll(), document));
        document.setTextWidth(width);
        document.size();
    }
    int at(const QString &text) const { return document.toPlainText().indexOf(text); }
    // Where the character at position starts, on its line.
    qreal x(int position) const
    {
        const QTextBlock block = document.findBlock(position);
        const int inBlock = position - block.position();
        return block.layout()->lineForTextPosition(inBlock).cursorToX(inBlock);
    }
};

} // namespace

// A list item's text after its bullet and tab lines up with its wrapped
// lines; the bullet hangs left of them.
TEST(RtfLayout, AListItemsTextLinesUpWithItsWrappedLines)
{
    const LaidOut list("libreoffice-list.rtf", 300);
    const QTextLayout *item = list.document.findBlock(list.at("Connect")).layout();
    ASSERT_GE(item->lineCount(), 2);
    EXPECT_NEAR(list.x(list.at("Connect")), item->lineAt(1).x(), 0.5);
    EXPECT_LT(item->lineAt(0).x(), item->lineAt(1).x());
}

// Stops stand from the margin, past a left indent too; beyond them, and in
// a paragraph without any, the document's default stops every \deftab.
// Right, centre and decimal stops align the text's end, middle and point.
TEST(RtfLayout, TabStopsOfEachKindStandWhereTheFileSays)
{
    const LaidOut tabs("{\\rtf1\\deftab1440\\pard\\li720\\tx2160 a\\tab b\\tab c\\par\\pard x\\tab "
                       "y\\tab z}");
    for (const auto &[text, twips] : {std::pair{"b", 2160}, {"c", 2880}, {"y", 1440}, {"z", 2880}})
        EXPECT_NEAR(tabs.x(tabs.at(text)), twips / 15.0, 0.5) << text;

    const LaidOut kinds("libreoffice-tab-stops.rtf");
    for (const QTextBlock &block : {kinds.document.begin(), kinds.document.begin().next()}) {
        const auto x = [&](int inBlock) { return kinds.x(block.position() + inBlock); };
        const int first = block.text().indexOf('\t', 1);
        const int second = block.text().indexOf('\t', first + 1);
        EXPECT_NEAR(x(first), 1701 / 15.0, 1) << block.text().toStdString();
        EXPECT_NEAR((x(first + 1) + x(second)) / 2, 3402 / 15.0, 1);
        EXPECT_NEAR(x(block.text().indexOf('.')), 5102 / 15.0, 1);
    }
}

// A table's columns stand where the file's \cellx puts them, the same in
// every row, its shading with them; a picture comes with its image.
TEST(RtfLayout, TableColumnsLineUpAndPicturesHaveTheirImage)
{
    LaidOut page("libreoffice-pictures-tables.rtf", 700);
    QTextTable *table = nullptr;
    for (auto it = page.document.rootFrame()->begin(); !it.atEnd() && !table; ++it)
        table = qobject_cast<QTextTable *>(it.currentFrame());
    ASSERT_NE(table, nullptr);
    const auto cellX = [&](int row, int column) {
        return page.document.documentLayout()
            ->blockBoundingRect(table->cellAt(row, column).firstCursorPosition().block())
            .x();
    };
    EXPECT_NEAR(cellX(1, 1), cellX(0, 1), 0.5);
    EXPECT_NEAR(cellX(3, 1), cellX(0, 1), 0.5);
    EXPECT_NEAR(cellX(0, 1) - cellX(0, 0), 1581 / 15.0, 2);
    EXPECT_EQ(table->cellAt(2, 0).format().background().color(), QColor(255, 255, 0));

    const int picture = page.document.findBlock(page.at("the SEND")).position() + 1;
    QTextCursor atPicture(&page.document);
    atPicture.setPosition(picture);
    const QString name = atPicture.charFormat().toImageFormat().name();
    EXPECT_EQ(
        page.document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>().size(),
        QSize(48, 24));
    EXPECT_GE(page.document.findBlock(picture).layout()->lineAt(0).height(), 48);
}

// A right-to-left list item has its bullet on the right, inside the page,
// and its text to the bullet's left at the first default stop past the
// first line's start (\li709 + \fi992), counted from the right; Qt rounds a
// right-to-left stop by a pixel or two.
TEST(RtfLayout, RightToLeftItemsKeepTheirBulletOnTheRight)
{
    const LaidOut page("libreoffice-rtl-lists.rtf", 400);
    const int bullet = page.at(QString(QChar(0x2022)));
    const QTextBlock item = page.document.findBlock(bullet);
    const int text = item.position() + item.text().indexOf('\t') + 1;
    EXPECT_GT(page.x(bullet), page.x(text + 1));
    EXPECT_NEAR(page.x(bullet) - page.x(text), (2160 - 1701) / 15.0, 3);
    EXPECT_LE(page.x(bullet), 400 - item.blockFormat().rightMargin());
    EXPECT_GE(item.layout()->lineAt(0).naturalTextRect().left(), 0);
}
