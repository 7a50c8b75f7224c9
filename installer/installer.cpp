#include "installer/installer.h"

#include <vector>

namespace quillet::installer {

namespace {

std::u16string Join(std::initializer_list<std::u16string_view> parts) {
    std::u16string out;
    for (auto p : parts)
        out += p;
    return out;
}

std::optional<int32_t> ParseInt(std::u16string_view text) {
    bool negative = !text.empty() && text.front() == u'-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && s.front() == u' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == u' ')
        s.remove_suffix(1);
    return s;
}

// "C:\x\Quillet.exe,2" → path and index; a path alone has index 0.
void SplitIconLocation(std::u16string_view location, ShellLinkProperties& link) {
    auto comma = location.rfind(u',');
    if (comma != std::u16string_view::npos) {
        if (auto index = ParseInt(Trim(location.substr(comma + 1)))) {
            link.iconPath = std::u16string(location.substr(0, comma));
            link.iconIndex = *index;
            return;
        }
    }
    link.iconPath = std::u16string(location);
    link.iconIndex = 0;
}

} // namespace

std::u16string OpenCommandFor(std::u16string_view editorPath) {
    return Join({u"\"", editorPath, u"\" %1"});
}

bool RegisterFileType(Installer& app, std::u16string_view description, std::u16string_view openCommand,
                      std::u16string_view extension, std::u16string_view iconPath) {
    auto& registry = *app.ports.registry;
    const auto& sep = app.state.PathSeparator;
    // Every entry is tried even after a failure, so as much as possible is in place.
    bool ok = registry.SetString(extension, u"", description);
    ok &= registry.SetString(Join({extension, sep, u"DefaultIcon"}), u"", iconPath);
    ok &= registry.SetString(Join({extension, sep, u"Shell\\Open\\Command"}), u"", openCommand);
    // The shell reads the extension's default value as the name of the file type's own key and
    // looks for the icon and the open command there; without that key it finds no program.
    ok &= registry.SetString(description, u"", description);
    ok &= registry.SetString(Join({description, sep, u"DefaultIcon"}), u"", iconPath);
    ok &= registry.SetString(Join({description, sep, u"Shell\\Open\\Command"}), u"", openCommand);
    return ok;
}

bool RegisterNewDocumentTemplate(Installer& app, std::u16string_view extension,
                                 std::u16string_view templatePath) {
    const auto& sep = app.state.PathSeparator;
    return app.ports.registry->SetString(Join({extension, sep, u"ShellNew"}), u"FileName", templatePath);
}

bool CreateShellShortcut(Installer& app, std::u16string_view name, std::u16string_view target,
                         std::u16string_view iconLocation, std::u16string_view workingDirectory,
                         std::u16string_view subFolder, int16_t windowStyle) {
    const auto& sep = app.state.PathSeparator;
    // Without the folder the link would go to the root of the current drive: refuse it instead.
    auto folderPath = app.ports.shell->ProgramsFolder();
    if (!folderPath || folderPath->empty())
        return false;
    std::u16string folder = *folderPath;
    if (!subFolder.empty()) {
        folder = Join({folder, sep, subFolder});
        // An existing folder makes the creation fail; saving the link tells whether it is there.
        if (!app.ports.files->IsFile(folder))
            app.ports.files->CreateFolder(folder);
    }

    ShellLinkProperties link;
    link.windowStyle = windowStyle;
    link.targetPath = std::u16string(target);
    SplitIconLocation(iconLocation, link);
    link.description = std::u16string(name);
    link.workingDirectory = std::u16string(workingDirectory);
    return app.ports.shell->SaveLink(Join({folder, sep, name, u".lnk"}), link);
}

std::u16string NewDocumentTemplatePath(Installer& app) {
    auto windir = app.ports.environment->Variable(u"windir");
    const auto& sep = app.state.PathSeparator;
    return Join({windir.value_or(u""), sep, u"ShellNew", sep, kTemplateFileName});
}

bool WriteNewDocumentTemplate(Installer& app) {
    std::u16string path = NewDocumentTemplatePath(app);
    int32_t error = app.ports.files->CreateEmpty(path);
    if (error == 0)
        return true;
    std::u16string_view rest = error == 75 ? u" защищён от записи." : u" сохранить не возможно.";
    app.ports.messages->Show(Join({u"Файл \"", path, u"\"", rest}), kTitle, InstallerIcon::Error);
    return false;
}

void InstallerStartUp(Installer& app) {
    auto& s = app.state;
    std::u16string folder = app.ports.environment->ProgramFolder();
    s.PathSeparator = folder.find(u'\\') != std::u16string::npos ? u"\\" : u"/";
    s.InstallerFolder = folder;
    if (folder.empty() || folder.substr(folder.size() - 1) != s.PathSeparator)
        s.InstallerFolder += s.PathSeparator;
    s.EditorPath = s.InstallerFolder + std::u16string(kEditorFileName);

    bool registered =
        RegisterFileType(app, kDocumentKind, OpenCommandFor(s.EditorPath), u".txt", s.EditorPath);
    bool linked = CreateShellShortcut(app, kDocumentKind, s.EditorPath, s.EditorPath, folder, u"", 1);
    bool templated = WriteNewDocumentTemplate(app);
    if (templated)
        registered &= RegisterNewDocumentTemplate(app, u".txt", NewDocumentTemplatePath(app));

    app.ports.window->PumpMessages();

    if (registered && linked && templated) {
        app.ports.messages->Show(kInstallationDone, kTitle, InstallerIcon::Information);
    } else {
        // Say what is missing rather than that everything is done.
        std::vector<std::u16string_view> failed;
        if (!registered)
            failed.push_back(u"связать файлы .txt с программой (нужны права администратора)");
        if (!linked)
            failed.push_back(u"создать ярлык «Текстовый документ» в меню «Пуск»");
        if (!templated)
            failed.push_back(u"создать шаблон для команды «Создать» → «Текстовый документ»");
        std::u16string text = u"Установка программы завершена не полностью. Не удалось:";
        for (size_t i = 0; i < failed.size(); ++i)
            text += Join({u"\n— ", failed[i], i + 1 < failed.size() ? u";" : u"."});
        app.ports.messages->Show(text, kTitle, InstallerIcon::Warning);
    }

    app.ports.window->Show();
}

void OnWindowCreated(Installer& app) {
    app.ports.webView->Navigate(kMakerSite, kNavigateNoReadFromCache);
}

void OnWindowResized(Installer& app) {
    ClientSize size = app.ports.window->InnerSize();
    app.ports.webView->Move(0, 0, size.width, size.height);
    app.ports.window->PumpMessages();
}

} // namespace quillet::installer
