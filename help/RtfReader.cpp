// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfReader.h"

#include "CodePages.h"
#include "Geometry.h"
#include "NumericText.h"
#include "Windows1252.h"

#include <QColor>
#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <vector>

namespace kestrix {

namespace {

constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxWordLength = 32;
constexpr int kMaxUnicodeSkip = 16;
constexpr qint64 kParameterLimit = 1'000'000'000;
constexpr int kMaxIndentTwips = 31680; // 22 inches
constexpr std::size_t kMaxTabStops = 64;
constexpr int kMinDefaultTabTwips = 180; // an eighth of an inch
constexpr int kMaxFormatChangesPerParagraph = 256;
constexpr qsizetype kMaxParagraphLength = 16384;

enum class Destination
{
    Text,
    Footnote,
    Skip,
    FontTable,
    ColorTable,
};

// The Windows code page of a font's \fcharset; 0 for the document's own.
int charsetCodePage(int charset)
{
    static const QHash<int, int> pages = {
        {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},
        {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
        {204, 1251}, {222, 874},  {238, 1250}, {254, 437},  {255, 850}};
    return pages.value(charset, 0);
}

// What a group inherits from its parent and gets back when it ends.
struct GroupState
{
    Destination destination = Destination::Text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool listText = false;            // a list item's number or bullet
    bool nestedRowProperties = false; // where a nested table's row ends
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    int halfPoints = kDefaultHalfPoints;
    int font = -1;
    int color = 0;
    int unicodeSkip = 1;
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstTwips = 0;
    int beforeTwips = 0;
    int afterTwips = 0;
    std::vector<int> tabTwips;
};

struct ControlWord
{
    QByteArrayView word;
    bool hasParameter = false;
    int parameter = 0;
};

// Groups skipped whole even without a \* before them.
bool isSkippedDestination(QByteArrayView word)
{
    static const QByteArrayView skipped[] = {
        "pict",         "object",    "info",       "stylesheet",  "header",
        "headerl",      "headerr",   "headerf",    "footer",      "footerl",
        "footerr",      "footerf",   "fldinst",    "themedata",   "colorschememapping",
        "latentstyles", "datastore", "xmlnstbl",   "listtable",   "listoverridetable",
        "rsidtbl",      "generator", "annotation", "nonesttables"};
    return std::find(std::begin(skipped), std::end(skipped), word) != std::end(skipped);
}

QChar symbolOf(QByteArrayView word)
{
    static const QHash<QByteArray, char16_t> symbols = {
        {"bullet", u'\u2022'},    {"endash", u'\u2013'},  {"emdash", u'\u2014'},
        {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
        {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'}, {"enspace", u'\u2002'},
        {"qmspace", u'\u2005'},   {"tab", u'\t'},         {"line", QChar::LineSeparator},
        {"cell", u'\t'},          {"nestcell", u'\t'}};
    return QChar(symbols.value(word.toByteArray(), 0));
}

int hexValue(char c)
{
    if (IsAsciiDigit(c))
        return DigitValue(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

class RtfParser
{
public:
    RtfParser(QByteArrayView in, QTextDocument &document) : m_in(in), m_cursor(&document) {}

    void run()
    {
        m_cursor.beginEditBlock(); // one layout, once the text is complete
        // Whatever follows the document's closing brace is not part of it.
        while (m_pos < m_in.size() && !m_ended) {
            const char c = m_in[m_pos++];
            if (m_overflow > 0)
                skipOverflow(c);
            else if (c == '{')
                openGroup();
            else if (c == '}')
                closeGroup();
            else if (c == '\\')
                control();
            else if (c != '\r' && c != '\n')
                byte(c);
        }
        flush();
        m_cursor.setBlockFormat(blockFormat());
        appendFootnotes();
        m_cursor.endEditBlock();
    }

private:
    // Inside groups past the depth limit only braces and escapes count.
    void skipOverflow(char c)
    {
        if (c == '{')
            ++m_overflow;
        else if (c == '}')
            --m_overflow;
        else if (c == '\\' && m_pos < m_in.size())
            ++m_pos;
    }

    void openGroup()
    {
        flush();
        m_skipFallback = 0;
        if (m_stack.size() >= std::size_t(kMaxRtfDepth)) {
            m_overflow = 1;
            return;
        }
        m_stack.push_back(m_state);
    }

    void closeGroup()
    {
        flush();
        m_skipFallback = 0;
        if (m_stack.empty())
            return; // an unbalanced brace
        if (m_state.destination == Destination::FontTable && !m_fontName.isEmpty())
            endFontEntry();
        m_state = m_stack.back();
        m_stack.pop_back();
        m_ended = m_stack.empty();
    }

    // A byte of text in the code page in force; bytes are gathered so that
    // a character of two bytes decodes whole.
    void byte(char c)
    {
        if (m_skipFallback > 0) {
            --m_skipFallback;
            return;
        }
        if (!takesText()) {
            // The tables hold names and separators, not shown text.
            text(FromWindows1252(static_cast<std::uint8_t>(c)));
            return;
        }
        const int page = codePage();
        if (page != m_bytesPage)
            decodeBytes();
        m_bytesPage = page;
        m_bytes += c;
    }

    void text(QChar c)
    {
        if (m_skipFallback > 0) {
            --m_skipFallback;
            return;
        }
        switch (m_state.destination) {
        case Destination::Text:
        case Destination::Footnote:
            if (takesText() && (c.unicode() >= 0x20 || c == u'\t' || c == QChar::LineSeparator)) {
                decodeBytes();
                // Bullets come from symbol fonts' private characters.
                pendingText() +=
                    m_state.listText && c.category() == QChar::Other_PrivateUse ? QChar(0x2022) : c;
            }
            break;
        case Destination::FontTable:
            if (c == u';')
                endFontEntry();
            else
                m_fontName += c;
            break;
        case Destination::ColorTable:
            if (c == u';')
                endColorEntry();
            break;
        case Destination::Skip:
            break;
        }
    }

    bool takesText() const
    {
        return (m_state.destination == Destination::Text ||
                m_state.destination == Destination::Footnote) &&
               !m_state.hidden;
    }

    // Footnotes are gathered apart and shown at the end.
    QString &pendingText()
    {
        return m_state.destination == Destination::Footnote ? m_footnotes.back() : m_pending;
    }

    int codePage() const
    {
        const int font = m_state.font >= 0 ? m_state.font : m_defaultFont;
        const int page = m_fontPages.value(font, 0);
        return page > 0 ? page : m_ansiPage;
    }

    void decodeBytes()
    {
        if (m_bytes.isEmpty())
            return;
        const QString decoded = m_decoders.decode(m_bytesPage, m_bytes);
        m_bytes.clear();
        QString &pending = pendingText();
        for (const QChar c : decoded)
            if (c.unicode() >= 0x20 || c == u'\t')
                pending += c;
    }

    void control()
    {
        if (m_pos >= m_in.size())
            return;
        const char c = m_in[m_pos];
        if (!isLetter(c)) {
            ++m_pos;
            symbol(c);
            return;
        }
        const ControlWord word = readWord();
        flush();
        if (m_skipFallback > 0) {
            --m_skipFallback;
            return;
        }
        apply(word);
    }

    ControlWord readWord()
    {
        ControlWord word;
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && isLetter(m_in[m_pos]))
            ++m_pos;
        word.word = m_in.sliced(start, std::min<qsizetype>(m_pos - start, kMaxWordLength));
        const bool negative =
            m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && isDigit(m_in[m_pos + 1]);
        if (negative)
            ++m_pos;
        qint64 value = 0;
        while (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
            word.hasParameter = true;
            value = std::min(value * 10 + (m_in[m_pos] - '0'), kParameterLimit);
            ++m_pos;
        }
        word.parameter = static_cast<int>(negative ? -value : value);
        if (m_pos < m_in.size() && m_in[m_pos] == ' ')
            ++m_pos;
        return word;
    }

    void symbol(char c)
    {
        switch (c) {
        case '\'': {
            const int high = m_pos < m_in.size() ? hexValue(m_in[m_pos]) : -1;
            const int low = m_pos + 1 < m_in.size() ? hexValue(m_in[m_pos + 1]) : -1;
            if (high < 0 || low < 0)
                return;
            m_pos += 2;
            byte(static_cast<char>(high * 16 + low));
            return;
        }
        case '*':
            m_state.destination = Destination::Skip;
            return;
        case '~':
            text(QChar(0x00A0));
            return;
        case '_':
            text(QChar(0x2011));
            return;
        case '\r':
        case '\n':
            apply({"par", false, 0});
            return;
        case '\\':
        case '{':
        case '}':
            text(QChar::fromLatin1(c));
            return;
        default: // \- optional hyphen, \| \: and unknown symbols
            if (m_skipFallback > 0)
                --m_skipFallback;
            return;
        }
    }

    void apply(const ControlWord &w)
    {
        const QByteArrayView word = w.word;
        const int n = w.parameter;
        const bool on = !w.hasParameter || n != 0;
        GroupState &s = m_state;
        if (word == "par" || word == "sect" || word == "page" || word == "row")
            paragraph();
        else if (word == "nestrow")
            nestedRowEnd();
        else if (word == "chftn")
            footnoteNumber();
        else if (word == "footnote")
            startFootnote();
        else if (const QChar symbol = symbolOf(word); !symbol.isNull())
            text(symbol);
        else if (word == "u")
            unicode(n);
        else if (word == "uc")
            s.unicodeSkip = std::clamp(n, 0, kMaxUnicodeSkip);
        else if (word == "bin")
            m_pos += std::min<qsizetype>(std::max(n, 0), m_in.size() - m_pos);
        else if (word == "b")
            s.bold = on;
        else if (word == "i")
            s.italic = on;
        else if (word == "ul")
            s.underline = on;
        else if (word == "ulnone")
            s.underline = false;
        else if (word == "strike")
            s.strike = on;
        else if (word == "v")
            s.hidden = on;
        else if (word == "listtext")
            s.listText = true;
        else if (word == "nesttableprops")
            s.nestedRowProperties = true;
        else if (word == "super")
            s.vertical = QTextCharFormat::AlignSuperScript;
        else if (word == "sub")
            s.vertical = QTextCharFormat::AlignSubScript;
        else if (word == "nosupersub")
            s.vertical = QTextCharFormat::AlignNormal;
        else if (word == "ansicpg")
            m_ansiPage = n;
        else if (word == "fcharset" && s.destination == Destination::FontTable)
            m_fontCharsetPage = charsetCodePage(n);
        else if (word == "cpg" && s.destination == Destination::FontTable)
            m_fontCpg = n;
        else if (word == "deftab")
            m_defaultTabTwips = std::clamp(n, kMinDefaultTabTwips, kMaxIndentTwips);
        else if (word == "fs")
            s.halfPoints = w.hasParameter ? std::clamp(n, 2, 1000) : kDefaultHalfPoints;
        else if (word == "f")
            fontWord(n);
        else if (word == "deff")
            m_defaultFont = n;
        else if (word == "cf")
            s.color = n;
        else if (word == "red" || word == "green" || word == "blue")
            colorComponent(word, n);
        else if (word == "plain")
            plain();
        else if (word == "pard")
            pard();
        else if (word == "ql")
            s.alignment = Qt::AlignLeft;
        else if (word == "qc")
            s.alignment = Qt::AlignHCenter;
        else if (word == "qr")
            s.alignment = Qt::AlignRight;
        else if (word == "qj")
            s.alignment = Qt::AlignJustify;
        else if (word == "li")
            s.leftTwips = twips(n);
        else if (word == "ri")
            s.rightTwips = twips(n);
        else if (word == "fi")
            s.firstTwips = twips(n);
        else if (word == "sb")
            s.beforeTwips = twips(n);
        else if (word == "sa")
            s.afterTwips = twips(n);
        else if (word == "tx" && s.tabTwips.size() < kMaxTabStops)
            s.tabTwips.push_back(twips(n));
        else if (word == "fonttbl")
            s.destination = Destination::FontTable;
        else if (word == "colortbl")
            s.destination = Destination::ColorTable;
        else if (isSkippedDestination(word))
            s.destination = Destination::Skip;
    }

    static int twips(int n) { return std::clamp(n, -kMaxIndentTwips, kMaxIndentTwips); }

    void paragraph()
    {
        if (m_state.destination == Destination::Footnote) {
            text(QChar::LineSeparator);
            return;
        }
        if (m_state.destination != Destination::Text)
            return;
        flush(); // what came before the break stays before it
        m_cursor.setBlockFormat(blockFormat());
        m_formatChanges = 0;
        m_paragraphLength = 0;
        m_cursor.insertBlock(blockFormat(), charFormat());
    }

    // A nested row ends inside its properties, which are skipped otherwise.
    void nestedRowEnd()
    {
        if (!m_state.nestedRowProperties || m_stack.empty())
            return;
        const GroupState properties = m_state;
        m_state = m_stack.back();
        paragraph();
        m_state = properties;
    }

    void unicode(int n)
    {
        const int code = n < 0 ? n + 0x10000 : n;
        if (code >= 0 && code <= 0xFFFF)
            text(QChar(static_cast<char16_t>(code)));
        m_skipFallback = m_state.unicodeSkip;
    }

    void fontWord(int n)
    {
        if (m_state.destination == Destination::FontTable) {
            m_fontId = n;
            m_fontName.clear();
            m_fontCharsetPage = 0;
            m_fontCpg = 0;
        } else {
            m_state.font = n;
        }
    }

    void endFontEntry()
    {
        m_fonts.insert(m_fontId, m_fontName.trimmed());
        m_fontPages.insert(m_fontId, m_fontCpg > 0 ? m_fontCpg : m_fontCharsetPage);
        m_fontName.clear();
    }

    void colorComponent(QByteArrayView word, int n)
    {
        const int value = std::clamp(n, 0, 255);
        (word == "red" ? m_red : word == "green" ? m_green : m_blue) = value;
        m_colorGiven = true;
    }

    void endColorEntry()
    {
        m_colors.push_back(m_colorGiven ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colorGiven = false;
    }

    void plain()
    {
        GroupState &s = m_state;
        s.bold = s.italic = s.underline = s.strike = s.hidden = false;
        s.vertical = QTextCharFormat::AlignNormal;
        s.halfPoints = kDefaultHalfPoints;
        s.font = -1;
        s.color = 0;
    }

    void pard()
    {
        GroupState &s = m_state;
        s.alignment = Qt::AlignLeft;
        s.leftTwips = s.rightTwips = s.firstTwips = s.beforeTwips = s.afterTwips = 0;
        s.tabTwips.clear();
    }

    void startFootnote()
    {
        // Written as {\footnote or {\*\footnote, in the text only.
        const Destination outer =
            m_stack.empty() ? m_state.destination : m_stack.back().destination;
        if (outer != Destination::Text)
            return;
        m_state.destination = Destination::Footnote;
        // A footnote without a numbered mark in the text gets the next number.
        if (m_footnoteMarks <= static_cast<int>(m_footnotes.size()))
            ++m_footnoteMarks;
        m_footnotes.emplace_back();
    }

    void footnoteNumber()
    {
        if (m_state.destination == Destination::Text)
            ++m_footnoteMarks;
        for (const QChar digit : QString::number(m_footnoteMarks))
            text(digit);
    }

    // Footnotes as a printed page has them: after the text, each behind its
    // number.
    void appendFootnotes()
    {
        if (m_footnotes.empty())
            return;
        m_state = GroupState();
        m_cursor.insertBlock(blockFormat(), charFormat());
        m_cursor.insertText(QString(20, QChar(0x2500)), charFormat());
        for (std::size_t i = 0; i < m_footnotes.size(); ++i) {
            QString note = m_footnotes[i].trimmed();
            const QString number = QString::number(i + 1);
            if (!note.startsWith(number))
                note.prepend(number + QLatin1Char(' '));
            m_cursor.insertBlock(blockFormat(), charFormat());
            m_cursor.insertText(note, charFormat());
        }
    }

    // What sets a run's format apart, so that equal runs share one format.
    struct TextLook
    {
        bool bold, italic, underline, strike;
        QTextCharFormat::VerticalAlignment vertical;
        int halfPoints, font, color;
        bool operator==(const TextLook &) const = default;
    };
    TextLook textLook() const
    {
        const GroupState &s = m_state;
        return {s.bold,
                s.italic,
                s.underline,
                s.strike,
                s.vertical,
                s.halfPoints,
                s.font >= 0 ? s.font : m_defaultFont,
                s.color};
    }

    struct ParagraphLook
    {
        Qt::Alignment alignment;
        int left, right, first, before, after;
        std::vector<int> tabs;
        bool operator==(const ParagraphLook &) const = default;
    };
    ParagraphLook paragraphLook() const
    {
        const GroupState &s = m_state;
        return {s.alignment,   s.leftTwips,  s.rightTwips, s.firstTwips,
                s.beforeTwips, s.afterTwips, s.tabTwips};
    }

    const QTextCharFormat &charFormat()
    {
        const TextLook look = textLook();
        if (m_lastRun && look == m_lastRun->first)
            return m_lastRun->second;
        // Qt lays out a paragraph in time that grows with the square of its
        // format changes; past this many the paragraph keeps the last
        // format, so that no file can freeze the window.
        if (m_lastRun && ++m_formatChanges > kMaxFormatChangesPerParagraph)
            return m_lastRun->second;
        m_lastRun = std::pair(look, makeCharFormat());
        return m_lastRun->second;
    }

    const QTextBlockFormat &blockFormat()
    {
        ParagraphLook look = paragraphLook();
        if (!m_paragraphLooks || !(look == m_paragraphLooks->first))
            m_paragraphLooks = std::pair(std::move(look), makeBlockFormat());
        return m_paragraphLooks->second;
    }

    QTextCharFormat makeCharFormat() const
    {
        const GroupState &s = m_state;
        QTextCharFormat format;
        format.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(s.italic);
        format.setFontUnderline(s.underline);
        format.setFontStrikeOut(s.strike);
        format.setVerticalAlignment(s.vertical);
        format.setFontPointSize(s.halfPoints / 2.0);
        const int font = s.font >= 0 ? s.font : m_defaultFont;
        if (const auto name = m_fonts.constFind(font); name != m_fonts.cend() && !name->isEmpty())
            format.setFontFamilies({*name});
        if (s.color > 0 && s.color < static_cast<int>(m_colors.size()) &&
            m_colors[s.color].isValid())
            format.setForeground(m_colors[s.color]);
        return format;
    }

    QTextBlockFormat makeBlockFormat() const
    {
        const GroupState &s = m_state;
        QTextBlockFormat format;
        format.setAlignment(s.alignment);
        format.setLeftMargin(double(s.leftTwips) / kTwipsPerPixel);
        format.setRightMargin(double(s.rightTwips) / kTwipsPerPixel);
        format.setTextIndent(double(s.firstTwips) / kTwipsPerPixel);
        format.setTopMargin(double(s.beforeTwips) / kTwipsPerPixel);
        format.setBottomMargin(double(s.afterTwips) / kTwipsPerPixel);
        // A hanging indent is a tab stop of its own, as word processors have it.
        std::vector<int> stops = s.tabTwips;
        if (s.firstTwips < 0)
            stops.push_back(s.leftTwips);
        std::sort(stops.begin(), stops.end());
        // Past the explicit stops, one every \deftab from the margin.
        const int firstLineStart = s.leftTwips + s.firstTwips;
        const int lastStop = std::max(firstLineStart, stops.empty() ? 0 : stops.back());
        for (int stop = (lastStop / m_defaultTabTwips + 1) * m_defaultTabTwips;
             stop <= kMaxIndentTwips; stop += m_defaultTabTwips)
            stops.push_back(stop);
        // RTF measures stops from the margin, Qt from where the first line
        // starts.
        QList<QTextOption::Tab> tabs;
        for (const int stop : stops)
            if (stop > firstLineStart)
                tabs << QTextOption::Tab(double(stop - firstLineStart) / kTwipsPerPixel,
                                         QTextOption::LeftTab);
        format.setTabPositions(tabs);
        return format;
    }

    void flush()
    {
        decodeBytes();
        if (m_pending.isEmpty())
            return;
        m_cursor.insertText(m_pending, charFormat());
        m_paragraphLength += m_pending.size();
        m_pending.clear();
        // Qt lays out a whole paragraph at once; a paragraph longer than any
        // real one continues in a new one, so that none can freeze the window.
        if (m_paragraphLength > kMaxParagraphLength) {
            m_cursor.insertBlock(blockFormat(), charFormat());
            m_paragraphLength = 0;
        }
    }

    std::optional<std::pair<TextLook, QTextCharFormat>> m_lastRun;
    std::optional<std::pair<ParagraphLook, QTextBlockFormat>> m_paragraphLooks;
    int m_formatChanges = 0;
    qsizetype m_paragraphLength = 0;
    QByteArrayView m_in;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    GroupState m_state;
    std::vector<GroupState> m_stack;
    int m_overflow = 0;
    int m_skipFallback = 0;
    QString m_pending;
    QByteArray m_bytes;
    int m_bytesPage = 1252;
    int m_ansiPage = 1252;
    CodePages m_decoders;
    bool m_ended = false;
    std::vector<QString> m_footnotes;
    int m_footnoteMarks = 0;
    int m_defaultTabTwips = 720;
    int m_fontCharsetPage = 0;
    int m_fontCpg = 0;
    QHash<int, int> m_fontPages;
    QHash<int, QString> m_fonts;
    int m_fontId = 0;
    int m_defaultFont = -1;
    QString m_fontName;
    std::vector<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorGiven = false;
};

} // namespace

RtfRead ReadRtf(QByteArrayView rtf, QTextDocument &document)
{
    const QByteArrayView trimmed = rtf.trimmed();
    if (!trimmed.isEmpty() && !trimmed.startsWith("{\\rtf"))
        return {false, QStringLiteral("The file is not in rich text format: it does not begin "
                                      "with {\\rtf.")};
    document.clear();
    document.setUndoRedoEnabled(false); // nobody undoes a help file
    RtfParser(trimmed, document).run();
    return {true, {}};
}

} // namespace kestrix
