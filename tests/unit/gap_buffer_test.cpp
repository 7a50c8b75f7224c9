// The gap buffer under the document's text: room for typing is there from the moment a text is
// taken over, so the first keystroke in a large document never copies all of it.

#include "editor/control/gap_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

std::u16string Content(size_t size) {
    std::u16string text(size, u'x');
    for (size_t i = 0; i < size; i += 97)
        text[i] = u'ж';
    return text;
}

std::u16string Whole(const GapBuffer<std::u16string>& buffer) {
    std::u16string out;
    buffer.CopyTo(0, buffer.Size(), out);
    return out;
}

// Typing in the middle, key by key, never moves the block: room was made when the text was taken
// over, or the text came with it.
TEST(GapBufferTest, RoomForTypingIsThereFromTheMomentATextIsTakenOver) {
    const size_t size = 200000;
    std::u16string bare = Content(size);
    bare.shrink_to_fit();
    std::u16string roomy;
    roomy.reserve(size + GapBuffer<std::u16string>::Spare(size));
    roomy.append(Content(size));
    const char16_t* roomyBlock = roomy.data();
    for (std::u16string* text : {&bare, &roomy}) {
        std::u16string expected = *text;
        GapBuffer<std::u16string> buffer;
        buffer.Reset(std::move(*text));
        EXPECT_EQ(buffer.Size(), size);
        EXPECT_GE(buffer.GapLength(), GapBuffer<std::u16string>::Spare(size) / 2);
        if (text == &roomy)
            EXPECT_EQ(buffer.Before().data(), roomyBlock) << "taken over without a copy";
        const char16_t* block = buffer.Before().data();
        for (size_t k = 0; k < 1000; ++k) {
            char16_t c = char16_t(u'а' + k % 32);
            buffer.Insert(size / 2 + k, &c, 1);
            expected.insert(expected.begin() + std::ptrdiff_t(size / 2 + k), c);
        }
        EXPECT_EQ(buffer.Before().data(), block);
        EXPECT_EQ(Whole(buffer), expected);
    }
}

} // namespace
} // namespace quillet
