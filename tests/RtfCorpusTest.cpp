// SPDX-License-Identifier: GPL-3.0-or-later
// Rich text as real word processors write it, each file beside the text it
// must give. The text is marked with what formatting matters to a reader:
// [c] [r] [j] for alignment, [rtl] for a right-to-left paragraph, [li N fi
// M] for indents in twips (leading side first), **bold**, //italic//,
// [image WxH] for a picture of that size in pixels, [frame: text] for a
// framed note, a table's row as | cell | cell | with a nested table's rows
// in [ ] inside its cell, and a cell's paragraphs joined by " / ".

#include "RtfReader.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

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
        ASSERT_TRUE(ReadRtf(contentOf(corpus.filePath(name)), document).ok) << name.toStdString();
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
    ReadRtf(contentOf(QStringLiteral(KESTRIX_RTF_CORPUS "/libreoffice-list.rtf")), document);
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
// too; beyond them the document's default stops follow at \deftab.
TEST(RtfCorpus, TabStopsStandFromTheMarginAndThenEveryDeftab)
{
    QTextDocument document;
    ReadRtf("{\\rtf1\\deftab1440\\pard\\li720\\tx2160 a\\tab b\\tab c\\par}", document);
    document.size();
    const QTextBlock block = document.begin();
    const QTextLine line = block.layout()->lineAt(0);
    EXPECT_NEAR(line.cursorToX(block.text().indexOf('b')), 2160 / 15.0, 0.5);
    EXPECT_NEAR(line.cursorToX(block.text().indexOf('c')), 2880 / 15.0, 0.5);
}
