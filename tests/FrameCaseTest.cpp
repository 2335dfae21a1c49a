// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the frame cases of cases/frames.txt: settings changed by their
// controls' names, built into a frame, and what must come out of it.

#include "ConfigFields.h"
#include "ConfigFrame.h"
#include "FrameDecoder.h"
#include "LocaleGuard.h"
#include "QtPrinters.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace kestrix;

namespace {

// A line's words; a quoted word keeps its blanks and reads \0 and \xhh.
QStringList wordsOf(const QString &line)
{
    static const QRegularExpression word(QStringLiteral(R"re((\S*?)"((?:[^"\\]|\\.)*)"|(\S+))re"));
    QStringList words;
    for (auto it = word.globalMatch(line); it.hasNext();) {
        const auto m = it.next();
        if (!m.capturedView(3).isEmpty()) {
            words << m.captured(3);
            continue;
        }
        QString text = m.captured(2);
        text.replace(QStringLiteral("\\0"), QString(QChar(0)));
        static const QRegularExpression hex(QStringLiteral(R"(\\x([0-9a-f]{2}))"));
        for (auto h = hex.match(text); h.hasMatch(); h = hex.match(text))
            text.replace(h.capturedStart(), 4, QChar(h.captured(1).toInt(nullptr, 16)));
        words << m.captured(1) + QChar(0x1) + text; // marks a quoted word
    }
    return words;
}

bool isQuoted(const QString &word)
{
    return word.contains(QChar(0x1));
}

QString unquoted(const QString &word)
{
    return word.mid(word.indexOf(QChar(0x1)) + 1);
}

void set(DeviceSettings &s, const QString &name, const QString &value, const std::string &where)
{
    const ConfigField *field = FindConfigField(name);
    ASSERT_TRUE(field) << where << ": no setting " << name.toStdString();
    if (field->kind == FieldKind::Text)
        field->text(s) = value;
    else
        field->number(s) = value.toInt();
}

QString settingText(DeviceSettings s, const QString &name)
{
    const ConfigField *field = FindConfigField(name);
    return field->kind == FieldKind::Text ? field->text(s) : QString::number(field->number(s));
}

struct Case
{
    std::string where; // file:line
    QStringList changes;
    QStringList out;
};

std::vector<Case> readCases()
{
    QFile file(QStringLiteral(KESTRIX_TEST_CASES "/frames.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    std::vector<Case> cases;
    int number = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        ++number;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype arrow = line.indexOf(QStringLiteral("->"));
        cases.push_back({"frames.txt:" + std::to_string(number), wordsOf(line.left(arrow)),
                         wordsOf(line.mid(arrow + 2))});
    }
    return cases;
}

class FrameCase
{
public:
    explicit FrameCase(const Case &c) : m_case(c) {}

    void run()
    {
        const bool point = m_case.changes.contains(QStringLiteral("locale=point"));
        const LocaleGuard locale = point ? LocaleGuard::point() : LocaleGuard::comma();
        DeviceSettings s = DefaultSettings();
        ConfigFrame frame;
        frame.fill(0xAA);
        std::vector<std::pair<int, int>> alterations;
        for (const QString &change : m_case.changes) {
            const qsizetype eq = change.indexOf('=');
            const QString name = change.left(eq);
            const QString value = isQuoted(change) ? unquoted(change) : change.mid(eq + 1);
            if (name.startsWith('@'))
                alterations.emplace_back(name.mid(1).toInt(), value.toInt(nullptr, 16));
            else if (name != QStringLiteral("locale"))
                set(s, name, value, m_case.where);
        }
        const Result<> built = BuildConfigFrame(s, frame);
        for (const auto &[offset, value] : alterations)
            frame[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
        check(built, s, frame);
        if (built && alterations.empty())
            expectRebuilt(frame);
    }

private:
    void check(const Result<> &built, const DeviceSettings &sent, const ConfigFrame &frame)
    {
        const DecodedFrame decoded = DecodeConfigFrame(frame);
        QStringList problems;
        bool refused = false;
        const QStringList &out = m_case.out;
        for (qsizetype i = 0; i < out.size(); ++i) {
            const QString &word = out[i];
            if (word == QStringLiteral("refused")) {
                refused = true;
                EXPECT_EQ(Said(built), unquoted(out[++i])) << m_case.where;
            } else if (word == QStringLiteral("sent")) {
                EXPECT_EQ(settingText(sent, out[i + 1]), unquoted(out[i + 2])) << m_case.where;
                i += 2;
            } else if (word == QStringLiteral("reads")) {
                EXPECT_EQ(settingText(decoded.settings, out[i + 1]), unquoted(out[i + 2]))
                    << m_case.where;
                i += 2;
            } else if (word == QStringLiteral("problem")) {
                problems << unquoted(out[++i]);
            } else if (word.startsWith('@')) {
                i = expectBytes(out, i, frame);
            } else {
                ADD_FAILURE() << m_case.where << ": what is " << word.toStdString() << "?";
            }
        }
        if (!refused) {
            EXPECT_TRUE(built) << m_case.where << ": " << built.error().toStdString();
        }
        if (built) { // a refused build leaves bytes unwritten
            EXPECT_EQ(decoded.problems, problems) << m_case.where;
        }
    }

    // The bytes from offset @N: hex bytes and quoted texts, up to the next
    // word that is neither. Returns the index of the last one taken.
    qsizetype expectBytes(const QStringList &out, qsizetype i, const ConfigFrame &frame)
    {
        const int offset = out[i].mid(1).toInt();
        QByteArray expected;
        static const QRegularExpression hexByte(QStringLiteral("^[0-9a-f]{2}$"));
        while (i + 1 < out.size() &&
               (isQuoted(out[i + 1]) || hexByte.match(out[i + 1]).hasMatch())) {
            const QString &item = out[++i];
            expected += isQuoted(item) ? unquoted(item).toLatin1()
                                       : QByteArray(1, static_cast<char>(item.toInt(nullptr, 16)));
        }
        const QByteArray actual(reinterpret_cast<const char *>(frame.data()) + offset,
                                std::min<qsizetype>(expected.size(), kFrameSize - offset));
        EXPECT_EQ(actual.toHex(' ').toStdString(), expected.toHex(' ').toStdString())
            << m_case.where << " at " << offset;
        return i;
    }

    // What the decoder reads builds the same frame again.
    void expectRebuilt(const ConfigFrame &frame)
    {
        DeviceSettings decoded = DecodeConfigFrame(frame).settings;
        ConfigFrame again;
        again.fill(0x55);
        const LocaleGuard point = LocaleGuard::point(); // the decoder writes points
        EXPECT_TRUE(BuildConfigFrame(decoded, again)) << m_case.where;
        EXPECT_EQ(again, frame) << m_case.where << ": decoded and built again";
    }

    const Case &m_case;
};

} // namespace

TEST(FrameCases, EachCaseGivesItsBytesRefusalAndReading)
{
    const std::vector<Case> cases = readCases();
    ASSERT_GT(cases.size(), 50u);
    for (const Case &c : cases)
        FrameCase(c).run();
}

TEST(FrameCases, TheDumpsFieldsCoverTheFrameInOrder)
{
    ConfigFrame frame{};
    DeviceSettings s = DefaultSettings();
    ASSERT_TRUE(BuildConfigFrame(s, frame));
    int next = 0;
    for (const FrameField &field : DescribeFrameFields(frame)) {
        EXPECT_EQ(field.offset, next) << field.description.toStdString();
        next = field.offset + field.length;
    }
    EXPECT_EQ(next, kFrameSize);
}
