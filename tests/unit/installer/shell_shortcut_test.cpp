#include "installer_fakes.h"

#include <gtest/gtest.h>

namespace quillet::installer {
namespace {

using fakes::FakeInstallerWorld;

struct ShortcutTest : ::testing::Test {
    FakeInstallerWorld w;
    void SetUp() override { w.app.state.PathSeparator = u"\\"; }
    bool Create(int32_t kind, std::u16string_view hotKey = u"",
                std::u16string_view icon = u"C:\\q\\Quillet.exe", std::u16string_view subFolder = u"") {
        return CreateShellShortcut(w.app, kind, u"Ярлык", u"C:\\q\\Quillet.exe", hotKey, icon, u"C:\\q",
                                   subFolder, 3);
    }
};

TEST_F(ShortcutTest, EachFolderKindPutsTheLinkInItsFolderAndAnUnknownKindWritesNothing) {
    EXPECT_TRUE(Create(kDesktop));
    EXPECT_TRUE(Create(kPrograms));
    EXPECT_TRUE(Create(kStartMenu));
    EXPECT_TRUE(Create(kStartUp));
    EXPECT_FALSE(Create(4));
    EXPECT_FALSE(Create(-1));
    std::vector<std::u16string> paths;
    for (auto& [path, link] : w.shell.links) {
        paths.push_back(path);
        EXPECT_EQ(link.windowStyle, 3);
        EXPECT_EQ(link.description, u"Ярлык");
        EXPECT_EQ(link.workingDirectory, u"C:\\q");
    }
    EXPECT_EQ(paths, (std::vector<std::u16string>{
                         u"C:\\users\\anna\\Desktop\\Ярлык.lnk",
                         u"C:\\users\\anna\\Start Menu\\Programs\\StartUp\\Ярлык.lnk",
                         u"C:\\users\\anna\\Start Menu\\Programs\\Ярлык.lnk",
                         u"C:\\users\\anna\\Start Menu\\Ярлык.lnk",
                     }));
}

TEST_F(ShortcutTest, AFolderThatCannotBeFoundFailsWithoutWritingAtTheDriveRoot) {
    w.shell.folders.erase(SpecialFolder::Desktop);
    EXPECT_FALSE(Create(kDesktop));
    EXPECT_TRUE(w.shell.links.empty());
}

TEST_F(ShortcutTest, ASubFolderIsCreatedWhenMissingAndTheLinkGoesIntoIt) {
    EXPECT_TRUE(Create(kPrograms, u"", u"C:\\q\\Quillet.exe", u"Квиллет"));
    EXPECT_TRUE(w.files.folders.count(u"C:\\users\\anna\\Start Menu\\Programs\\Квиллет"));
    EXPECT_TRUE(w.shell.links.count(u"C:\\users\\anna\\Start Menu\\Programs\\Квиллет\\Ярлык.lnk"));

    // Again: the folder is there, the failed creation is ignored and the link replaced.
    EXPECT_TRUE(Create(kPrograms, u"", u"C:\\q\\Quillet.exe", u"Квиллет"));
    EXPECT_EQ(w.shell.links.size(), 1u);

    // A file of that name is not replaced by a folder.
    w.files.files[u"C:\\users\\anna\\Desktop\\Занято"] = "x";
    w.journal.clear();
    Create(kDesktop, u"", u"C:\\q\\Quillet.exe", u"Занято");
    for (auto& entry : w.journal)
        EXPECT_FALSE(entry.starts_with(u"mkdir"));
}

TEST_F(ShortcutTest, HotKeyAndIconIndexAreReadFromTheirTexts) {
    EXPECT_TRUE(Create(kDesktop, u"Ctrl+Alt+E", u"C:\\q\\Quillet.exe, 2"));
    auto& link = w.shell.links.begin()->second;
    EXPECT_EQ(link.hotKey, 0x0600 | 'E');
    EXPECT_EQ(link.iconPath, u"C:\\q\\Quillet.exe");
    EXPECT_EQ(link.iconIndex, 2);

    // A comma inside a folder name is part of the path.
    EXPECT_TRUE(Create(kDesktop, u"", u"C:\\a,1\\Quillet.exe"));
    EXPECT_EQ(w.shell.links.begin()->second.iconPath, u"C:\\a,1\\Quillet.exe");
    EXPECT_EQ(w.shell.links.begin()->second.iconIndex, 0);

    // A hot key that cannot be read is a failure, not a link with some other key.
    EXPECT_FALSE(Create(kStartMenu, u"Ctrl+Ъ"));
    EXPECT_EQ(w.shell.links.count(u"C:\\users\\anna\\Start Menu\\Ярлык.lnk"), 0u);
}

TEST(ParseHotKey, ReadsModifiersAndKeysInAnyCaseAndRejectsTheRest) {
    EXPECT_EQ(ParseHotKey(u""), 0);
    EXPECT_EQ(ParseHotKey(u"  "), 0);
    EXPECT_EQ(ParseHotKey(u"a"), 'A');
    EXPECT_EQ(ParseHotKey(u"shift+7"), 0x0100 | '7');
    EXPECT_EQ(ParseHotKey(u"CTRL + SHIFT + F12"), 0x0300 | 0x7B);
    EXPECT_EQ(ParseHotKey(u"Alt+F1"), 0x0400 | 0x70);
    EXPECT_EQ(ParseHotKey(u"Ext+Ctrl+F24"), 0x0A00 | 0x87);
    EXPECT_EQ(ParseHotKey(u"Ctrl+"), std::nullopt);
    EXPECT_EQ(ParseHotKey(u"Win+E"), std::nullopt);
    EXPECT_EQ(ParseHotKey(u"F25"), std::nullopt);
    EXPECT_EQ(ParseHotKey(u"F0"), std::nullopt);
    EXPECT_EQ(ParseHotKey(u"Ctrl+Alt"), std::nullopt);
    EXPECT_EQ(ParseHotKey(u"Ж"), std::nullopt);
}

} // namespace
} // namespace quillet::installer
