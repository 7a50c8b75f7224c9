#include "editor/edit/format_menu.h"

#include "edit_fixture.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using testing::EditFixture;
using testing::Fields;

TEST(FontCommand, StartsFromTheDocumentFontAndCancellingChangesNothing) {
    EditFixture f;
    f.control.SetFont({u"Courier New", 12, false, false});
    f.ed.doc.font = {u"Times New Roman", 9, true, true};
    OnFont(f.ed);
    EXPECT_EQ(f.fontDialog.shows, 1);
    ASSERT_TRUE(f.fontDialog.shownFont.has_value());
    EXPECT_EQ(Fields(*f.fontDialog.shownFont), Fields({u"Times New Roman", 9, true, true}));
    EXPECT_EQ(Fields(f.ed.doc.font), Fields({u"Times New Roman", 9, true, true}));
    EXPECT_TRUE(f.tracker.statesSeen.empty()); // the control was not touched
}

TEST(FontCommand, AConfirmedChoiceIsStoredAndAppliedWithoutMarkingTheDocumentModified) {
    EditFixture f;
    f.fontDialog.answer = FontSpec{std::u16string(100, u'x'), 10, true, true};
    OnFont(f.ed);
    const FontSpec kept{std::u16string(79, u'x'), 10, true, true}; // the face name is cut to 79
    EXPECT_EQ(Fields(f.ed.doc.font), Fields(kept));
    EXPECT_EQ(Fields(f.control.Font()), Fields(kept));
    EXPECT_EQ(f.tracker.statesSeen, std::vector<bool>(4, true)); // each write, as the program's
    EXPECT_FALSE(f.ed.doc.changingControl);
    EXPECT_FALSE(f.ed.doc.modified);
    EXPECT_FALSE(f.ed.doc.undoAllowed);
}

TEST(WordWrapCommand, FlipsTheDocumentsWrapAndShowsItOnTheControlAndTheMenu) {
    EditFixture f;
    f.ed.doc.wordWrap = true;
    for (bool wrap : {false, true}) {
        OnWordWrap(f.ed);
        EXPECT_EQ(f.ed.doc.wordWrap, wrap);
        EXPECT_EQ(f.control.wordWrap, wrap);
        EXPECT_EQ(f.window.MenuChecked(MenuItem::WordWrap), wrap);
    }
    EXPECT_FALSE(f.ed.doc.modified);
}

} // namespace
} // namespace quillet
