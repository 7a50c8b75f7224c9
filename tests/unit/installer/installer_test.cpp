// The installer on in-memory stand-ins for its ports, which all write into one shared journal so
// that a test can check the order in which the installer touched the world.

#include "installer/installer.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quillet::installer {
namespace fakes {

using Journal = std::vector<std::u16string>;

class Journaled {
public:
    explicit Journaled(Journal& journal) : journal_(journal) {}

protected:
    Journal& journal_;
};

class FakeRegistry : public ClassesRegistry, Journaled {
public:
    using Journaled::Journaled;
    bool SetString(std::u16string_view subkey, std::u16string_view valueName,
                   std::u16string_view data) override {
        journal_.push_back(u"registry " + std::u16string(subkey) + u" [" + std::u16string(valueName) + u"]");
        if (denied.count(std::u16string(subkey)) || denyAll)
            return false;
        values[{std::u16string(subkey), std::u16string(valueName)}] = std::u16string(data);
        return true;
    }
    std::map<std::pair<std::u16string, std::u16string>, std::u16string> values;
    std::set<std::u16string> denied;
    bool denyAll = false;
};

class FakeShell : public Shell, Journaled {
public:
    using Journaled::Journaled;
    std::optional<std::u16string> ProgramsFolder() override { return programsFolder; }
    bool SaveLink(std::u16string_view linkPath, const ShellLinkProperties& link) override {
        journal_.push_back(u"link " + std::u16string(linkPath));
        if (refuseSave)
            return false;
        links[std::u16string(linkPath)] = link;
        return true;
    }
    std::optional<std::u16string> programsFolder = u"C:\\users\\anna\\Start Menu\\Programs";
    std::map<std::u16string, ShellLinkProperties> links;
    bool refuseSave = false;
};

class FakeFiles : public InstallerFiles, Journaled {
public:
    using Journaled::Journaled;
    int32_t CreateEmpty(std::u16string_view path) override {
        journal_.push_back(u"create " + std::u16string(path));
        std::u16string p(path);
        if (readOnly.count(p))
            return 75;
        auto slash = p.find_last_of(u"\\/");
        std::u16string folder = slash == std::u16string::npos ? u"" : p.substr(0, slash);
        if (!folders.count(folder))
            return 76;
        files[p] = "";
        return 0;
    }
    std::map<std::u16string, std::string> files; // path → content
    std::set<std::u16string> folders{u"C:\\windows\\ShellNew"};
    std::set<std::u16string> readOnly;
};

class FakeEnvironment : public Environment {
public:
    std::optional<std::u16string> Variable(std::u16string_view name) override {
        auto it = variables.find(std::u16string(name));
        if (it == variables.end())
            return std::nullopt;
        return it->second;
    }
    std::u16string ProgramFolder() override { return programFolder; }
    std::map<std::u16string, std::u16string> variables{{u"windir", u"C:\\windows"}};
    std::u16string programFolder = u"C:\\Program Files\\Мои программы\\Квиллет";
};

struct Shown {
    std::u16string text;
    std::u16string title;
    InstallerIcon icon;
};

class FakeMessages : public InstallerMessages, Journaled {
public:
    using Journaled::Journaled;
    void Show(std::u16string_view text, std::u16string_view title, InstallerIcon icon) override {
        journal_.push_back(u"message " + std::u16string(text));
        shown.push_back({std::u16string(text), std::u16string(title), icon});
    }
    std::vector<Shown> shown;
};

class FakeWindow : public InstallerWindow, Journaled {
public:
    using Journaled::Journaled;
    void PumpMessages() override { journal_.push_back(u"pump"); }
    void Show() override { journal_.push_back(u"show window"); }
    ClientSize InnerSize() override { return size; }
    ClientSize size{6000, 4500};
};

struct Move {
    int32_t left, top, width, height;
};

class FakeWebView : public WebView, Journaled {
public:
    using Journaled::Journaled;
    void Navigate(std::u16string_view address, int32_t flags) override {
        journal_.push_back(u"navigate " + std::u16string(address));
        navigations.push_back({std::u16string(address), flags});
    }
    void Move(int32_t left, int32_t top, int32_t width, int32_t height) override {
        journal_.push_back(u"move");
        moves.push_back({left, top, width, height});
    }
    std::vector<std::pair<std::u16string, int32_t>> navigations;
    std::vector<fakes::Move> moves;
};

// Everything wired together, as WinMain does with the real adapters.
struct FakeInstallerWorld {
    Journal journal;
    FakeRegistry registry{journal};
    FakeShell shell{journal};
    FakeFiles files{journal};
    FakeEnvironment environment;
    FakeMessages messages{journal};
    FakeWindow window{journal};
    FakeWebView webView{journal};
    Installer app{{}, {&registry, &shell, &files, &environment, &messages, &window, &webView}};
};

} // namespace fakes

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
    EXPECT_EQ(link.workingDirectory, kFolder);  // as reported, no separator appended
    EXPECT_EQ(w.files.files.at(kTemplate), ""); // emptied

    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].text, u"Установка программы завершена.");
    EXPECT_EQ(w.messages.shown[0].title, u"Install");
    EXPECT_EQ(w.messages.shown[0].icon, InstallerIcon::Information);
    // The template is registered only once it is there; the report waits for pending paints; the
    // window comes last.
    EXPECT_LT(IndexOf(w.journal, u"create "), IndexOf(w.journal, u"registry .txt\\ShellNew"));
    EXPECT_LT(IndexOf(w.journal, u"pump"), IndexOf(w.journal, u"message "));
    EXPECT_EQ(w.journal.back(), u"show window");

    // Run again: the same values, one link, the template emptied again.
    auto values = w.registry.values;
    auto files = w.files.files;
    w.files.files[kTemplate] = "typed in between";
    InstallerStartUp(w.app);
    EXPECT_EQ(w.registry.values, values);
    EXPECT_EQ(w.files.files, files);
    EXPECT_EQ(w.shell.links.size(), 1u);
}

TEST(InstallerStartUp, JoinsPathsWithTheFoldersOwnSeparatorAndADriveRootGetsNoSecondOne) {
    FakeInstallerWorld w;
    w.environment.programFolder = u"D:\\";
    InstallerStartUp(w.app);
    EXPECT_EQ(w.app.state.editorPath, u"D:\\Quillet.exe");
    EXPECT_EQ((w.registry.values[{u".txt\\Shell\\Open\\Command", u""}]), u"\"D:\\Quillet.exe\" %1");
    EXPECT_EQ(w.shell.links.at(kLink).workingDirectory, u"D:\\");

    FakeInstallerWorld unix;
    unix.environment.programFolder = u"/opt/quillet";
    unix.environment.variables[u"windir"] = u"/win";
    unix.shell.programsFolder = u"/menu";
    unix.files.folders.insert(u"/win/ShellNew");
    InstallerStartUp(unix.app);
    EXPECT_EQ(unix.app.state.editorPath, u"/opt/quillet/Quillet.exe");
    EXPECT_TRUE(unix.registry.values.count({u".txt/DefaultIcon", u""}));
    EXPECT_TRUE(unix.registry.values.count({u".txt/Shell\\Open\\Command", u""}));
    EXPECT_TRUE(unix.shell.links.count(u"/menu/Текстовый документ.lnk"));
    EXPECT_TRUE(unix.files.files.count(u"/win/ShellNew/Текстовый документ.txt"));
}

// Whatever fails, every other step is still tried, each failure is said once at the end (a file's
// own error first), and the window still opens.
TEST(InstallerStartUp, WhatFailsIsSaidAndEverythingElseIsStillDone) {
    const std::u16string partly = u"Установка программы завершена не полностью. Не удалось:\n";
    const std::u16string registry = u"— связать файлы .txt с программой (нужны права администратора)";
    const std::u16string link = u"— создать ярлык «Текстовый документ» в меню «Пуск»";
    const std::u16string shellNew = u"— создать шаблон для команды «Создать» → «Текстовый документ»";
    struct Case {
        const char* name;
        std::function<void(FakeInstallerWorld&)> arrange;
        std::vector<std::u16string> messages;
    };
    const Case cases[] = {
        {"the first registry entry refused",
         [](auto& w) { w.registry.denied = {u".txt"}; },
         {partly + registry + u"."}},
        {"the link not saved", [](auto& w) { w.shell.refuseSave = true; }, {partly + link + u"."}},
        {"no Start-menu folder", [](auto& w) { w.shell.programsFolder = u""; }, {partly + link + u"."}},
        {"the template write-protected",
         [](auto& w) { w.files.readOnly.insert(kTemplate); },
         {u"Файл \"" + kTemplate + u"\" защищён от записи.", partly + shellNew + u"."}},
        {"no windir: looked for at the drive root",
         [](auto& w) { w.environment.variables.clear(); },
         {u"Файл \"\\ShellNew\\Текстовый документ.txt\" сохранить не возможно.", partly + shellNew + u"."}},
        {"everything",
         [](auto& w) {
             w.files.folders.clear();
             w.registry.denyAll = true;
             w.shell.programsFolder.reset();
         },
         {u"Файл \"" + kTemplate + u"\" сохранить не возможно.",
          partly + registry + u";\n" + link + u";\n" + shellNew + u"."}},
    };
    for (const Case& c : cases) {
        FakeInstallerWorld w;
        c.arrange(w);
        InstallerStartUp(w.app);
        std::vector<std::u16string> texts;
        for (const auto& shown : w.messages.shown) {
            texts.push_back(shown.text);
            EXPECT_EQ(shown.title, u"Install") << c.name;
            EXPECT_EQ(shown.icon,
                      &shown == &w.messages.shown.back() ? InstallerIcon::Warning : InstallerIcon::Error)
                << c.name;
        }
        EXPECT_EQ(texts, c.messages) << c.name;
        for (const char16_t* key : {u".txt\\DefaultIcon", u"Текстовый документ\\Shell\\Open\\Command"})
            EXPECT_EQ(w.registry.values.count({key, u""}), w.registry.denyAll ? 0u : 1u)
                << c.name; // after a refusal too
        // A template that is not there is not registered: it would name nothing.
        EXPECT_EQ(w.registry.values.count({u".txt\\ShellNew", u"FileName"}) == 1,
                  !w.registry.denyAll && w.files.files.count(kTemplate) == 1)
            << c.name;
        EXPECT_EQ(w.shell.links.size(), c.messages.back().find(link) == std::u16string::npos ? 1u : 0u)
            << c.name;
        EXPECT_EQ(w.journal.back(), u"show window") << c.name;
    }
}

TEST(InstallerWindowEvents, LoadNavigatesToTheSiteBypassingTheCacheAndResizeFillsTheClientArea) {
    FakeInstallerWorld w;
    OnWindowCreated(w.app);
    ASSERT_EQ(w.webView.navigations.size(), 1u);
    EXPECT_EQ(w.webView.navigations[0].first, kMakerSite);
    EXPECT_EQ(w.webView.navigations[0].second, 4);

    for (ClientSize size : {ClientSize{6000, 4500}, ClientSize{12345, 321}}) {
        w.window.size = size;
        w.journal.clear();
        OnWindowResized(w.app);
        ASSERT_FALSE(w.webView.moves.empty());
        auto m = w.webView.moves.back();
        EXPECT_EQ(std::tuple(m.left, m.top, m.width, m.height), std::tuple(0, 0, size.width, size.height));
        EXPECT_EQ(w.journal, (fakes::Journal{u"move", u"pump"}));
    }
}

} // namespace
} // namespace quillet::installer
