#pragma once
// The Help menu and the handlers of the About window.

#include "editor/document/editor.h"

namespace quillet {

// The maker's web site, opened from the Help menu and the About window.
inline constexpr char16_t kMakerSiteUrl[] = u"https://example.org/site/";
// The help page, shipped beside the program.
inline constexpr char16_t kHelpFileName[] = u"Справка.htm";

// What the About window shows.
inline constexpr char16_t kAboutCaption[] = u"О программе";
inline constexpr char16_t kAboutAuthor[] = u"Автор: мастерская «Квиллет»";
inline constexpr char16_t kAboutContact[] = u"Почта: quillet@example.org";
inline constexpr char16_t kAboutSiteLabel[] = u"Сайт:";
inline constexpr char16_t kAboutSiteLink[] = u"example.org/site";
inline constexpr char16_t kAboutVersion[] = u"Версия: v1.1";
inline constexpr char16_t kAboutDate[] = u"Дата: 22 сентября 2007 год";
inline constexpr char16_t kAboutSecondDate[] = u"1 августа 2015 год";

// F1: the help page in the default browser.
void OnHelp(Editor& editor);
// The About window, modally.
void OnAbout(Editor& editor);
// The maker's web site in the default browser; the pointer is left alone.
void OnMyPrograms(Editor& editor);

// The About window's link: the hourglass while the page is written and opened.
void OnAboutLink(Editor& editor, AboutWindow& about);
// OK, Enter and the close box.
void OnAboutOk(AboutWindow& about);

} // namespace quillet
