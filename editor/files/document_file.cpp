#include "editor/files/document_file.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillet {
namespace {

constexpr size_t kSlice = size_t(1) << 20; // code units encoded at a time

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// The text's pieces cut into slices of at most kSlice units, each ending on a whole character,
// so the codec never sees half a surrogate pair that straddles two slices or two pieces.
class Slices {
public:
    explicit Slices(const TextContent& text) : pieces_(text.Pieces()) {}

    // The next slice, or false when the text is done.
    bool Next(std::u16string& units) {
        units.clear();
        while (units.empty() && (held_ || piece_ < pieces_.size())) {
            if (held_)
                units.push_back(*std::exchange(held_, std::nullopt));
            while (units.size() < kSlice && piece_ < pieces_.size()) {
                std::u16string_view rest = pieces_[piece_].substr(offset_);
                size_t take = std::min(rest.size(), kSlice - units.size());
                units.append(rest.substr(0, take));
                offset_ += take;
                if (offset_ == pieces_[piece_].size()) {
                    ++piece_;
                    offset_ = 0;
                }
            }
            if (piece_ < pieces_.size() && !units.empty() && IsHighSurrogate(units.back())) {
                held_ = units.back();
                units.pop_back();
            }
        }
        return !units.empty();
    }

private:
    std::vector<std::u16string_view> pieces_;
    size_t piece_ = 0;
    size_t offset_ = 0;
    std::optional<char16_t> held_;
};

class EncodedText : public ByteSource {
public:
    EncodedText(const TextContent& text, const AnsiCodec& codec) : slices_(text), codec_(codec) {}

    std::string_view Next() override {
        bytes_.clear();
        while (bytes_.empty() && slices_.Next(units_))
            codec_.Encode(units_, bytes_);
        return bytes_;
    }

private:
    Slices slices_;
    const AnsiCodec& codec_;
    std::u16string units_;
    std::string bytes_;
};

} // namespace

bool FitsCodePage(const TextContent& text, const AnsiCodec& codec) {
    Slices slices(text);
    std::u16string units;
    std::string bytes;
    while (slices.Next(units)) {
        // Every ANSI code page holds plain ASCII; only the rest needs encoding to tell.
        if (std::all_of(units.begin(), units.end(), [](char16_t c) { return c < 0x80; }))
            continue;
        bytes.clear();
        if (!codec.Encode(units, bytes))
            return false;
    }
    return true;
}

WriteStatus WriteText(const TextContent& text, const AnsiCodec& codec, FileSystem& files,
                      std::u16string_view path) {
    EncodedText encoded(text, codec);
    return files.WriteWhole(path, encoded);
}

} // namespace quillet
