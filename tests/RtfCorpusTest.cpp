// SPDX-License-Identifier: GPL-3.0-or-later
// Rich text and the text it must give, marked with the formatting that
// matters to a reader: word processors' files in tests/data/rtf, each
// beside its text, and short cases, many to a file, in tests/data/rtf/cases.
// tests/data/rtf/README.md says how the text is marked.

#include "RtfReader.h"
#include "Scenario.h"

#include <QDir>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

using namespace kestrix;

namespace {

// In full: families, size, underline, strike-through and colour of a run.
QString font(const QTextCharFormat &format)
{
    const QString families = format.fontFamilies().toStringList().join(',');
    QString font = QStringLiteral("{%1 %2").arg(families.isEmpty() ? "default" : families);
    font = font.arg(format.fontPointSize()) + (format.fontUnderline() ? " u" : "") +
           (format.fontStrikeOut() ? " s" : "");
    if (format.foreground().style() != Qt::NoBrush)
        font += " " + format.foreground().color().name();
    return font + "}";
}

QString image(const QTextBlock &block, const QTextImageFormat &format, bool full)
{
    QString mark = QStringLiteral("[image %1x%2").arg(format.width()).arg(format.height());
    if (full) {
        const QImage shown = block.document()
                                 ->resource(QTextDocument::ImageResource, QUrl(format.name()))
                                 .value<QImage>();
        mark +=
            QStringLiteral(" shown %1x%2 %3")
                .arg(shown.width())
                .arg(shown.height())
                .arg(QColor::fromRgba(shown.pixel(3, shown.height() / 2)).name(QColor::HexArgb));
    }
    return mark + "]";
}

QString marked(const QTextBlock &block, bool full)
{
    const QTextBlockFormat format = block.blockFormat();
    const auto twips = [](qreal pixels) { return qRound(pixels * 15); };
    const bool rightToLeft = format.layoutDirection() == Qt::RightToLeft;
    QString line = rightToLeft ? "[rtl] " : "";
    if (format.alignment() & Qt::AlignHCenter)
        line += "[c] ";
    else if (format.alignment() & (Qt::AlignRight | Qt::AlignJustify))
        line += format.alignment() & Qt::AlignRight ? "[r] " : "[j] ";
    const int leading = twips(rightToLeft ? format.rightMargin() : format.leftMargin());
    const int trailing = twips(rightToLeft ? format.leftMargin() : format.rightMargin());
    if (leading != 0 || format.textIndent() != 0)
        line += QStringLiteral("[li %1 fi %2] ").arg(leading).arg(twips(format.textIndent()));
    if (full && (trailing != 0 || format.topMargin() != 0))
        line += QStringLiteral("[ri %1 sb %2] ").arg(trailing).arg(twips(format.topMargin()));
    QStringList tabs;
    for (const QTextOption::Tab &tab : format.tabPositions()) // kinds: r, c, d and the delimiter
        tabs << QStringList{"", "r", "c", "d" + QString(tab.delimiter)}[tab.type] +
                    QString::number(twips(tab.position));
    if (full && !tabs.isEmpty())
        line += "[tabs " + tabs.mid(0, 3).join(' ') + (tabs.size() > 3 ? " ...] " : "] ");
    for (auto run = block.begin(); !run.atEnd(); ++run) {
        const QTextCharFormat format = run.fragment().charFormat();
        QString text = run.fragment().text().replace(QChar::LineSeparator, QChar('\n'));
        if (format.isImageFormat() || text.trimmed().isEmpty()) {
            line += format.isImageFormat() ? image(block, format.toImageFormat(), full) : text;
            continue;
        }
        text += full ? font(format) : "";
        if (format.fontItalic())
            text = "//" + text + "//";
        line += format.fontWeight() >= QFont::Bold ? "**" + text + "**" : text;
    }
    return line;
}

QStringList markedLines(QTextFrame *frame, bool full);

// Rows as | a | b |; a cell spanning several columns or rows shows once.
QStringList markedTable(QTextTable *table, bool full)
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
                    content << "[" + markedTable(nested, full).join(' ') + "]";
                else if (it.currentBlock().isValid() && !it.currentBlock().text().isEmpty())
                    content << marked(it.currentBlock(), full);
            }
            const QBrush shading = cell.format().background();
            if (full && shading.style() != Qt::NoBrush)
                content << "[bg " + shading.color().name() + "]";
            line += " " + content.join(" / ") + " |";
        }
        rows << line;
    }
    return rows;
}

QStringList markedLines(QTextFrame *frame, bool full)
{
    QStringList lines;
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (auto *table = qobject_cast<QTextTable *>(it.currentFrame()))
            lines << (full ? QStringList{"[table]"} : QStringList()) + markedTable(table, full);
        else if (it.currentFrame())
            lines << "[frame: " + markedLines(it.currentFrame(), full).join(' ') + "]";
        else if (const QTextBlock block = it.currentBlock();
                 block.blockFormat().lineHeightType() != QTextBlockFormat::FixedHeight ||
                 block.length() > 1)
            lines << marked(block, full); // not the spacer Qt keeps before a table
    }
    return lines;
}

// What a document that held "(earlier)" shows after reading rtf.
QString read(const QByteArray &rtf, bool full)
{
    QTextDocument document;
    document.setPlainText("(earlier)");
    const Result<> done = ReadRtf(rtf, document);
    const QString text = markedLines(document.rootFrame(), full).join('\n');
    return done ? text : "error: " + done.error() + "\n" + text;
}

} // namespace

// Each file of tests/data/rtf gives the text beside it. Each case of
// rtf/cases: its RTF, a line "--" (or "-- formats" to mark in full), the
// text, and a line "==".
TEST(Rtf, EveryFileAndCaseGivesItsText)
{
    const QDir corpus(QStringLiteral(KESTRIX_TESTS "/data/rtf"));
    for (const QString &name : corpus.entryList({"*.rtf"}, QDir::Files))
        EXPECT_EQ(
            read(ContentOf(corpus.filePath(name)), false) + '\n',
            QString::fromUtf8(ContentOf(corpus.filePath(QString(name).replace(".rtf", ".txt")))))
            << name.toStdString();
    const QDir cases(corpus.filePath("cases"), "*.txt");
    EXPECT_GT(cases.count(), 0u);
    for (const QString &name : cases.entryList()) {
        const QString path = cases.filePath(name);
        const QStringList lines = QString::fromUtf8(ContentOf(path)).split('\n');
        for (int n = 0, start = 0, middle = -1; n < lines.size(); ++n) {
            if (n == start && (lines[n].isEmpty() || lines[n].startsWith('#')))
                ++start;
            else if (middle < 0 && lines[n].startsWith("--"))
                middle = n;
            else if (lines[n] == "==") {
                SCOPED_TRACE(QStringLiteral("%1:%2").arg(path).arg(start + 1).toStdString());
                EXPECT_EQ(read(lines.mid(start, middle - start).join('\n').toUtf8(),
                               lines[middle] == "-- formats"),
                          lines.mid(middle + 1, n - middle - 1).join('\n'));
                start = n + 1;
                middle = -1;
            }
        }
    }
}
