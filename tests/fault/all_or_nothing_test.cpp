// Every operation on the document either finishes or leaves it exactly as it was: each one is run
// again and again with its first, second, third... allocation failing, until it gets through.

#include "editor/app/commands.h"
#include "editor/document/edit_guard.h"
#include "editor/files/load_document.h"
#include "editor/files/save_file.h"
#include "editor/find/search.h"
#include "failing_allocator.h"
#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <vector>

namespace quillet::testing {
namespace {

const std::u16string kPath = u"C:\\docs\\письмо.txt";

std::u16string Lines(int count, std::u16string_view line) {
    std::u16string text;
    for (int i = 0; i < count; ++i)
        text.append(line).append(u"\r\n");
    return text;
}

// The editor on fakes with a saved document, typed into and edited since, so that there is an
// undo history of several steps and a file on disk that a failed save must not touch.
struct World : fakes::EditorWithFakes {
    World() {
        ed.doc.pathSeparator = u"\\";
        files.files[kPath] = "old \xEF\xE8\xF1\xFC\xEC\xEE\r\n"; // «old письмо»
        LoadDocument(ed, kPath);
        TextModel& model = control.model;
        model.SetSelection(4, 4);
        for (char16_t c : std::u16string(u"новое "))
            model.ReplaceSelection(std::u16string(1, c), EditKind::Typing);
        model.SetSelection(0, 3);
        model.ReplaceSelection(u"one\r\ntwo", EditKind::Program);
        model.SetSelection(2, 6);
    }
};

struct Snapshot {
    std::u16string text;
    int32_t anchor = 0, caret = 0;
    bool modified = false, undoAllowed = false;
    std::u16string path;
    std::string disk;
    std::vector<std::u16string> undoTrail; // text and selection after each undo, to the first
    bool operator==(const Snapshot&) const = default;
};

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F)); // enough for the Cyrillic these tests use
        }
    }
    return out;
}

void PrintTo(const Snapshot& s, std::ostream* os) {
    *os << "\"" << Utf8(s.text) << "\" selection " << s.anchor << "-" << s.caret << " modified " << s.modified
        << " undo allowed " << s.undoAllowed << " path " << Utf8(s.path) << " undo steps "
        << s.undoTrail.size();
    for (const auto& step : s.undoTrail)
        *os << "\n  undone: " << Utf8(step);
}

// Everything a user could tell apart; undoes the whole history to read it.
Snapshot Take(World& w) {
    TextModel& m = w.control.model;
    Snapshot s{m.Text(),      m.Anchor(),          m.Caret(), w.ed.doc.modified, w.ed.doc.undoAllowed,
               w.ed.doc.path, w.files.files[kPath]};
    while (m.CanUndo()) {
        m.Undo();
        s.undoTrail.push_back(m.Text() + u"|" + std::u16string(1, char16_t(u'0' + m.Anchor())) +
                              std::u16string(1, char16_t(u'0' + m.Caret())));
    }
    return s;
}

bool Refused(World& w) {
    for (const auto& m : w.messages.shown)
        if (m.text == kEditRefused || m.text.find(u"сохранить не возможно") != std::u16string::npos ||
            m.text.find(u"слишком велик") != std::u16string::npos)
            return true;
    return false;
}

using Step = std::function<void(World&)>;

// Runs op, after prepare, with each allocation in turn failing. After every failure the world is
// either exactly as before op, and the user was told (or the caller got the exception), or exactly
// as after a run that nothing failed: never anything in between.
void ExpectAllOrNothing(const Step& prepare, const Step& op) {
    Snapshot before, after;
    {
        World w;
        prepare(w);
        before = Take(w);
    }
    {
        World w;
        prepare(w);
        op(w);
        after = Take(w);
    }
    ASSERT_NE(before, after) << "the operation changes nothing to check";
    for (long n = 1; n < 100000; ++n) {
        World w;
        prepare(w);
        bool threw = false;
        FailAllocation(n);
        try {
            op(w);
        } catch (const std::bad_alloc&) {
            threw = true;
        }
        StopFailingAllocations();
        bool failed = AllocationFailed();
        Snapshot now = Take(w);
        if (now == before) {
            EXPECT_TRUE(failed) << "allocation " << n;
            EXPECT_TRUE(threw || Refused(w)) << "allocation " << n << ": nothing changed and nobody was told";
        } else {
            EXPECT_EQ(now, after) << "allocation " << n << " left the document half-changed";
        }
        if (!failed || ::testing::Test::HasFailure())
            return;
    }
    FAIL() << "never got through";
}

void ExpectAllOrNothing(const Step& op) {
    ExpectAllOrNothing([](World&) {}, op);
}

TEST(AllOrNothing, TypingIntoTheRunAndStartingANewOne) {
    ExpectAllOrNothing([](World& w) { w.control.model.ReplaceSelection(u"ж", EditKind::Typing); });
    ExpectAllOrNothing([](World& w) { w.control.model.SetSelection(1, 1); },
                       [](World& w) { w.control.model.ReplaceSelection(u"\r", EditKind::Typing); });
}

TEST(AllOrNothing, SelectAllAndTypeAndBackspace) {
    ExpectAllOrNothing([](World& w) { RunCommand(w.ed, MenuItem::SelectAll); },
                       [](World& w) { w.control.model.ReplaceSelection(u"я", EditKind::Typing); });
    ExpectAllOrNothing([](World& w) { w.control.model.ReplaceRange(1, 5, u"", EditKind::Typing); });
}

TEST(AllOrNothing, PasteThatOutgrowsTheBufferAndTheLineIndex) {
    ExpectAllOrNothing([](World& w) { w.clipboard.text = Lines(1500, u"строка"); },
                       [](World& w) { RunCommand(w.ed, MenuItem::Paste); });
}

TEST(AllOrNothing, CutAndUndo) {
    ExpectAllOrNothing([](World& w) { RunCommand(w.ed, MenuItem::Cut); });
    ExpectAllOrNothing([](World& w) { RunCommand(w.ed, MenuItem::Undo); });
    // Undo of a typing run that first grew the text past its room.
    ExpectAllOrNothing(
        [](World& w) {
            w.control.model.SetSelection(0, 0);
            w.control.model.ReplaceSelection(Lines(1500, u"x"), EditKind::Program);
            RunCommand(w.ed, MenuItem::SelectAll);
            w.control.model.ReplaceSelection(u"", EditKind::Program);
        },
        [](World& w) { RunCommand(w.ed, MenuItem::Undo); });
}

TEST(AllOrNothing, ReplaceAllThatGrowsAndThatShrinks) {
    ExpectAllOrNothing([](World& w) { ReplaceAll(w.ed, u"O", u"много букв\r\nи строк"); });
    ExpectAllOrNothing([](World& w) { ReplaceAll(w.ed, u"новое ", u"н"); });
}

TEST(AllOrNothing, LoadingAnotherDocument) {
    ExpectAllOrNothing(
        [](World& w) {
            w.files.files[u"C:\\docs\\другой.txt"] =
                std::string(3000, 'a') + "\r\n" + std::string(3000, '\n');
        },
        [](World& w) { LoadDocument(w.ed, u"C:\\docs\\другой.txt"); });
}

TEST(AllOrNothing, SavingWithItsEncodingStep) {
    ExpectAllOrNothing([](World& w) { SaveDocumentTo(w.ed, kPath); });
}

} // namespace
} // namespace quillet::testing
