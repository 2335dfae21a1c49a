// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfReader.h"

#include "CodePages.h"
#include "Geometry.h"
#include "NumericText.h"
#include "RtfPicture.h"
#include "RtfTables.h"
#include "SymbolFont.h"
#include "Windows1252.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrix {

namespace {

constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxWordLength = 32;
constexpr int kMaxUnicodeSkip = 16;
constexpr qint64 kParameterLimit = 1'000'000'000;
constexpr int kMaxIndentTwips = 31680; // 22 inches
constexpr std::size_t kMaxTabStops = 64;
constexpr std::size_t kMaxCellsPerRow = 64;
constexpr int kMinDefaultTabTwips = 180; // an eighth of an inch
constexpr int kMaxFormatChangesPerParagraph = 256;
constexpr qsizetype kMaxParagraphLength = 16384;
constexpr int kMaxListNumber = 99999;

enum class Destination
{
    Text,
    Footnote,
    Skip,
    FontTable,
    ColorTable,
    Picture,
    Numbering,       // a paragraph's Word 6 number or bullet, {\*\pn ...}
    NumberingBefore, // its text before the number, {\pntxtb ...}
    NumberingAfter,  // and after it, {\pntxta ...}
};

enum class Direction
{
    Auto, // as the text's first strong character says
    LeftToRight,
    RightToLeft,
};

struct TabStop
{
    int twips = 0;
    QTextOption::TabType kind = QTextOption::LeftTab;
    bool operator==(const TabStop &) const = default;
};

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
    bool nestedRowProperties = false; // a nested row's description
    // The associated properties, for right-to-left and double-byte text.
    bool rightToLeftChars = false;
    bool doubleByteChars = false;
    bool associatedBold = false;
    bool associatedItalic = false;
    int associatedHalfPoints = kDefaultHalfPoints;
    int associatedFont = -1;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    int halfPoints = kDefaultHalfPoints;
    int font = -1;
    int color = 0;
    int unicodeSkip = 1;
    Qt::Alignment alignment = Qt::AlignLeft;
    Direction direction = Direction::Auto;
    int leftTwips = 0;
    int rightTwips = 0;
    std::optional<int> leadingTwips; // \lin, \rin: the sides as the text runs
    std::optional<int> trailingTwips;
    int firstTwips = 0;
    int beforeTwips = 0;
    int afterTwips = 0;
    std::vector<TabStop> tabs;
    QTextOption::TabType nextTabKind = QTextOption::LeftTab;
    bool inTable = false;
    int tableLevel = 1; // \itap
};

// Control words are compared by the thousand: as string views, whose
// literals' lengths are known when compiling.
using Word = std::string_view;

struct ControlWord
{
    Word word;
    bool hasParameter = false;
    int parameter = 0;
};

// Groups skipped whole even without a \* before them.
bool isSkippedDestination(Word word)
{
    static constexpr Word skipped[] = {"object",
                                       "info",
                                       "stylesheet",
                                       "header",
                                       "headerl",
                                       "headerr",
                                       "headerf",
                                       "footer",
                                       "footerl",
                                       "footerr",
                                       "footerf",
                                       "fldinst",
                                       "themedata",
                                       "colorschememapping",
                                       "latentstyles",
                                       "datastore",
                                       "xmlnstbl",
                                       "listtable",
                                       "listoverridetable",
                                       "rsidtbl",
                                       "generator",
                                       "annotation",
                                       "nonesttables",
                                       "nonshppict"};
    return std::find(std::begin(skipped), std::end(skipped), word) != std::end(skipped);
}

QChar symbolOf(Word word)
{
    static constexpr std::pair<Word, char16_t> symbols[] = {
        {"bullet", u'\u2022'},    {"endash", u'\u2013'},  {"emdash", u'\u2014'},
        {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
        {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'}, {"enspace", u'\u2002'},
        {"qmspace", u'\u2005'},   {"tab", u'\t'},         {"line", QChar::LineSeparator}};
    for (const auto &[name, symbol] : symbols)
        if (name == word)
            return QChar(symbol);
    return {};
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

QString romanNumeral(int n)
{
    static const std::pair<int, const char *> parts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString text;
    for (const auto &[value, letters] : parts)
        for (; n >= value; n -= value)
            text += QLatin1String(letters);
    return text;
}

QString letterNumeral(int n)
{
    QString text;
    for (; n > 0; n = (n - 1) / 26)
        text.prepend(QChar(u'a' + (n - 1) % 26));
    return text;
}

// A Word 6 paragraph number or bullet, for files that leave its text out.
struct Numbering
{
    enum class Style
    {
        Bullet,
        Decimal,
        UpperLetter,
        LowerLetter,
        UpperRoman,
        LowerRoman,
    };
    Style style = Style::Decimal;
    int start = 1;
    int font = -1;
    QString before;
    QString after;

    QString label(int number) const
    {
        switch (style) {
        case Style::Bullet:
            return before.isEmpty() ? QString(QChar(0x2022)) : before;
        case Style::Decimal:
            return before + QString::number(number) + after;
        case Style::UpperLetter:
            return before + letterNumeral(number).toUpper() + after;
        case Style::LowerLetter:
            return before + letterNumeral(number) + after;
        case Style::UpperRoman:
            return before + romanNumeral(number).toUpper() + after;
        case Style::LowerRoman:
            return before + romanNumeral(number) + after;
        }
        return {};
    }
};

class RtfParser
{
public:
    RtfParser(QByteArrayView in, QTextDocument &document)
        : m_in(in), m_cursor(&document),
          m_tables(m_cursor, static_cast<int>(std::min<qsizetype>(in.size() / 4 + 64, 1 << 24))),
          m_rowDefs(kMaxTableDepth + 1)
    {
    }

    void run()
    {
        m_cursor.beginEditBlock(); // one layout, once the text is complete
        // Whatever follows the document's closing brace is not part of it.
        while (m_pos < m_in.size() && !m_ended) {
            const char c = m_in[m_pos++];
            if (m_state.destination == Destination::Picture && hexValue(c) >= 0)
                pictureHex();
            else if (c == '{')
                openGroup();
            else if (c == '}')
                closeGroup();
            else if (c == '\\')
                control();
            else if (c != '\r' && c != '\n')
                plainText();
        }
        flush();
        // The last paragraph often ends with the document rather than with
        // \par, and takes the properties in force there; an empty one after
        // the last \par stays plain.
        if (m_endState && !m_cursor.block().text().isEmpty())
            m_state = *m_endState;
        setParagraphFormat();
        m_tables.enter(0, m_rowDefs);
        QTextOption option = m_cursor.document()->defaultTextOption();
        option.setTabStopDistance(double(m_defaultTabTwips) / kTwipsPerPixel);
        m_cursor.document()->setDefaultTextOption(option);
        appendFootnotes();
        m_cursor.endEditBlock();
    }

private:
    // A picture's data is most of a file that has pictures: taken in one go.
    void pictureHex()
    {
        const qsizetype start = m_pos - 1;
        while (m_pos < m_in.size() && hexValue(m_in[m_pos]) >= 0)
            ++m_pos;
        m_picture.addHexDigits(m_in.sliced(start, m_pos - start));
    }

    // A group that changes nothing before its first inner group shares its
    // parent's saved state, so that thousands of bare braces, as some mail
    // programs write, cost no more memory than their bytes.
    struct SavedState
    {
        GroupState state;
        int repeats = 0;
    };

    const GroupState &parentState() const
    {
        return m_stack.empty() ? m_state : m_stack.back().state;
    }

    void openGroup()
    {
        decodeBytes();
        m_skipFallback = 0;
        ++m_depth;
        if (!m_changed && !m_stack.empty())
            ++m_stack.back().repeats;
        else
            m_stack.push_back({m_state, 0});
        m_changed = false;
    }

    void closeGroup()
    {
        decodeBytes();
        m_skipFallback = 0;
        if (m_depth == 0)
            return; // an unbalanced brace
        --m_depth;
        const GroupState &parent = parentState();
        if (m_state.destination == Destination::FontTable && !m_fontName.isEmpty())
            endFontEntry();
        if (m_state.destination == Destination::Picture &&
            parent.destination != Destination::Picture)
            endPicture();
        const bool numbering = m_state.destination == Destination::Numbering &&
                               parent.destination != Destination::Numbering;
        if (m_depth == 0)
            m_endState = m_state;
        m_state = parent;
        if (m_stack.back().repeats > 0) {
            --m_stack.back().repeats;
            m_changed = false;
        } else {
            m_stack.pop_back();
            m_changed = true;
        }
        m_ended = m_depth == 0;
        if (numbering)
            paragraphNumber();
    }

    // Text between control words and braces, most of a document: taken in
    // one go where nothing but text can happen in it.
    void plainText()
    {
        const qsizetype start = m_pos - 1;
        if (m_skipFallback > 0 || !takesText()) {
            byte(m_in[start]);
            return;
        }
        while (m_pos < m_in.size() && !endsPlainText(m_in[m_pos]))
            ++m_pos;
        textBytes(m_in.sliced(start, m_pos - start));
    }

    static bool endsPlainText(char c)
    {
        return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
    }

    // Bytes of text in the code page in force; they are gathered so that a
    // character of two bytes decodes whole.
    void textBytes(QByteArrayView bytes)
    {
        const int page = codePage();
        if (page != m_bytesPage)
            decodeBytes();
        m_bytesPage = page;
        m_bytes += bytes;
    }

    // A byte of text, as \'hh or plain.
    void byte(char c)
    {
        if (m_skipFallback > 0) {
            --m_skipFallback;
            return;
        }
        if (m_state.destination == Destination::NumberingBefore ||
            m_state.destination == Destination::NumberingAfter) {
            numberingText(m_decoders.decode(numberingCodePage(), QByteArrayView(&c, 1)));
            return;
        }
        if (!takesText()) {
            // The tables hold names and separators, not shown text.
            text(FromWindows1252(static_cast<std::uint8_t>(c)));
            return;
        }
        textBytes(QByteArrayView(&c, 1));
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
                const QChar character = shown(c);
                appendText(QStringView(&character, 1));
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
        case Destination::NumberingBefore:
        case Destination::NumberingAfter:
            numberingText(QString(c));
            break;
        case Destination::Skip:
        case Destination::Picture:
        case Destination::Numbering:
            break;
        }
    }

    // The Symbol font's private characters are its Unicode ones; other
    // fonts' private characters in a list's label are bullets.
    QChar shown(QChar c) const
    {
        if (c.unicode() >= 0xF020 && c.unicode() <= 0xF0FF && codePage() == kSymbolCodePage)
            if (const QChar symbol = FromSymbolFont(c.unicode() & 0xFF); !symbol.isNull())
                return symbol;
        if (m_state.listText && c.category() == QChar::Other_PrivateUse)
            return QChar(0x2022);
        return c;
    }

    bool takesText() const
    {
        return (m_state.destination == Destination::Text ||
                m_state.destination == Destination::Footnote) &&
               !m_state.hidden;
    }

    // Text for the document, gathered into runs of one format in one place,
    // each inserted whole; footnotes are gathered apart and shown at the end.
    void appendText(QStringView text)
    {
        if (m_state.destination == Destination::Footnote) {
            m_footnotes.back() += text;
            return;
        }
        const QTextCharFormat format = charFormat();
        const int level = tableLevel();
        if (m_pendingLook != m_looks || m_pendingLevel != level ||
            m_paragraphLength + m_pending.size() > kMaxParagraphLength)
            insertPending();
        if (m_pending.isEmpty()) {
            m_pendingFormat = format;
            m_pendingLook = m_looks;
            m_pendingLevel = level;
        }
        m_pending += text;
    }

    bool associated() const { return m_state.rightToLeftChars || m_state.doubleByteChars; }

    int fontInForce() const
    {
        const int font =
            associated() && m_state.associatedFont >= 0 ? m_state.associatedFont : m_state.font;
        return font >= 0 ? font : m_defaultFont;
    }

    int codePageOf(int font) const
    {
        const int page = m_fontPages.value(font, 0);
        return page > 0 ? page : m_ansiPage;
    }

    int codePage() const { return codePageOf(fontInForce()); }

    int numberingCodePage() const
    {
        return m_numbering.font >= 0 ? codePageOf(m_numbering.font) : codePage();
    }

    void decodeBytes()
    {
        if (m_bytes.isEmpty())
            return;
        QString decoded = m_decoders.decode(m_bytesPage, m_bytes);
        m_bytes.clear();
        decoded.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
        appendText(decoded);
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
        decodeBytes();
        if (m_skipFallback > 0) {
            --m_skipFallback;
            return;
        }
        m_changed = true;
        apply(word);
        m_starred = Destination::Skip; // a \* binds the word right after it only
    }

    ControlWord readWord()
    {
        ControlWord word;
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && isLetter(m_in[m_pos]))
            ++m_pos;
        word.word = Word(m_in.data() + start,
                         std::size_t(std::min<qsizetype>(m_pos - start, kMaxWordLength)));
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
            m_changed = true;
            m_starred = m_state.destination;
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
        if (m_state.destination == Destination::Picture &&
            m_picture.describe(QByteArrayView(w.word.data(), qsizetype(w.word.size())),
                               w.hasParameter, w.parameter))
            return;
        if (m_state.destination == Destination::Numbering && numberingWord(w))
            return;
        if (tableWord(w) || destinationWord(w.word) || characterWord(w) || paragraphWord(w))
            return;
        documentWord(w);
    }

    // Marks, destinations and what the document as a whole sets.
    void documentWord(const ControlWord &w)
    {
        const Word word = w.word;
        const int n = w.parameter;
        if (word == "par" || word == "sect" || word == "page")
            paragraph();
        else if (word == "chftn")
            footnoteNumber();
        else if (const QChar symbol = symbolOf(word); !symbol.isNull())
            text(symbol);
        else if (word == "u")
            unicode(n);
        else if (word == "uc")
            m_state.unicodeSkip = std::clamp(n, 0, kMaxUnicodeSkip);
        else if (word == "bin")
            binary(n);
        else if (word == "ansicpg")
            m_ansiPage = n;
        else if (word == "mac")
            m_ansiPage = kMacRoman;
        else if (word == "pc")
            m_ansiPage = 437;
        else if (word == "pca")
            m_ansiPage = 850;
        else if (word == "fcharset" && m_state.destination == Destination::FontTable)
            m_fontCharsetPage = CodePages::ofCharset(n);
        else if (word == "cpg" && m_state.destination == Destination::FontTable)
            m_fontCpg = n;
        else if (word == "deftab")
            m_defaultTabTwips = std::clamp(n, kMinDefaultTabTwips, kMaxIndentTwips);
        else if (word == "deff")
            m_defaultFont = n;
        else if (word == "red" || word == "green" || word == "blue")
            colorComponent(word, n);
    }

    bool destinationWord(Word word)
    {
        GroupState &s = m_state;
        const bool inText = m_starred == Destination::Text || s.destination == Destination::Text;
        if (word == "footnote")
            startFootnote();
        else if (word == "fonttbl")
            s.destination = Destination::FontTable;
        else if (word == "colortbl")
            s.destination = Destination::ColorTable;
        else if (word == "pict")
            startPicture();
        else if (word == "shppict" || word == "nesttableprops") {
            // Read though starred: the picture for today's readers, and a
            // nested row's description (where some writers put its text).
            if (inText)
                s.destination = Destination::Text;
            s.nestedRowProperties = s.nestedRowProperties || word == "nesttableprops";
        } else if (word == "pn") {
            if (inText) {
                s.destination = Destination::Numbering;
                m_numbering = Numbering();
            }
        } else if (word == "listtext" || word == "pntext") {
            s.listText = true;
            m_paragraphHasLabel = true;
        } else if (isSkippedDestination(word))
            s.destination = Destination::Skip;
        else
            return false;
        return true;
    }

    bool characterWord(const ControlWord &w)
    {
        const Word word = w.word;
        const int n = w.parameter;
        const bool on = !w.hasParameter || n != 0;
        GroupState &s = m_state;
        if (word == "b")
            s.bold = on;
        else if (word == "i")
            s.italic = on;
        else if (word == "ab")
            s.associatedBold = on;
        else if (word == "ai")
            s.associatedItalic = on;
        else if (word == "ul")
            s.underline = on;
        else if (word == "ulnone")
            s.underline = false;
        else if (word == "strike")
            s.strike = on;
        else if (word == "v")
            s.hidden = on;
        else if (word == "super")
            s.vertical = QTextCharFormat::AlignSuperScript;
        else if (word == "sub")
            s.vertical = QTextCharFormat::AlignSubScript;
        else if (word == "nosupersub")
            s.vertical = QTextCharFormat::AlignNormal;
        else if (word == "fs")
            s.halfPoints = w.hasParameter ? std::clamp(n, 2, 1000) : kDefaultHalfPoints;
        else if (word == "afs")
            s.associatedHalfPoints = w.hasParameter ? std::clamp(n, 2, 1000) : kDefaultHalfPoints;
        else if (word == "f")
            fontWord(n);
        else if (word == "af")
            s.associatedFont = n;
        else if (word == "rtlch")
            s.rightToLeftChars = true;
        else if (word == "ltrch")
            s.rightToLeftChars = false;
        else if (word == "dbch")
            s.doubleByteChars = true;
        else if (word == "loch" || word == "hich")
            s.doubleByteChars = false;
        else if (word == "cf")
            s.color = n;
        else if (word == "plain")
            plain();
        else
            return false;
        return true;
    }

    bool paragraphWord(const ControlWord &w)
    {
        const Word word = w.word;
        const int n = w.parameter;
        GroupState &s = m_state;
        if (word == "pard")
            pard();
        else if (word == "ql")
            s.alignment = Qt::AlignLeft;
        else if (word == "qc")
            s.alignment = Qt::AlignHCenter;
        else if (word == "qr")
            s.alignment = Qt::AlignRight;
        else if (word == "qj")
            s.alignment = Qt::AlignJustify;
        else if (word == "rtlpar")
            s.direction = Direction::RightToLeft;
        else if (word == "ltrpar")
            s.direction = Direction::LeftToRight;
        else if (word == "li")
            s.leftTwips = twips(n);
        else if (word == "ri")
            s.rightTwips = twips(n);
        else if (word == "lin")
            s.leadingTwips = twips(n);
        else if (word == "rin")
            s.trailingTwips = twips(n);
        else if (word == "fi")
            s.firstTwips = twips(n);
        else if (word == "sb")
            s.beforeTwips = twips(n);
        else if (word == "sa")
            s.afterTwips = twips(n);
        else if (word == "tqr")
            s.nextTabKind = QTextOption::RightTab;
        else if (word == "tqc")
            s.nextTabKind = QTextOption::CenterTab;
        else if (word == "tqdec")
            s.nextTabKind = QTextOption::DelimiterTab;
        else if (word == "tx" || word == "tb")
            tabStop(twips(n));
        else
            return false;
        return true;
    }

    void tabStop(int at)
    {
        if (m_state.tabs.size() < kMaxTabStops)
            m_state.tabs.push_back({at, m_state.nextTabKind});
        m_state.nextTabKind = QTextOption::LeftTab;
    }

    static int twips(int n) { return std::clamp(n, -kMaxIndentTwips, kMaxIndentTwips); }

    // The level of a table that the paragraph in force belongs to; 0 for none.
    int tableLevel() const
    {
        const GroupState &s = m_state;
        if (s.inTable)
            return std::max(1, s.tableLevel);
        return s.tableLevel >= 2 ? s.tableLevel : 0;
    }

    // Nested rows are described inside their own properties' group.
    RtfRowDef &rowDefInForce()
    {
        const int level =
            m_state.nestedRowProperties ? std::clamp(m_state.tableLevel, 2, kMaxTableDepth) : 1;
        return m_rowDefs[std::size_t(level)];
    }

    bool tableWord(const ControlWord &w)
    {
        const Word word = w.word;
        const int n = w.parameter;
        if (word == "intbl")
            m_state.inTable = true;
        else if (word == "itap")
            m_state.tableLevel = std::clamp(n, 0, kMaxTableDepth);
        else if (word == "cell" || word == "nestcell")
            endCell(word == "cell" ? 1 : std::max(2, tableLevel()));
        else if (word == "row" || word == "nestrow")
            endRow(word == "row" ? 1 : std::max(2, tableLevel()));
        else if (word == "trowd") {
            rowDefInForce() = RtfRowDef();
            m_cellDef = RtfCellDef();
            m_border = nullptr;
        } else if (word == "trleft")
            rowDefInForce().leftTwips = twips(n);
        else if (word == "trgaph")
            rowDefInForce().gapTwips = std::clamp(n, 0, kMaxIndentTwips);
        else if (word == "trqc")
            rowDefInForce().alignment = Qt::AlignHCenter;
        else if (word == "trqr")
            rowDefInForce().alignment = Qt::AlignRight;
        else if (word == "trql")
            rowDefInForce().alignment = Qt::AlignLeft;
        else if (word == "cellx")
            endCellDef(twips(n));
        else
            return cellWord(w);
        return true;
    }

    bool cellWord(const ControlWord &w)
    {
        const Word word = w.word;
        const int n = w.parameter;
        RtfCellDef &cell = m_cellDef;
        if (word == "clmgf")
            cell.mergeFirst = true;
        else if (word == "clmrg")
            cell.merged = true;
        else if (word == "clvmgf")
            cell.vMergeFirst = true;
        else if (word == "clvmrg")
            cell.vMerged = true;
        else if (word == "clbrdrt")
            m_border = &cell.borders[0];
        else if (word == "clbrdrl")
            m_border = &cell.borders[1];
        else if (word == "clbrdrb")
            m_border = &cell.borders[2];
        else if (word == "clbrdrr")
            m_border = &cell.borders[3];
        else if (word.starts_with("brdr") && m_border)
            borderWord(word, n);
        else if (word == "clpadt" || word == "clpadl" || word == "clpadb" || word == "clpadr")
            cell.padding[std::size_t(word == "clpadt"   ? 0
                                     : word == "clpadl" ? 1
                                     : word == "clpadb" ? 2
                                                        : 3)] =
                std::clamp(n, 0, 300) / double(kTwipsPerPixel);
        else if (word == "clcbpat")
            cell.background = colorOf(n);
        else if (word == "clshdng" && !cell.background.isValid()) {
            // A shade of grey over white, in hundredths of a percent.
            const int grey = 255 - std::clamp(n, 0, 10000) * 255 / 10000;
            cell.background = QColor(grey, grey, grey);
        } else
            return false;
        return true;
    }

    void borderWord(Word word, int n)
    {
        if (word == "brdrw") {
            if (m_border->width > 0)
                m_border->width = std::max(1.0, std::clamp(n, 1, 150) / double(kTwipsPerPixel));
        } else if (word == "brdrcf") {
            m_border->color = colorOf(n);
        } else if (word == "brdrnone" || word == "brdrnil" || word == "brdrtbl") {
            m_border->width = 0;
        } else if (m_border->width == 0) {
            m_border->width = 1; // a line of some style; its width may follow
        }
    }

    void endCellDef(int right)
    {
        RtfRowDef &row = rowDefInForce();
        m_cellDef.rightTwips = right;
        if (row.cells.size() < kMaxCellsPerRow)
            row.cells.push_back(m_cellDef);
        m_cellDef = RtfCellDef();
        m_border = nullptr;
    }

    QColor colorOf(int index) const
    {
        return index > 0 && index < static_cast<int>(m_colors.size()) ? m_colors[index] : QColor();
    }

    void endCell(int level)
    {
        if (m_state.destination != Destination::Text)
            return;
        flush();
        m_tables.enter(level, m_rowDefs);
        setParagraphFormat();
        m_tables.endCell(level, m_rowDefs);
        m_formatChanges = 0;
        m_paragraphLength = 0;
    }

    void endRow(int level)
    {
        if (m_state.destination != Destination::Text)
            return;
        flush();
        m_tables.endRow(level, m_rowDefs);
    }

    bool numberingWord(const ControlWord &w)
    {
        const Word word = w.word;
        using Style = Numbering::Style;
        if (word == "pnlvlblt")
            m_numbering.style = Style::Bullet;
        else if (word == "pndec")
            m_numbering.style = Style::Decimal;
        else if (word == "pnucltr")
            m_numbering.style = Style::UpperLetter;
        else if (word == "pnlcltr")
            m_numbering.style = Style::LowerLetter;
        else if (word == "pnucrm")
            m_numbering.style = Style::UpperRoman;
        else if (word == "pnlcrm")
            m_numbering.style = Style::LowerRoman;
        else if (word == "pnstart")
            m_numbering.start = std::clamp(w.parameter, 0, kMaxListNumber);
        else if (word == "pnf")
            m_numbering.font = w.parameter;
        else if (word == "pntxtb")
            m_state.destination = Destination::NumberingBefore;
        else if (word == "pntxta")
            m_state.destination = Destination::NumberingAfter;
        else
            return false;
        return true;
    }

    void numberingText(const QString &part)
    {
        QString &into = m_state.destination == Destination::NumberingBefore ? m_numbering.before
                                                                            : m_numbering.after;
        if (into.size() < 32)
            into += part;
    }

    // Word 6 describes a paragraph's number or bullet, and newer writers
    // add its text as well; the text is shown, the description only where
    // the text is missing.
    void paragraphNumber()
    {
        if (m_paragraphHasLabel || m_state.destination != Destination::Text)
            return;
        // A number continues the list of the paragraph before, if it has one of its style.
        const bool continues = m_previousParagraphNumbered && m_listStyle == m_numbering.style;
        m_listNumber = continues ? std::min(m_listNumber + 1, kMaxListNumber) : m_numbering.start;
        m_listStyle = m_numbering.style;
        m_paragraphNumbered = m_numbering.style != Numbering::Style::Bullet;
        m_paragraphHasLabel = true;
        appendText(m_numbering.label(m_listNumber) + QLatin1Char('\t'));
    }

    void startPicture()
    {
        const GroupState &parent = parentState();
        if (m_state.destination != Destination::Text || parent.destination != Destination::Text ||
            m_state.hidden)
            m_state.destination = Destination::Skip;
        else {
            m_state.destination = Destination::Picture;
            m_picture = RtfPicture();
        }
    }

    void endPicture()
    {
        flush();
        m_tables.enter(tableLevel(), m_rowDefs);
        m_picture.insert(m_cursor, ++m_pictures);
        m_picture = RtfPicture();
    }

    void binary(int n)
    {
        const qsizetype length = std::min<qsizetype>(std::max(n, 0), m_in.size() - m_pos);
        if (m_state.destination == Destination::Picture)
            m_picture.addBytes(m_in.sliced(m_pos, length));
        m_pos += length;
    }

    void paragraph()
    {
        if (m_state.destination == Destination::Footnote) {
            text(QChar::LineSeparator);
            return;
        }
        if (m_state.destination != Destination::Text)
            return;
        flush(); // what came before the break stays before it
        m_tables.enter(tableLevel(), m_rowDefs);
        setParagraphFormat();
        m_formatChanges = 0;
        m_paragraphLength = 0;
        m_previousParagraphNumbered = m_paragraphNumbered;
        m_paragraphNumbered = false;
        m_paragraphHasLabel = false;
        m_cursor.insertBlock(blockFormat(), charFormat());
        m_formattedBlock = m_cursor.block();
        m_formattedAs = m_paragraphFormats;
    }

    // A paragraph takes the properties in force where it ends. Most have
    // them from the paragraph before already, and setting a block's format
    // costs Qt some time.
    void setParagraphFormat()
    {
        const QTextBlockFormat &format = blockFormat();
        const QTextBlock block = m_cursor.block();
        if (block == m_formattedBlock && m_formattedAs == m_paragraphFormats)
            return;
        if (format.propertyCount() > 0 || block.blockFormat().propertyCount() > 0)
            m_cursor.setBlockFormat(format);
        m_formattedBlock = block;
        m_formattedAs = m_paragraphFormats;
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
        const QString name = m_fontName.trimmed();
        m_fonts.insert(m_fontId, name);
        int page = m_fontCpg > 0 ? m_fontCpg : m_fontCharsetPage;
        if (name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
            page = kSymbolCodePage;
        m_fontPages.insert(m_fontId, page);
        m_fontName.clear();
    }

    void colorComponent(Word word, int n)
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
        s.associatedBold = s.associatedItalic = false;
        s.rightToLeftChars = s.doubleByteChars = false;
        s.vertical = QTextCharFormat::AlignNormal;
        s.halfPoints = s.associatedHalfPoints = kDefaultHalfPoints;
        s.font = s.associatedFont = -1;
        s.color = 0;
    }

    void pard()
    {
        GroupState &s = m_state;
        s.alignment = Qt::AlignLeft;
        s.direction = Direction::Auto;
        s.leftTwips = s.rightTwips = s.firstTwips = s.beforeTwips = s.afterTwips = 0;
        s.leadingTwips.reset();
        s.trailingTwips.reset();
        s.tabs.clear();
        s.nextTabKind = QTextOption::LeftTab;
        s.inTable = false;
        s.tableLevel = 1;
    }

    void startFootnote()
    {
        // Written as {\footnote or {\*\footnote, in the text only.
        if (parentState().destination != Destination::Text)
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
        const bool other = associated();
        return {other ? s.associatedBold : s.bold,
                other ? s.associatedItalic : s.italic,
                s.underline,
                s.strike,
                s.vertical,
                other ? s.associatedHalfPoints : s.halfPoints,
                fontInForce(),
                s.color};
    }

    struct ParagraphLook
    {
        Qt::Alignment alignment;
        Direction direction;
        int leading, trailing, first, before, after;
        std::vector<TabStop> tabs;
        bool operator==(const ParagraphLook &) const = default;
    };
    ParagraphLook paragraphLook() const
    {
        const GroupState &s = m_state;
        return {s.alignment,
                s.direction,
                s.leadingTwips.value_or(s.leftTwips),
                s.trailingTwips.value_or(s.rightTwips),
                s.firstTwips,
                s.beforeTwips,
                s.afterTwips,
                s.tabs};
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
        m_lastRun = std::pair(look, makeCharFormat(look));
        ++m_looks;
        return m_lastRun->second;
    }

    const QTextBlockFormat &blockFormat()
    {
        ParagraphLook look = paragraphLook();
        if (!m_paragraphLooks || !(look == m_paragraphLooks->first)) {
            m_paragraphLooks = std::pair(look, makeBlockFormat(look));
            ++m_paragraphFormats;
        }
        return m_paragraphLooks->second;
    }

    QTextCharFormat makeCharFormat(const TextLook &look) const
    {
        QTextCharFormat format;
        format.setFontWeight(look.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(look.italic);
        format.setFontUnderline(look.underline);
        format.setFontStrikeOut(look.strike);
        format.setVerticalAlignment(look.vertical);
        format.setFontPointSize(look.halfPoints / 2.0);
        // Symbol-font text is Unicode by now; the font itself would hide it
        // where it lays its glyphs out by its own code.
        if (const auto name = m_fonts.constFind(look.font);
            name != m_fonts.cend() && !name->isEmpty() && codePageOf(look.font) != kSymbolCodePage)
            format.setFontFamilies({*name});
        if (const QColor color = colorOf(look.color); color.isValid())
            format.setForeground(color);
        return format;
    }

    // Indents and tab stops count from where the text begins: the left for
    // left-to-right paragraphs, the right for right-to-left ones.
    // Only what differs from Qt's defaults is set: a plain paragraph has
    // Qt's own format, which a new table cell's paragraph has already, and
    // the document's default tab stops stand every \deftab.
    QTextBlockFormat makeBlockFormat(const ParagraphLook &look) const
    {
        QTextBlockFormat format;
        if (look.alignment != Qt::AlignLeft)
            format.setAlignment(look.alignment);
        const bool rightToLeft = look.direction == Direction::RightToLeft;
        if (look.direction != Direction::Auto)
            format.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        const auto set = [&format](void (QTextBlockFormat::*setter)(qreal), int twips) {
            if (twips != 0)
                (format.*setter)(double(twips) / kTwipsPerPixel);
        };
        set(&QTextBlockFormat::setLeftMargin, rightToLeft ? look.trailing : look.leading);
        set(&QTextBlockFormat::setRightMargin, rightToLeft ? look.leading : look.trailing);
        set(&QTextBlockFormat::setTextIndent, look.first);
        set(&QTextBlockFormat::setTopMargin, look.before);
        set(&QTextBlockFormat::setBottomMargin, look.after);
        if (!look.tabs.empty() || look.leading != 0 || look.first != 0 || rightToLeft)
            format.setTabPositions(tabsOf(look));
        return format;
    }

    QList<QTextOption::Tab> tabsOf(const ParagraphLook &look) const
    {
        // A hanging indent is a tab stop of its own, as word processors have it.
        std::vector<TabStop> stops = look.tabs;
        if (look.first < 0)
            stops.push_back({look.leading, QTextOption::LeftTab});
        std::sort(stops.begin(), stops.end(),
                  [](const TabStop &a, const TabStop &b) { return a.twips < b.twips; });
        // Past the explicit stops, one every \deftab from the margin.
        const int firstLineStart = look.leading + look.first;
        const int lastStop = std::max(firstLineStart, stops.empty() ? 0 : stops.back().twips);
        for (int stop = (lastStop / m_defaultTabTwips + 1) * m_defaultTabTwips;
             stop <= kMaxIndentTwips; stop += m_defaultTabTwips)
            stops.push_back({stop, QTextOption::LeftTab});
        // RTF measures stops from the margin, Qt from where the first line
        // starts. In right-to-left lines Qt takes a left stop for a right one
        // and the other way round; it gets them the other way round here.
        const bool rightToLeft = look.direction == Direction::RightToLeft;
        const auto kindOf = [rightToLeft](QTextOption::TabType kind) {
            if (!rightToLeft || kind == QTextOption::CenterTab || kind == QTextOption::DelimiterTab)
                return kind;
            return kind == QTextOption::LeftTab ? QTextOption::RightTab : QTextOption::LeftTab;
        };
        QList<QTextOption::Tab> tabs;
        for (const TabStop &stop : stops)
            if (stop.twips > firstLineStart)
                tabs << QTextOption::Tab(
                    double(stop.twips - firstLineStart) / kTwipsPerPixel, kindOf(stop.kind),
                    stop.kind == QTextOption::DelimiterTab ? QChar(u'.') : QChar());
        return tabs;
    }

    // Puts all text read so far into the document.
    void flush()
    {
        decodeBytes();
        insertPending();
    }

    void insertPending()
    {
        if (m_pending.isEmpty())
            return;
        m_tables.enter(m_pendingLevel, m_rowDefs);
        m_cursor.insertText(m_pending, m_pendingFormat);
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
    int m_paragraphFormats = 0;           // made so far
    std::optional<GroupState> m_endState; // in force at the closing brace
    QTextBlock m_formattedBlock;          // the block last given a paragraph's format
    int m_formattedAs = 0;                // and which one
    int m_formatChanges = 0;
    qsizetype m_paragraphLength = 0;
    QByteArrayView m_in;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    RtfTables m_tables;
    std::vector<RtfRowDef> m_rowDefs; // by table level, from 1
    RtfCellDef m_cellDef;
    RtfBorder *m_border = nullptr; // the cell border that border words describe
    GroupState m_state;
    std::vector<SavedState> m_stack;
    int m_depth = 0;
    bool m_changed = true;                     // the state differs from the one saved last
    Destination m_starred = Destination::Skip; // the destination before a \*
    int m_skipFallback = 0;
    QString m_pending; // text not yet in the document, all of one run
    QTextCharFormat m_pendingFormat;
    int m_pendingLook = 0;
    int m_pendingLevel = 0;
    int m_looks = 0; // formats made so far, so that a new one starts a run
    QByteArray m_bytes;
    int m_bytesPage = kWindowsLatin1;
    int m_ansiPage = kWindowsLatin1;
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
    RtfPicture m_picture;
    int m_pictures = 0;
    Numbering m_numbering;
    int m_listNumber = 0;
    Numbering::Style m_listStyle = Numbering::Style::Bullet;
    bool m_paragraphHasLabel = false;
    bool m_paragraphNumbered = false;
    bool m_previousParagraphNumbered = false;
};

} // namespace

Result<> ReadRtf(QByteArrayView rtf, QTextDocument &document)
{
    const QByteArrayView trimmed = rtf.trimmed();
    if (!trimmed.isEmpty() && !trimmed.startsWith("{\\rtf"))
        return Failure{QStringLiteral("The file is not in rich text format: it does not begin "
                                      "with {\\rtf.")};
    document.clear();
    document.setUndoRedoEnabled(false); // nobody undoes a help file
    RtfPicture::decodeWhenShown(document);
    RtfParser(trimmed, document).run();
    return {};
}

} // namespace kestrix
