#include "installer_fakes.h"

#include <gtest/gtest.h>

namespace quillet::installer {
namespace {

using fakes::FakeInstallerWorld;

struct ShortcutTest : ::testing::Test {
    FakeInstallerWorld w;
    void SetUp() override { w.app.state.PathSeparator = u"\\"; }
    bool Create(std::u16string_view icon = u"C:\\q\\Quillet.exe", std::u16string_view subFolder = u"") {
        return CreateShellShortcut(w.app, u"Ярлык", u"C:\\q\\Quillet.exe", icon, u"C:\\q", subFolder, 3);
    }
};

TEST_F(ShortcutTest, ASubFolderIsCreatedWhenMissingAndTheLinkGoesIntoIt) {
    EXPECT_TRUE(Create(u"C:\\q\\Quillet.exe", u"Квиллет"));
    EXPECT_TRUE(w.files.folders.count(u"C:\\users\\anna\\Start Menu\\Programs\\Квиллет"));
    EXPECT_TRUE(w.shell.links.count(u"C:\\users\\anna\\Start Menu\\Programs\\Квиллет\\Ярлык.lnk"));

    // Again: the folder is there, the failed creation is ignored and the link replaced.
    EXPECT_TRUE(Create(u"C:\\q\\Quillet.exe", u"Квиллет"));
    EXPECT_EQ(w.shell.links.size(), 1u);

    // A file of that name is not replaced by a folder.
    w.files.files[u"C:\\users\\anna\\Start Menu\\Programs\\Занято"] = "x";
    w.journal.clear();
    Create(u"C:\\q\\Quillet.exe", u"Занято");
    for (auto& entry : w.journal)
        EXPECT_FALSE(entry.starts_with(u"mkdir"));
}

TEST_F(ShortcutTest, TheIconIndexIsReadFromTheIconLocation) {
    EXPECT_TRUE(Create(u"C:\\q\\Quillet.exe, 2"));
    auto& link = w.shell.links.begin()->second;
    EXPECT_EQ(link.iconPath, u"C:\\q\\Quillet.exe");
    EXPECT_EQ(link.iconIndex, 2);

    // A comma inside a folder name is part of the path.
    EXPECT_TRUE(Create(u"C:\\a,1\\Quillet.exe"));
    EXPECT_EQ(w.shell.links.begin()->second.iconPath, u"C:\\a,1\\Quillet.exe");
    EXPECT_EQ(w.shell.links.begin()->second.iconIndex, 0);
}

} // namespace
} // namespace quillet::installer
