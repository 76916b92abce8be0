// The re-parse after an edit starts near the edit; after every step and every undo the
// model must be exactly that of a full parse of the text.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "../bench/drawing_gen.h"
#include "edit/EditorFixture.h"
#include "edit/script.h"
#include "edit/writers.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::EditorFixture;

namespace {

bool sameAsFullParse(const Editor& ed)
{
    model::DisplayModel full;
    processdxf(ed.dxf, full);
    return sameModel(ed.model, full);
}

// An editor on a generated drawing of some thousand entities.
void openGenerated(EditorFixture& f, const test::TempDir& tmp, long entities)
{
    const std::string path = tmp.path("big.dxf");
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(out);
    bench::writeDrawing(out, entities, 3);
    std::fclose(out);
    ASSERT_TRUE(f.ed.openfilewithname(path));
}

}  // namespace

TEST(Reparse, ALineAtTheEndIsParsedFromNearTheEnd)
{
    test::TempDir tmp;
    EditorFixture f;
    openGenerated(f, tmp, 3000);
    const Written w = writeLine(f.ed.writeContext(), 0, {0, 0, 0}, {1, 1, 0});
    applyEditSet(f.ed.dxf, w.edits);
    const int from = processdxfFrom(f.ed.dxf, f.ed.model, f.ed.model.insertlinepos);
    EXPECT_GT(from, f.ed.dxf.count() / 2);
    EXPECT_TRUE(sameAsFullParse(f.ed));
}

TEST(Reparse, EveryStepAndUndoGivesTheModelOfAFullParse)
{
    test::TempDir tmp;
    EditorFixture f;
    openGenerated(f, tmp, 2500);
    const std::vector<std::string> original = f.ed.dxf.lines.strings();

    std::mt19937 rng(11);
    for (int i = 0; i < 40; ++i) {
        std::ostringstream cmd;
        const int x = int(rng() % 1000), y = int(rng() % 1000);
        switch (rng() % 5) {
        case 0:
        case 1: cmd << "line " << x << " " << y << " " << x + 5 << " " << y; break;
        case 2: cmd << "select window " << x << " " << y << " " << x + 20 << " " << y + 20
                    << "; delete"; break;
        case 3: cmd << "tab " << rng() % 2 << "; xline 0 0 " << x << " " << y; break;
        default: cmd << "undo"; break;
        }
        SCOPED_TRACE(cmd.str());
        std::vector<script::Command> cmds;
        std::string error;
        script::Report report;
        ASSERT_TRUE(script::parseScript(cmd.str(), cmds, error));
        ASSERT_TRUE(script::runCommands(f.ed, cmds, report, error)) << error;
        ASSERT_TRUE(sameAsFullParse(f.ed));
    }
    while (!f.ed.undos.empty()) {
        f.ed.Rckgngig1Click();
        ASSERT_TRUE(sameAsFullParse(f.ed));
    }
    EXPECT_EQ(f.ed.dxf.lines, original);
}

TEST(Reparse, AChangedSeedAloneIsReadAgain)
{
    EditorFixture f("template1.dat");
    ASSERT_EQ(f.ed.model.maxhandle, 0x2F);
    EditSet set;
    set.replace(f.ed.model.handleseedpos, "100");
    ASSERT_TRUE(f.ed.applyEdits(set));
    EXPECT_EQ(f.ed.model.maxhandle, 0xFF);
    f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.model.maxhandle, 0x2F);
}
