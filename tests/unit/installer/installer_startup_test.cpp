#include "installer_fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillet::installer {
namespace {

using fakes::FakeInstallerWorld;

size_t IndexOf(const fakes::Journal& journal, std::u16string_view prefix) {
    for (size_t i = 0; i < journal.size(); ++i)
        if (journal[i].starts_with(prefix))
            return i;
    ADD_FAILURE() << "not in the journal";
    return journal.size();
}

const std::u16string kFolder = u"C:\\Program Files\\Мои программы\\Квиллет";
const std::u16string kEditor = kFolder + u"\\Quillet.exe";
const std::u16string kTemplate = u"C:\\windows\\ShellNew\\Текстовый документ.txt";
const std::u16string kLink = u"C:\\users\\anna\\Start Menu\\Programs\\Текстовый документ.lnk";

TEST(InstallerStartUp, RegistersLinksAndTemplatesThenReportsAndOnlyThenShowsTheWindow) {
    FakeInstallerWorld w;
    w.files.files[kTemplate] = "old text";
    InstallerStartUp(w.app);

    EXPECT_EQ(w.app.state.pathSeparator, u"\\");
    EXPECT_EQ(w.app.state.installerFolder, kFolder + u"\\");
    EXPECT_EQ(w.app.state.editorPath, kEditor);

    using Key = std::pair<std::u16string, std::u16string>;
    std::map<Key, std::u16string> expected{
        {{u".txt", u""}, u"Текстовый документ"},
        {{u".txt\\DefaultIcon", u""}, kEditor},
        {{u".txt\\Shell\\Open\\Command", u""}, u"\"" + kEditor + u"\" %1"},
        {{u".txt\\ShellNew", u"FileName"}, kTemplate},
        {{u"Текстовый документ", u""}, u"Текстовый документ"},
        {{u"Текстовый документ\\DefaultIcon", u""}, kEditor},
        {{u"Текстовый документ\\Shell\\Open\\Command", u""}, u"\"" + kEditor + u"\" %1"},
    };
    EXPECT_EQ(w.registry.values, expected);

    ASSERT_EQ(w.shell.links.size(), 1u);
    const ShellLinkProperties& link = w.shell.links.at(kLink);
    EXPECT_EQ(link.windowStyle, 1);
    EXPECT_EQ(link.targetPath, kEditor);
    EXPECT_EQ(link.iconPath, kEditor);
    EXPECT_EQ(link.iconIndex, 0);
    EXPECT_EQ(link.description, u"Текстовый документ");
    EXPECT_EQ(link.workingDirectory, kFolder); // as reported, no separator appended

    EXPECT_EQ(w.files.files.at(kTemplate), ""); // emptied

    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].text, u"Установка программы завершена.");
    EXPECT_EQ(w.messages.shown[0].title, u"Install");
    EXPECT_EQ(w.messages.shown[0].icon, InstallerIcon::Information);

    const auto& j = w.journal;
    std::vector<std::u16string> expectedOrder{
        u"registry .txt [",
        u"registry .txt\\DefaultIcon [",
        u"registry .txt\\Shell\\Open\\Command [",
        u"registry Текстовый документ [",
        u"registry Текстовый документ\\DefaultIcon [",
        u"registry Текстовый документ\\Shell\\Open\\Command [",
        u"link ",
        u"create ",
        u"registry .txt\\ShellNew [FileName]", // only once the template is there
        u"pump",
        u"message ",
        u"show window",
    };
    ASSERT_EQ(j.size(), expectedOrder.size());
    for (size_t i = 0; i < j.size(); ++i)
        EXPECT_TRUE(j[i].starts_with(expectedOrder[i])) << i;
}

TEST(InstallerStartUp, FromADriveRootAddsNoSecondSeparator) {
    FakeInstallerWorld w;
    w.environment.programFolder = u"D:\\";
    InstallerStartUp(w.app);
    EXPECT_EQ(w.app.state.installerFolder, u"D:\\");
    EXPECT_EQ(w.app.state.editorPath, u"D:\\Quillet.exe");
    EXPECT_EQ((w.registry.values[{u".txt\\Shell\\Open\\Command", u""}]), u"\"D:\\Quillet.exe\" %1");
    EXPECT_EQ(w.shell.links.at(kLink).workingDirectory, u"D:\\");
}

TEST(InstallerStartUp, AFolderWithoutBackslashesJoinsWithSlashes) {
    FakeInstallerWorld w;
    w.environment.programFolder = u"/opt/quillet";
    w.environment.variables[u"windir"] = u"/win";
    w.shell.programsFolder = u"/menu";
    w.files.folders.insert(u"/win/ShellNew");
    InstallerStartUp(w.app);
    EXPECT_EQ(w.app.state.editorPath, u"/opt/quillet/Quillet.exe");
    EXPECT_TRUE(w.registry.values.count({u".txt/DefaultIcon", u""}));
    EXPECT_TRUE(w.registry.values.count({u".txt/Shell\\Open\\Command", u""}));
    EXPECT_TRUE(w.shell.links.count(u"/menu/Текстовый документ.lnk"));
    EXPECT_TRUE(w.files.files.count(u"/win/ShellNew/Текстовый документ.txt"));
}

TEST(InstallerStartUp, WithoutRegistryRightsTriesEveryEntryGoesOnAndSaysWhatFailed) {
    FakeInstallerWorld w;
    w.registry.denied = {u".txt"};
    InstallerStartUp(w.app);
    // The entries after the refused one are still written.
    EXPECT_TRUE(w.registry.values.count({u".txt\\DefaultIcon", u""}));
    EXPECT_TRUE(w.registry.values.count({u".txt\\Shell\\Open\\Command", u""}));
    EXPECT_TRUE(w.registry.values.count({u".txt\\ShellNew", u"FileName"}));
    EXPECT_EQ(w.shell.links.size(), 1u);

    ASSERT_EQ(w.messages.shown.size(), 1u);
    const auto& m = w.messages.shown[0];
    EXPECT_EQ(m.icon, InstallerIcon::Warning);
    EXPECT_EQ(m.title, u"Install");
    EXPECT_EQ(m.text, u"Установка программы завершена не полностью. Не удалось:\n"
                      u"— связать файлы .txt с программой (нужны права администратора).");
    EXPECT_EQ(w.journal.back(), u"show window");
}

TEST(InstallerStartUp, AShortcutThatCannotBeSavedIsReportedAndTheTemplateStillWritten) {
    FakeInstallerWorld w;
    w.shell.refuseSave = true;
    InstallerStartUp(w.app);
    EXPECT_TRUE(w.files.files.count(kTemplate));
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].icon, InstallerIcon::Warning);
    EXPECT_EQ(w.messages.shown[0].text, u"Установка программы завершена не полностью. Не удалось:\n"
                                        u"— создать ярлык «Текстовый документ» в меню «Пуск».");
    EXPECT_EQ(w.journal.back(), u"show window");

    FakeInstallerWorld empty; // an empty Start-menu folder is no place for the link either
    empty.shell.programsFolder = u"";
    InstallerStartUp(empty.app);
    ASSERT_EQ(empty.messages.shown.size(), 1u);
    EXPECT_EQ(empty.messages.shown[0].text, w.messages.shown[0].text);
}

TEST(InstallerStartUp, AMissingShellNewFolderIsReportedNotCreatedAndListedWithTheOtherFailures) {
    FakeInstallerWorld w;
    w.files.folders.clear();
    w.registry.denyAll = true;
    w.shell.programsFolder.reset();
    InstallerStartUp(w.app);

    EXPECT_TRUE(w.files.folders.empty());
    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[0].text, u"Файл \"" + kTemplate + u"\" сохранить не возможно.");
    EXPECT_EQ(w.messages.shown[0].icon, InstallerIcon::Error);
    EXPECT_EQ(w.messages.shown[0].title, u"Install");
    EXPECT_EQ(w.messages.shown[1].text, u"Установка программы завершена не полностью. Не удалось:\n"
                                        u"— связать файлы .txt с программой (нужны права администратора);\n"
                                        u"— создать ярлык «Текстовый документ» в меню «Пуск»;\n"
                                        u"— создать шаблон для команды «Создать» → «Текстовый документ».");
    EXPECT_EQ(w.messages.shown[1].icon, InstallerIcon::Warning);
    EXPECT_LT(IndexOf(w.journal, u"pump"), IndexOf(w.journal, u"message Установка"));
    EXPECT_EQ(w.journal.back(), u"show window");
}

TEST(InstallerStartUp, AWriteProtectedTemplateIsReportedAsSuchAndTheRunCarriesOn) {
    FakeInstallerWorld w;
    w.files.readOnly.insert(kTemplate);
    InstallerStartUp(w.app);
    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[0].text, u"Файл \"" + kTemplate + u"\" защищён от записи.");
    EXPECT_EQ(w.messages.shown[1].icon, InstallerIcon::Warning);
    EXPECT_EQ(w.messages.shown[1].text, u"Установка программы завершена не полностью. Не удалось:\n"
                                        u"— создать шаблон для команды «Создать» → «Текстовый документ».");
    EXPECT_FALSE(w.registry.values.count({u".txt\\ShellNew", u"FileName"})) << "it would name nothing";
    EXPECT_EQ(w.journal.back(), u"show window");
}

TEST(InstallerStartUp, WithoutWindirTheTemplateIsLookedForAtTheDriveRootAndNamedInTheMessage) {
    FakeInstallerWorld w;
    w.environment.variables.clear();
    InstallerStartUp(w.app);
    ASSERT_GE(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].text,
              u"Файл \"\\ShellNew\\Текстовый документ.txt\" сохранить не возможно.");
}

TEST(InstallerStartUp, RunningTwiceLeavesTheSameValuesOneLinkAndOneEmptyTemplate) {
    FakeInstallerWorld w;
    InstallerStartUp(w.app);
    auto values = w.registry.values;
    auto files = w.files.files;
    w.files.files[kTemplate] = "typed in between";
    InstallerStartUp(w.app);
    EXPECT_EQ(w.registry.values, values);
    EXPECT_EQ(w.files.files, files);
    EXPECT_EQ(w.shell.links.size(), 1u);
    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[1].text, u"Установка программы завершена.");
}

TEST(InstallerWindowEvents, LoadNavigatesToTheSiteBypassingTheCacheAndResizeFillsTheClientArea) {
    FakeInstallerWorld w;
    OnWindowCreated(w.app);
    ASSERT_EQ(w.webView.navigations.size(), 1u);
    EXPECT_EQ(w.webView.navigations[0].first, kMakerSite);
    EXPECT_EQ(w.webView.navigations[0].second, 4);

    for (ClientSize size : {ClientSize{6000, 4500}, ClientSize{0, 0}, ClientSize{12345, 321}}) {
        w.window.size = size;
        w.journal.clear();
        OnWindowResized(w.app);
        ASSERT_FALSE(w.webView.moves.empty());
        auto m = w.webView.moves.back();
        EXPECT_EQ(m.left, 0);
        EXPECT_EQ(m.top, 0);
        EXPECT_EQ(m.width, size.width);
        EXPECT_EQ(m.height, size.height);
        EXPECT_EQ(w.journal, (fakes::Journal{u"move", u"pump"}));
    }
}

} // namespace
} // namespace quillet::installer
