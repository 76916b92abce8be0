// Saving a drawing whose encoding cannot hold every character of its text: the editor
// asks before anything is lost.
#include <gtest/gtest.h>

#include <filesystem>

#include "edit/Editor.h"
#include "support/ScriptedUi.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::readBytes;
using kerbon::test::ScriptedUi;
using kerbon::test::TempDir;

TEST(SaveFileUnder, AsksBeforeCharactersTheEncodingCannotHoldAreLost)
{
    TempDir tmp;
    const std::string path = tmp.path("teil.dxf");
    struct Case {
        Encoding encoding;
        std::vector<MsgResult> answers;
        bool asked, saved;
        const char* bytes;
    };
    const Case cases[] = {
        {Encoding::Ansi, {MsgResult::No}, true, false, nullptr},
        {Encoding::Ansi, {MsgResult::Yes}, true, true, "  1\r\n? \xE4\r\n"},
        {Encoding::Utf8Bom, {}, false, true, "\xEF\xBB\xBF  1\r\n\xCE\xA9 \xC3\xA4\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(encodingName(c.encoding));
        std::filesystem::remove(path);
        ScriptedUi ui;
        ui.answers.assign(c.answers.begin(), c.answers.end());
        Editor ed{ui};
        ed.dxf.lines = {"  1", "\u03A9 \u00E4"};
        ed.dxf.encoding = c.encoding;
        EXPECT_EQ(ed.SaveFileUnder(path), c.saved);
        ASSERT_EQ(ui.shown.size(), c.asked ? 1u : 0u);  // no failure message after "No"
        if (c.asked) {
            EXPECT_NE(ui.shown[0].text.find("\u03A9 (U+03A9)"), std::string::npos);
            EXPECT_EQ(ui.shown[0].text.find("U+00E4"), std::string::npos);  // ä fits
            EXPECT_EQ(ui.shown[0].buttons, MsgButtons::YesNo);
        }
        EXPECT_EQ(std::filesystem::exists(path), c.saved);
        if (c.saved) {
            EXPECT_EQ(readBytes(path), c.bytes);
        }
    }
}
