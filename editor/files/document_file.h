#pragma once
// The document's text on disk: encoded in the ANSI code page piece by piece, never as a second
// copy of the whole text, and written whole through the file system.

#include "editor/control/text_control.h"
#include "editor/platform/ansi_codec.h"
#include "editor/platform/file_system.h"

#include <string_view>

namespace quillet {

// Whether the code page holds every character of the text, so that saving loses nothing.
bool FitsCodePage(const TextContent& text, const AnsiCodec& codec);

// Creates or replaces the file with the encoded text; the old file stays until the new one is
// complete.
WriteStatus WriteText(const TextContent& text, const AnsiCodec& codec, FileSystem& files,
                      std::u16string_view path);

} // namespace quillet
