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

} // namespace

std::u16string OpenCommandFor(std::u16string_view editorPath) {
    return Join({u"\"", editorPath, u"\" %1"});
}

bool RegisterFileType(Installer& app, std::u16string_view description, std::u16string_view openCommand,
                      std::u16string_view extension, std::u16string_view iconPath) {
    auto& registry = *app.ports.registry;
    const auto& sep = app.state.pathSeparator;
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
    const auto& sep = app.state.pathSeparator;
    return app.ports.registry->SetString(Join({extension, sep, u"ShellNew"}), u"FileName", templatePath);
}

bool CreateShellShortcut(Installer& app, std::u16string_view name, std::u16string_view target,
                         std::u16string_view workingDirectory) {
    // Without the folder the link would go to the root of the current drive: refuse it instead.
    auto folder = app.ports.shell->ProgramsFolder();
    if (!folder || folder->empty())
        return false;
    ShellLinkProperties link;
    link.targetPath = std::u16string(target);
    link.iconPath = std::u16string(target);
    link.description = std::u16string(name);
    link.workingDirectory = std::u16string(workingDirectory);
    return app.ports.shell->SaveLink(Join({*folder, app.state.pathSeparator, name, u".lnk"}), link);
}

std::u16string NewDocumentTemplatePath(Installer& app) {
    auto windir = app.ports.environment->Variable(u"windir");
    const auto& sep = app.state.pathSeparator;
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
    s.pathSeparator = folder.find(u'\\') != std::u16string::npos ? u"\\" : u"/";
    s.installerFolder = folder;
    if (folder.empty() || folder.substr(folder.size() - 1) != s.pathSeparator)
        s.installerFolder += s.pathSeparator;
    s.editorPath = s.installerFolder + std::u16string(kEditorFileName);

    bool registered =
        RegisterFileType(app, kDocumentKind, OpenCommandFor(s.editorPath), u".txt", s.editorPath);
    bool linked = CreateShellShortcut(app, kDocumentKind, s.editorPath, folder);
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
