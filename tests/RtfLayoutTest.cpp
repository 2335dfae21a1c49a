// SPDX-License-Identifier: GPL-3.0-or-later
// Where read rich text stands once laid out: tab stops, tables and a
// right-to-left list, in pixels worked out from the files' twips (15 to a pixel).

#include "RtfReader.h"
#include "Scenario.h"

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
        const QString path = QStringLiteral(KESTRIX_TESTS "/data/rtf/") + source;
        EXPECT_TRUE(ReadRtf(source.startsWith('{') ? source : ContentOf(path), document));
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

// Stops stand from the margin, past a left indent too; beyond them, and in
// a paragraph without any, the document's default stops every \deftab. The
// reader hands Qt stops counted from where the first line starts, and the
// kinds of stop as they are (rtf/cases/formats.txt): here, that Qt lays them
// out where the file says.
TEST(RtfLayout, TabStopsStandWhereTheFileSays)
{
    const LaidOut tabs("{\\rtf1\\deftab1440\\pard\\li720\\tx2160 a\\tab b\\tab c\\par\\pard x\\tab "
                       "y\\tab z}");
    for (const auto &[text, twips] : {std::pair{"b", 2160}, {"c", 2880}, {"y", 1440}, {"z", 2880}})
        EXPECT_NEAR(tabs.x(tabs.at(text)), twips / 15.0, 0.5) << text;
}

// A table's columns stand where the file's \cellx puts them, the same in
// every row. (Its shading and pictures: the marked text, rtf/cases.)
TEST(RtfLayout, TableColumnsLineUp)
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
