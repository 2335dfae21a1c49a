// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window and the windows it opens, driven by scripts, one step
// a line, and by two tables of what its fields make of their input
// (tests/cases/keys.txt and entry.txt, a row a step). Run twice:
// offscreen, with the scripts in tests/scenarios, and on a real X server (run-xvfb.sh), with the
// scripts in tests/scenarios/x11 and the X server's ways of entering text.
//
// A script file holds scenarios, each begun by "== what it shows". Each runs
// on a fresh window, shown and active, under a point locale, with a folder
// of its own for files that is the working folder. Words are separated by
// blanks; a "quoted text" is one word and reads its escapes as JSON does
// (\r \n \" \\ \u0000). NAME is a control's name as its window gives it
// (txtRangeLow(2), cmdSend, lblInfo, tmrHide, Dialog, frmIstruzioni,
// rtfIstruzioni, PortChooser, lstPorts); Setup is the window itself.
//
//   locale comma|point          the default locale from here on
//   theme light|dark            the desktop's colours from here on
//   set NAME VALUE              a program write: a text, a check value, a list
//                               position or row, a timer's interval
//   click NAME                  the operator clicks it with the mouse
//   pick NAME N                 the operator chooses entry N, even the one shown
//   focus NAME                  it takes the focus
//   type|im|paste|drop "text"   into the focused field: typed, committed by an
//                               input method, pasted with Ctrl+V, dropped
//   xtype|xmenu|xmiddle "text"  the same through the X server: typed, pasted
//                               from the right-click menu or with a middle click
//   key KEY                     to the focused control: Return, Enter, Tab, Ctrl+V
//   tabs NAME...                Tab from the focused control reaches each in turn
//   menu NAME "caption"         the last entry of its context menu, chosen
//   xkey KEY...                 keys through the X server
//   wheel NAME                  the wheel turned down over it
//   save|load FILE|@FILE|cancel Save or Load answered with a file of the
//                               scenario's folder, of tests/data/window (@), or
//                               a cancel
//   file FILE "bytes"|@FILE     writes a file in the scenario's folder
//   mkdir FILE                  makes a folder there
//   device PATH DESCRIPTION MAKER SERIAL STABLE-NAME free|"in use"|"no permission"|unknown
//                               a serial port the machine lists from now on
//   stored N PATH, stored fails "why"   the stored choice for COMN; storing fails
//   env NAME VALUE              sets an environment variable for the scenario
//   port fail N                 the port fails at its Nth call from now on (0 next)
//   port opens-closed|open|closed   opens but reads back closed; is held open,
//                               or closed
//   close [NAME]                closes the window, or the window named
//   wait NAME STATE             until it is so, at most 10 s
//   remember                    keeps what the window shows, for "expect same"
//   at pause N STEP...          runs STEP inside the Nth pause from now on
//   expect NAME... VALUE|STATE  a text, number, caption or the rows of a list
//                               ("quoted", a trailing * matching any rest, or a number),
//                               or a state: enabled (a frame's labels too),
//                               disabled, shown, hidden (or gone), active,
//                               focused, marked, unmarked, running, stopped,
//                               precise, fits (its caption, and its container),
//                               readable (4.5:1 in each state, marked yellow);
//                               "fields" names every field, "controls" every
//                               control shown
//   STEP A..., B...             commas part groups, each a step of its own with
//                               the same verb
//   expect calls|pauses|progress|wire|messages ...   since the last such check:
//                               what the port was asked, the pauses, the progress
//                               texts, the bytes written ("text" or hex), the
//                               message boxes as "title (icon): text"; a
//                               trailing * matches any rest
//   expect file FILE "bytes"|@FILE
//   expect open N "text"        what the machine's port says to sending on COMN:
//                               its number refused, or its device missing
//   expect same                 the window shows what it did at "remember"
//
// The tables tests/cases/keys.txt and entry.txt run as a scenario each, a row
// a step: "keys FIELD TEXT CODES...", "entry FIELD TEXT WAY INPUT TEXT BEEPS
// [FIELD TEXT]...".
//
// A failing step names its file and line, and ends its scenario; so does a
// beep or a message box that no step expected.

#include "LocaleGuard.h"
#include "QtSerialPort.h"
#include "Scenario.h"
#include "SetupFixture.h"

#include <QClipboard>
#include <QDir>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeWidget>

#include <map>

using namespace kestrix;

QPalette ThemePalette(const QString &theme); // AccessibilityTest.cpp
QString Legibility(const QWidget *w);

namespace {

using Words = QStringList;

struct ScriptLine
{
    std::string file;
    int line = 0;
    Words words; // a quoted word keeps its quotes
};

struct Scenario
{
    std::string name;
    std::vector<ScriptLine> steps;
};

QString unquoted(const QString &word)
{
    return word.startsWith('"') ? word.mid(1, word.size() - 2) : word;
}

Words wordsOf(const QString &line)
{
    static const QRegularExpression word(R"re("(?:[^"\\]|\\.)*"|,|[^\s,]+)re");
    Words words;
    for (const QRegularExpressionMatch &match : word.globalMatch(line)) {
        const QByteArray json = '[' + match.captured().toUtf8() + ']';
        words << (json[1] == '"' ? '"' + QJsonDocument::fromJson(json).array()[0].toString() + '"'
                                 : match.captured());
    }
    return words;
}

// The lines of a script or a table that are neither blank nor comments.
std::vector<ScriptLine> ReadScript(const QString &path)
{
    const QStringList texts = QString::fromUtf8(ContentOf(path)).split('\n');
    std::vector<ScriptLine> lines;
    for (int i = 0; i < texts.size(); ++i)
        if (const Words words = wordsOf(texts[i]); !words.isEmpty() && !words[0].startsWith('#'))
            lines.push_back({path.toStdString(), i + 1, words});
    return lines;
}

std::vector<Scenario> ReadScenarios()
{
    static const QRegularExpression notInAName("[^A-Za-z0-9]+");
    std::vector<Scenario> scenarios;
    // On a real X server what only it shows; offscreen the rest.
    for (const QDir folder(QStringLiteral(KESTRIX_TESTS "/scenarios") +
                           (qgetenv("QT_QPA_PLATFORM") == "xcb" ? "/x11" : ""));
         const QString &file : folder.entryList({"*.txt"}, QDir::Files))
        for (const ScriptLine &line : ReadScript(folder.filePath(file))) {
            const QString name = QFileInfo(file).baseName() + ' ' + line.words.mid(1).join(' ');
            if (line.words[0] == "==")
                scenarios.push_back({QString(name).replace(notInAName, "_").toStdString(), {}});
            else
                scenarios.back().steps.push_back(line);
        }
    // The tables of the fields' reactions, a row a step.
    for (const QString table : {"keys", "entry"})
        scenarios.push_back(
            {table.toStdString(), ReadScript(KESTRIX_TESTS "/cases/" + table + ".txt")});
    return scenarios;
}

void xdotool(const QStringList &args)
{
    EXPECT_EQ(QProcess::execute("xdotool", args), 0) << args.join(' ').toStdString();
    QTest::qWait(150); // the server's events reach the window
}

class Scenarios : public testing::TestWithParam<Scenario>, public SetupFixture
{
protected:
    void SetUp() override
    {
        QDir::setCurrent(m_folder.path()); // where the help file is looked for
        setup->load();
        // The window opens at its designed size, fixed, minimizable only, with
        // its icon in both sizes, in the one font of a run with one installed.
        const QString family = qEnvironmentVariable("KESTRIX_TEST_FONT_FAMILY");
        ASSERT_TRUE(family.isEmpty() || QFontInfo(setup->font()).family() == family);
        EXPECT_TRUE(setup->size() == QSize(569, 323) &&
                    setup->minimumSize() == setup->maximumSize());
        EXPECT_EQ(setup->windowFlags() &
                      (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
                  Qt::WindowMinimizeButtonHint);
        EXPECT_EQ(setup->windowIcon().availableSizes(), QList<QSize>({{32, 32}, {16, 16}}));
        // Shown and active, as the operator has it.
        setup->show();
        setup->activateWindow(); // on a real display; offscreen it takes the next line
        QApplication::setActiveWindow(setup.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(setup.get(), 10000));
        services.duringEvents = [this] { m_progress << valueOf(find("lblInfo")); };
        services.duringPause = [this] {
            for (const ScriptLine &step : std::exchange(m_due[services.pauses.size()], {}))
                run(step);
        };
        for (const char *way : {"type", "im", "paste", "drop", "xtype", "xmenu", "xmiddle"})
            m_steps[way] = [this, way](const Words &w) { enter(way, unquoted(w[1])); };
        for (const char *log : {"calls", "pauses", "progress", "wire", "messages"})
            m_steps[QStringLiteral("expect ") + log] = [this, log](const Words &w) {
                expectLog(log, w.mid(2));
            };
    }

    void TearDown() override
    {
        QDir::setCurrent(m_workingFolder);
        QApplication::setPalette(m_palette);
        for (const QString &name : QProcessEnvironment::systemEnvironment().keys())
            if (name.startsWith("KESTRIX_COM")) // set by the scenario
                qunsetenv(name.toLocal8Bit());
        if (HasFailure())
            return;
        EXPECT_EQ(services.beeps, 0) << "beeps that no step expected";
        EXPECT_EQ(logs()["messages"].mid(m_seen["messages"]), QStringList()) << "not expected";
        for (const auto &[pause, steps] : m_due)
            EXPECT_TRUE(steps.empty()) << "steps wait for pause " << pause << ", which never came";
    }

    // Runs a step; a failure names its file and line.
    void run(const ScriptLine &step)
    {
        // Commas part groups of words, each a step of its own with the same verb.
        if (const qsizetype comma = step.words.indexOf(","); comma > 0 && step.words[0] != "at") {
            run({step.file, step.line, step.words.first(comma)});
            return run({step.file, step.line, step.words.first(1) + step.words.mid(comma + 1)});
        }
        testing::ScopedTrace trace(step.file.c_str(), step.line,
                                   step.words.join(' ').toStdString());
        m_step = step;
        const QString two = step.words.mid(0, 2).join(' ');
        const auto found = m_steps.find(m_steps.contains(two) ? two : step.words[0]);
        try {
            if (found == m_steps.end())
                throw std::runtime_error("no such step");
            found->second(step.words);
            // A window just opened takes the activation, one just closed goes.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } catch (const std::exception &error) {
            ADD_FAILURE() << error.what();
        }
    }

    // The part so named of the settings window, which the chooser belongs to,
    // or of the help window; none is null, a second window holding one a fault.
    QObject *lookup(const QString &name) const
    {
        QObjectList found;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (QObject *o = w->objectName() == name ? w : w->findChild<QObject *>(name);
                o && !w->parentWidget())
                found << o;
        if (found.size() > 1)
            throw std::runtime_error("two windows hold " + name.toStdString());
        return found.value(0);
    }

    template <typename T = QObject> T *find(const QString &name) const
    {
        return Part<T>(lookup(name) ? lookup(name) : setup.get(), name);
    }

    static void focus(QWidget *widget)
    {
        QApplication::setActiveWindow(widget->window()); // as the operator's click does
        widget->setFocus();
        QCoreApplication::processEvents(); // the field selects its text once entered
    }

    // Writes a field as a file would, marked up: [ ] the selection, | the caret
    // (else at the end). Returns the text.
    static QString place(TextBox *box, const QString &marked)
    {
        const QString text = QString(marked).remove('[').remove(']').remove('|');
        box->setText(text);
        box->setBackground(TextBox::Background::Normal);
        const qsizetype open = marked.indexOf('['), caret = marked.indexOf('|');
        if (open >= 0)
            box->setSelection(open, marked.indexOf(']') - open - 1);
        else
            box->setCursorPosition(caret >= 0 ? caret : text.size());
        return text;
    }

    static void enter(const QString &way, const QString &text)
    {
        auto *box = qobject_cast<TextBox *>(QApplication::focusWidget());
        if (!box)
            throw std::runtime_error("no field has the focus");
        // A decoy in the buffer that the way must not read.
        QApplication::clipboard()->setText(way == "xmiddle" ? "7" : text);
        if (QApplication::clipboard()->supportsSelection())
            QApplication::clipboard()->setText(way == "xmiddle" ? text : "7",
                                               QClipboard::Selection);
        QInputMethodEvent commit;
        commit.setCommitString(text);
        const QPoint at = box->mapToGlobal(box->rect().center());
        if (way == "type") {
            for (const QChar c : text) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, c);
                QApplication::sendEvent(box, &press);
            }
        } else if (way == "im") {
            QApplication::sendEvent(box, &commit);
        } else if (way == "paste") {
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        } else if (way == "drop") {
            drop(box, text);
        } else if (way == "xtype") {
            xdotool({"type", "--delay", "30", "--", text});
        } else {
            const QString before = box->text();
            xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click",
                     way == "xmenu" ? "3" : "2"});
            // On a busy machine the menu, or the selection's text, comes late.
            // The menu's &Paste, and Escape where Paste was disabled.
            if (way == "xmenu" && QTest::qWaitFor([] { return QApplication::activePopupWidget(); }))
                xdotool({"key", "p", "Escape"});
            (void)QTest::qWaitFor([&] { return box->text() != before; }, 1000);
        }
    }

    // A drop is a copy, so that what the field refuses stays where it came
    // from, and it is taken only when something went in.
    static void drop(TextBox *box, const QString &text)
    {
        QMimeData data;
        data.setText(text);
        const QPoint at = box->rect().center();
        const QString before = box->text();
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(box, &drop);
        EXPECT_EQ(drop.isAccepted(), box->text() != before) << "the drop taken";
        EXPECT_TRUE(!drop.isAccepted() || drop.dropAction() == Qt::CopyAction) << "not a copy";
    }

    std::optional<QString> path(const QString &name) const
    {
        if (name == "cancel")
            return std::nullopt;
        if (name.startsWith('@'))
            return KESTRIX_TESTS "/data/window/" + name.mid(1);
        return QDir(m_folder.path()).filePath(name);
    }

    QByteArray bytes(const QString &word) const
    {
        return word.startsWith('@') ? ContentOf(*path(word)) : unquoted(word).toLatin1();
    }

    static void set(QObject *o, const QString &value)
    {
        if (auto *check = qobject_cast<CheckBox *>(o))
            check->setValue(value.toInt());
        else if (auto *list = qobject_cast<ComboBox *>(o))
            list->setListIndex(value.toInt());
        else if (auto *box = qobject_cast<TextBox *>(o))
            box->setText(value);
        else if (auto *rows = qobject_cast<QTreeWidget *>(o))
            rows->setCurrentItem(rows->topLevelItem(value.toInt()));
        else // a text shown, or a timer's interval
            o->setProperty(qobject_cast<QTextEdit *>(o) ? "plainText" : "interval", value);
    }

    static QString valueOf(const QObject *o)
    {
        if (auto *check = qobject_cast<const CheckBox *>(o))
            return QString::number(check->value());
        if (auto *list = qobject_cast<const QTreeWidget *>(o)) {
            QStringList rows;
            for (int r = 0; r < list->topLevelItemCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < list->columnCount(); ++c)
                    cells << list->topLevelItem(r)->text(c);
                rows << cells.filter(QRegularExpression(".")).join(" | ");
            }
            return rows.join(" / ");
        }
        for (const char *property :
             {"text", "title", "currentIndex", "interval", "plainText", "windowTitle"})
            if (o && o->property(property).isValid())
                return o->property(property).toString();
        return {};
    }

    static QStringList statesOf(const QObject *o)
    {
        QStringList states;
        if (auto *w = qobject_cast<const QWidget *>(o)) {
            const bool labels =
                std::ranges::all_of(w->findChildren<QLabel *>(), &QWidget::isEnabled);
            states << (!w->isEnabled() ? "disabled"
                       : labels        ? "enabled"
                                       : "partly enabled")
                   << ((w->isWindow() ? w->isVisible() : !w->isHidden()) ? "shown" : "hidden")
                   << (w->isActiveWindow() ? "active" : "inactive")
                   << (QApplication::focusWidget() == w ? "focused" : "unfocused") << Legibility(w)
                   << (fits(w) ? "fits" : "cut");
        }
        if (auto *box = qobject_cast<const TextBox *>(o))
            states << (box->background() == TextBox::Background::Edited ? "marked" : "unmarked");
        if (auto *timer = qobject_cast<const QTimer *>(o))
            states << (timer->isActive() ? "running" : "stopped")
                   << (timer->timerType() == Qt::PreciseTimer ? "precise" : "coarse");
        return states;
    }

    // Whether a control shows its whole caption, and stays within its container.
    static bool fits(const QWidget *w)
    {
        const QFontMetrics font(w->font());
        const auto *label = qobject_cast<const QLabel *>(w);
        QSize need = !label              ? QSize()
                     : label->wordWrap() ? QSize(w->width(), label->heightForWidth(w->width()))
                                         : w->sizeHint() - QSize(0, 2);
        if (qobject_cast<const CheckBox *>(w))
            need = w->sizeHint() - QSize(2, 2); // the hint keeps a pixel or two for the focus
        else if (qobject_cast<const QPushButton *>(w))
            need.setWidth(font.horizontalAdvance(valueOf(w)) + 12);
        else if (qobject_cast<const QGroupBox *>(w))
            need.setWidth(font.horizontalAdvance(valueOf(w) + "  ") + 1);
        else if (auto *list = qobject_cast<const ComboBox *>(w))
            for (int i = 0; i < list->count(); ++i)
                need.setWidth(
                    std::max(need.width(), font.horizontalAdvance(list->itemText(i)) + 22));
        return need.width() <= w->width() && need.height() <= w->height() &&
               (w->isWindow() || w->parentWidget()->rect().contains(w->geometry()));
    }

    // Every control and caption with its value, whether enabled and marked;
    // the window's title first.
    QStringList view() const
    {
        QStringList shown{setup->windowTitle()};
        for (const QWidget *w : setup->findChildren<QWidget *>())
            if (qobject_cast<const QLabel *>(w) || !w->objectName().remove("qt_").isEmpty())
                shown << w->objectName() + ": " + valueOf(w) + (w->isEnabled() ? "" : " disabled") +
                             (statesOf(w).contains("marked") ? " marked" : "");
        return shown;
    }

    // What was wanted, or what is where a trailing * in it matches the rest.
    static QString matched(const QString &is, const QString &want)
    {
        return want.endsWith('*') && is.startsWith(want.chopped(1)) ? is : want;
    }

    void expectEach(const Words &names, const QString &want) const
    {
        bool number = false;
        want.toInt(&number);
        for (const QString &name : names) {
            if (want == "hidden" && !lookup(name))
                continue;    // gone
            QObjectList all; // the fields, or the controls shown but not the lists' popups
            for (QWidget *w : setup->findChildren<QWidget *>())
                if (name == "fields" ? qobject_cast<TextBox *>(w) != nullptr
                                     : !w->isWindow() && w->isVisibleTo(setup.get()))
                    all << w;
            for (QObject *o :
                 name == "fields" || name == "controls" ? all : QObjectList{find(name)}) {
                const QString is = number || want.startsWith('"') ? valueOf(o)
                                   : statesOf(o).contains(want)   ? want
                                                                  : statesOf(o).join(' ');
                EXPECT_EQ(is, matched(is, unquoted(want))) << name.toStdString();
            }
        }
    }

    // What happened, in order; "expect KIND" checks what came since the last.
    QMap<QString, QStringList> logs() const
    {
        QStringList messages;
        for (const FakeServices::Message &m : services.messages)
            messages << m.title + " (" + Words{"none", "information", "critical"}.at(int(m.icon)) +
                            "): " + m.text;
        return {{"calls", port.calls},
                {"pauses", services.pauses},
                {"progress", m_progress},
                {"wire",
                 QString(port.written.join().toHex(' ').toUpper()).split(' ', Qt::SkipEmptyParts)},
                {"messages", messages}};
    }

    void expectLog(const QString &kind, const Words &words)
    {
        const QStringList happened = logs()[kind].mid(m_seen[kind]);
        m_seen[kind] += happened.size();
        QStringList expected;
        for (const QString &word : words)
            expected << (kind == "wire" && word.startsWith('"')
                             ? QString(bytes(word).toHex(' ').toUpper()).split(' ')
                             : QStringList{unquoted(word)});
        for (qsizetype i = 0; i < std::min(expected.size(), happened.size()); ++i)
            expected[i] = matched(happened[i], expected[i]);
        EXPECT_EQ(happened, expected);
    }

    // A row of keys.txt: a field holding a text, and what its key reaction
    // makes of every code from 0 to 255.
    void keys(const Words &w)
    {
        static const QRegularExpression codes(R"(^(!?)(\d+)(?:-(\d+))?(?:>(\d+))?$)");
        auto *box = find<TextBox>(w[1]);
        place(box, unquoted(w[2]));
        std::array<KeyCode, 256> expected{};
        int beeps = 0;
        for (const QString &range : w.mid(3)) {
            const QRegularExpressionMatch m = codes.match(range);
            if (!m.hasMatch())
                throw std::runtime_error("not codes: " + range.toStdString());
            const int first = m.captured(2).toInt();
            const int last = m.hasCaptured(3) ? m.captured(3).toInt() : first;
            const bool beep = m.captured(1) == "!";
            beeps += beep ? last - first + 1 : 0;
            for (int c = first; c <= last; ++c)
                expected[c] = beep ? 0 : m.hasCaptured(4) ? m.captured(4).toInt() + c - first : c;
        }
        for (int c = 0; c < 256; ++c)
            EXPECT_EQ(box->filtered(KeyCode(c)), expected[c]) << "code " << c;
        EXPECT_EQ(std::exchange(services.beeps, 0), beeps);
    }

    // A row of entry.txt: a field holding a text, and what each way of entering
    // the input, and leaving, leaves there; marked when its text changed, and
    // no longer once left.
    void entry(const Words &w)
    {
        const bool x11 = QGuiApplication::platformName() == "xcb";
        const QMap<QString, QStringList> ways{
            {"typed", x11 ? Words{"xtype"} : Words{"type", "im"}},
            {"pasted", x11 ? Words{"xmenu", "xmiddle"} : Words{"paste", "drop"}},
            {"left", x11 ? Words{} : Words{"type"}}};
        if (x11 && w[2] != "\"\"")
            return; // where the mouse clicks, it places the caret
        set(find("chkRange"), "1");
        set(find("chkDxCall"), "1");
        for (const QString &way : ways.value(w[3])) {
            SCOPED_TRACE(way.toStdString());
            for (qsizetype i = 7; i + 1 < w.size(); i += 2)
                set(find(w[i]), unquoted(w[i + 1]));
            auto *box = find<TextBox>(w[1]);
            focus(box);
            const QString before = place(box, unquoted(w[2]));
            services.beeps = 0;
            enter(way, unquoted(w[4]));
            if (w[3] == "left")
                QTest::keyClick(box, Qt::Key_Tab);
            EXPECT_EQ(box->text(), unquoted(w[5]));
            EXPECT_EQ(std::exchange(services.beeps, 0), w[6].toInt());
            EXPECT_EQ(statesOf(box).contains("marked"), w[3] != "left" && box->text() != before);
        }
    }

    std::map<QString, std::function<void(const Words &)>> m_steps{
        {"keys", [this](const Words &w) { keys(w); }},
        {"entry", [this](const Words &w) { entry(w); }},
        {"locale",
         [this](const Words &w) {
             m_locale.reset(); // the original back first, for the last guard to restore
             m_locale.reset(
                 new LocaleGuard(w[1] == "comma" ? LocaleGuard::comma() : LocaleGuard::point()));
         }},
        {"theme", [](const Words &w) { QApplication::setPalette(ThemePalette(w[1])); }},
        {"set", [this](const Words &w) { set(find(w[1]), unquoted(w[2])); }},
        {"click",
         [this](const Words &w) { QTest::mouseClick(find<QWidget>(w[1]), Qt::LeftButton); }},
        {"pick",
         [this](const Words &w) {
             // As from the list's popup: a change, if any, and then the choice.
             find<ComboBox>(w[1])->setCurrentIndex(w[2].toInt());
             emit find<ComboBox>(w[1])->activated(w[2].toInt());
         }},
        {"focus", [this](const Words &w) { focus(find<QWidget>(w[1])); }},
        {"key",
         [this](const Words &w) {
             const QKeyCombination key = QKeySequence::fromString(w[1])[0];
             QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
         }},
        {"tabs",
         [this](const Words &w) {
             for (const QString &name : w.mid(1)) {
                 QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                 EXPECT_EQ(QApplication::focusWidget(), find(name)) << name.toStdString();
             }
         }},
        {"menu",
         [this](const Words &w) {
             std::unique_ptr<QMenu> menu(find<TextBox>(w[1])->createEditMenu());
             EXPECT_EQ(menu->actions().last()->text(), unquoted(w[2]));
             menu->actions().last()->trigger();
         }},
        {"xkey", [](const Words &w) { xdotool(QStringList{"key"} + w.mid(1)); }},
        {"wheel", // turned down
         [this](const Words &w) {
             auto *list = find<QWidget>(w[1]);
             const QPointF at = list->rect().center();
             QWheelEvent turn(at, list->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
             QApplication::sendEvent(list, &turn);
         }},
        {"save", [this](const Words &w) { (files.answer = path(w[1]), setup->cmdSave_Click()); }},
        {"load", [this](const Words &w) { (files.answer = path(w[1]), setup->cmdLoad_Click()); }},
        {"file", [this](const Words &w) { EXPECT_TRUE(PutFile(*path(w[1]), bytes(w[2]))); }},
        {"mkdir", [this](const Words &w) { EXPECT_TRUE(QDir(m_folder.path()).mkdir(w[1])); }},
        {"device",
         [this](const Words &w) {
             const QStringList states{"free", "in use", "no permission", "unknown"};
             ports.entries << PortEntry{
                 w[1],           unquoted(w[2]), unquoted(w[3]),
                 unquoted(w[4]), unquoted(w[5]), PortAvailability(states.indexOf(unquoted(w[6])))};
         }},
        {"stored", [this](const Words &w) { portMappings.devices[w[1].toInt()] = w[2]; }},
        {"stored fails", [this](const Words &w) { portMappings.failure = unquoted(w[2]); }},
        {"env", [](const Words &w) { qputenv(w[1].toLocal8Bit(), unquoted(w[2]).toLocal8Bit()); }},
        {"port fail",
         [this](const Words &w) { port.failOnCall = port.calls.size() + w[2].toInt(); }},
        {"port opens-closed", [this](const Words &) { port.opensClosed = true; }},
        {"port", [this](const Words &w) { port.open_ = w.at(1) == "open"; }}, // or closed
        {"close", [this](const Words &w) { find<QWidget>(w.value(1, "Setup"))->close(); }},
        {"wait",
         [this](const Words &w) {
             (void)QTest::qWaitFor([&] { return statesOf(find(w[1])).contains(w[2]); }, 10000);
             expectEach({w[1]}, w[2]);
         }},
        {"remember", [this](const Words &) { m_remembered = view(); }},
        {"at",
         [this](const Words &w) {
             m_due[services.pauses.size() + w[2].toInt()].push_back(
                 {m_step.file, m_step.line, w.mid(3)});
         }},
        {"expect", [this](const Words &w) { expectEach(w.mid(1, w.size() - 2), w.last()); }},
        {"expect file", [this](const Words &w) { EXPECT_EQ(ContentOf(*path(w[2])), bytes(w[3])); }},
        {"expect open",
         [this](const Words &w) {
             QtSerialPort serial(QProcessEnvironment::systemEnvironment(), &portMappings);
             serial.adviseOnMissingDevice(&ports, "Right-click Comm num to choose one.");
             const Result<> numbered = serial.setPortNumber(w[2].toInt());
             EXPECT_EQ(Said(numbered ? serial.open() : numbered), unquoted(w[3]));
         }},
        {"expect same",
         [this](const Words &) {
             const QStringList now = view();
             for (qsizetype i = 0; i < std::max(now.size(), m_remembered.size()); ++i)
                 EXPECT_EQ(now.value(i), m_remembered.value(i));
         }},
    };
    std::unique_ptr<LocaleGuard> m_locale{new LocaleGuard(LocaleGuard::point())};
    QTemporaryDir m_folder;
    const QString m_workingFolder = QDir::currentPath();
    const QPalette m_palette = QApplication::palette();
    ScriptLine m_step;
    std::map<std::size_t, std::vector<ScriptLine>> m_due; // steps by the pause they wait for
    QStringList m_progress;
    QStringList m_remembered;
    QMap<QString, qsizetype> m_seen;
};

} // namespace

TEST_P(Scenarios, Run)
{
    for (const ScriptLine &step : GetParam().steps) {
        run(step);
        if (HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(Window, Scenarios, testing::ValuesIn(ReadScenarios()),
                         [](const auto &info) { return info.param.name; });
