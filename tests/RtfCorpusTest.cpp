// SPDX-License-Identifier: GPL-3.0-or-later
// Rich text as real word processors write it, each file beside the text it
// must give. The text is marked with what formatting matters to a reader:
// [c] [r] [j] for alignment, [li N fi M] for indents in twips, **bold**,
// //italic//.

#include "RtfReader.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace kestrix;

namespace {

QString marked(const QTextBlock &block)
{
    QString line;
    const QTextBlockFormat format = block.blockFormat();
    if (format.alignment() & Qt::AlignHCenter)
        line += "[c] ";
    else if (format.alignment() & Qt::AlignRight)
        line += "[r] ";
    else if (format.alignment() & Qt::AlignJustify)
        line += "[j] ";
    const int left = qRound(format.leftMargin() * 15);
    const int first = qRound(format.textIndent() * 15);
    if (left != 0 || first != 0)
        line += QStringLiteral("[li %1 fi %2] ").arg(left).arg(first);
    for (auto run = block.begin(); !run.atEnd(); ++run) {
        const QTextFragment fragment = run.fragment();
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

QString marked(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines << marked(block);
    return lines.join('\n');
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
