// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFile.h"
#include "LocaleGuard.h"
#include "QtFileDialogs.h"
#include "SetupFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace kestrix;

namespace {

class FileCommands : public SetupFixture
{
protected:
    QString path(const QString &name) const { return QDir(folder.path()).filePath(name); }

    void save(const QString &to)
    {
        files.answer = to;
        setup->cmdSave_Click();
    }
    void load(const QString &from)
    {
        files.answer = from;
        setup->cmdLoad_Click();
    }

    static void write(const QString &to, const QByteArray &bytes)
    {
        QFile file(to);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString &from)
    {
        QFile file(from);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Settings far from the defaults: every section on, a grayed box, lists
    // with nothing chosen, texts with commas and blanks.
    void setUnusualState()
    {
        Check(setup.get(), "chkRange")->setValue(1);
        List(setup.get(), "cbNumRange")->setListIndex(2);
        Text(setup.get(), "txtRangeLow", 1)->setText("3,5");
        Text(setup.get(), "txtRangeHigh", 5)->setText("");
        Check(setup.get(), "chkBand")->setValue(2);
        List(setup.get(), "cbNumBand")->setListIndex(kNoChoice);
        List(setup.get(), "cbBand", 0)->setListIndex(kNoChoice);
        List(setup.get(), "cbBand", 5)->setListIndex(11);
        Check(setup.get(), "chkDxCall")->setValue(1);
        List(setup.get(), "cbNumDxCalls")->setListIndex(1);
        Text(setup.get(), "txtDxCall", 1)->setText("IK2ABC/P");
        Check(setup.get(), "chkPacket")->setValue(2);
        Check(setup.get(), "chkUsrM")->setValue(1);
        Text(setup.get(), "txtUsrM")->setText("A B,C");
        Text(setup.get(), "txtTimer")->setText("12,25");
        Text(setup.get(), "txtComm")->setText("7");
    }

    QTemporaryDir folder;
};

bool anyEdited(const QList<bool> &edited)
{
    return edited.contains(true);
}

} // namespace

TEST_F(FileCommands, SaveThenLoadRestoresEveryControlAndNamesTheFile)
{
    setUnusualState();
    const View saved = view();
    save(path("Kestrix.cfg"));
    ASSERT_TRUE(services.messages.empty()) << services.messages.front().text.toStdString();
    EXPECT_EQ(setup->windowTitle(), "Kestrix v6.DX - Kestrix.cfg");

    setup->SetDefaults();
    load(path("Kestrix.cfg"));
    ASSERT_TRUE(services.messages.empty()) << services.messages.front().text.toStdString();
    const View loaded = view();
    EXPECT_EQ(loaded.settings, saved.settings);
    EXPECT_EQ(loaded.enabled, saved.enabled);
    EXPECT_EQ(loaded.captions, saved.captions);
    EXPECT_FALSE(anyEdited(loaded.edited));
    EXPECT_EQ(loaded.title, "Kestrix v6.DX - Kestrix.cfg");
}

TEST_F(FileCommands, LoadBringsSectionsInLineEvenWhenTheSwitchKeepsItsValue)
{
    Check(setup.get(), "chkRange")->setValue(1);
    List(setup.get(), "cbNumRange")->setListIndex(5);
    save(path("six.cfg"));
    List(setup.get(), "cbNumRange")->setListIndex(0); // rows 1 to 5 off, switch still on
    load(path("six.cfg"));
    for (int i = 0; i < kRangeRows; ++i)
        EXPECT_TRUE(Text(setup.get(), "txtRangeLow", i)->isEnabled()) << i;
    EXPECT_EQ(Part<QGroupBox>(setup.get(), "frRange")->title(), "Frequency Ranges - ON");
}

TEST_F(FileCommands, CancelChangesNothingAndSaysNothing)
{
    setUnusualState();
    const View before = view();
    files.answer.reset();
    setup->cmdSave_Click();
    setup->cmdLoad_Click();
    EXPECT_EQ(view(), before);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(FileCommands, AFileFromACommaLocaleLoadsUnchangedUnderAPointLocale)
{
    {
        const LocaleGuard comma = LocaleGuard::comma();
        setup->SetDefaults();
        save(path("comma.cfg"));
    }
    const LocaleGuard point = LocaleGuard::point();
    setup->SetDefaults();
    ASSERT_EQ(Text(setup.get(), "txtRangeLow", 0)->text(), "1.810");
    load(path("comma.cfg"));
    EXPECT_EQ(Text(setup.get(), "txtRangeLow", 0)->text(), "1,810");
    EXPECT_EQ(Text(setup.get(), "txtRangeHigh", 5)->text(), "24,920");
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(), "1,0");
}

TEST_F(FileCommands, AFailedSaveKeepsTheOldFileAndTheTitle)
{
    const QByteArray old = "old contents\r\n";
    write(path("old.cfg"), old);
    setup->setWindowTitle(kestrix::kPlainTitle);
    const QString title = setup->windowTitle();

    QDir(folder.path()).mkdir("sub");
    Text(setup.get(), "txtUsrM")->setText("say \"hi\"");
    save(path("old.cfg")); // a quote cannot be kept
    Text(setup.get(), "txtUsrM")->setText("ok");
    save(path("sub")); // a folder, not a file
    save(path("none/x.cfg"));
    QStringList expected = {"old.cfg: not saved: the user message holds a double quote",
                            "sub: cannot be written", "x.cfg: cannot be written"};

    ASSERT_EQ(services.messages.size(), std::size_t(expected.size()));
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(services.messages[i].text.startsWith(expected[i]))
            << services.messages[i].text.toStdString();
        EXPECT_EQ(services.messages[i].title, "Kestrex");
        EXPECT_EQ(services.messages[i].icon, MessageIcon::None);
    }
    EXPECT_EQ(read(path("old.cfg")), old);
    EXPECT_EQ(setup->windowTitle(), title);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"old.cfg"});
}

TEST_F(FileCommands, AReadOnlyFileIsNotReplaced)
{
    write(path("old.cfg"), "old contents\r\n");
    QFile::setPermissions(path("old.cfg"), QFile::ReadOwner);
    save(path("old.cfg"));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "old.cfg: cannot be written: the file is read-only.");
    EXPECT_EQ(read(path("old.cfg")), "old contents\r\n");
}

TEST_F(FileCommands, ASaveReplacesAnExistingFileWhole)
{
    write(path("Kestrix.cfg"), QByteArray(4096, 'x'));
    save(path("Kestrix.cfg"));
    EXPECT_EQ(read(path("Kestrix.cfg")), *WriteConfigFile(setup->settings()));
}

TEST(QtNameFilters, DescriptionsKeepTheirPatternAndStarDotStarMeansEveryFile)
{
    EXPECT_EQ(QtNameFilters("File di configurazione (*.cfg)|*.cfg|Tutti i files|*.*"),
              QStringList({"File di configurazione (*.cfg)", "Tutti i files (*)"}));
    EXPECT_EQ(QtNameFilters("Text|*.txt;*.log|odd"), QStringList{"Text (*.txt *.log)"});
}

// Every file the fuzzer keeps in the committed corpus, findings included,
// either loads whole or leaves the window exactly as it was; so does a file
// that is not there or a folder.
TEST_F(FileCommands, EveryCorpusFileLoadsWholeOrChangesNothing)
{
    const QDir corpus(QStringLiteral(KESTRIX_CFG_CORPUS));
    QStringList names = corpus.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    names << "missing.cfg"
          << "..";
    for (const QString &name : names) {
        setUnusualState();
        setup->setWindowTitle(kestrix::kPlainTitle);
        const View before = view();
        services.messages.clear();
        load(corpus.filePath(name));
        const kestrix::Result<kestrix::DeviceSettings> expected =
            ReadConfigFile(read(corpus.filePath(name)));
        if (expected) {
            EXPECT_EQ(setup->settings(), *expected) << name.toStdString();
            EXPECT_EQ(setup->windowTitle(), "Kestrix v6.DX - " + name);
        } else {
            EXPECT_EQ(view(), before) << name.toStdString();
            ASSERT_EQ(services.messages.size(), 1u) << name.toStdString();
            EXPECT_EQ(services.messages[0].title, "Kestrix");
        }
    }
}
