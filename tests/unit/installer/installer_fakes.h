#pragma once
// In-memory stand-ins for the installer's ports. All of them write into one shared journal, so a
// test can check the order in which the installer touched the world.

#include "installer/installer.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quillet::installer::fakes {

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

} // namespace quillet::installer::fakes
