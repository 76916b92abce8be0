// The edit script: reading it, the errors of bad commands, `kerbon-cli edit`, and undo as
// a property of random command sequences on real drawings.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "edit/EditorFixture.h"
#include "dxf/spline.h"
#include "edit/script.h"
#include "support/Ezdxf.h"
#include "support/RunCli.h"

using namespace kerbon;
using kerbon::test::EditorFixture;
using kerbon::test::runScript;
using kerbon::test::shq;
using kerbon::test::TempDir;

namespace {

// The commands as "line:word word ..." with quoted words in [brackets].
std::vector<std::string> shown(const std::vector<script::Command>& cmds)
{
    std::vector<std::string> out;
    for (const script::Command& c : cmds) {
        std::string s = std::to_string(c.line) + ":";
        for (size_t i = 0; i < c.words.size(); ++i)
            s += (i ? " " : "") + (c.words[i].quoted ? "[" + c.words[i].text + "]" : c.words[i].text);
        out.push_back(s);
    }
    return out;
}

}  // namespace

TEST(Script, SplitsLinesSemicolonsQuotesAndComments)
{
    std::vector<script::Command> cmds;
    std::string error;
    ASSERT_TRUE(script::parseScript("# a drawing\n"
                                    "line 0 0 10 10 ; xline 1 2 3 4   # two at once\n"
                                    "\r\n"
                                    "text 0 0 1 \"a; b # \\\"c\\\"\" 45\r\n"
                                    "  ;; undo",
                                    cmds, error));
    EXPECT_EQ(shown(cmds), (std::vector<std::string>{"2:line 0 0 10 10", "2:xline 1 2 3 4",
                                                      "4:text 0 0 1 [a; b # \"c\"] 45",
                                                      "5:undo"}));

    cmds.clear();
    EXPECT_FALSE(script::parseScript("line 0 0 1 1\n\ntext 0 0 1 \"open", cmds, error));
    EXPECT_EQ(error, "line 3: a quote is not closed");
}

TEST(Script, ArgumentsAreWordsOrWholeCommandLines)
{
    std::vector<script::Command> a, b;
    std::string error;
    ASSERT_TRUE(script::parseArguments({"line", "0", "0", "1", "1;", "text", "0", "0", "1",
                                        "\"x y\"", ";", "undo"},
                                       a, error));
    ASSERT_TRUE(script::parseArguments({"line 0 0 1 1; text 0 0 1 \"x y\";", "undo"}, b, error));
    const std::vector<std::string> want{"1:line 0 0 1 1", "2:text 0 0 1 [x y]", "3:undo"};
    EXPECT_EQ(shown(a), want);
    EXPECT_EQ(shown(b), want);
}

TEST(Script, BadCommandsStopWithTheirLine)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"line 0 0 1 1\nzeichne 1", "line 2: unknown command 'zeichne'"},
        {"line 0 0 1", "line 1: line: expected 4 values, got 3 (line X1 Y1 X2 Y2)"},
        {"\nline 0 0 1 1e999", "line 2: line: not a number: '1e999'"},
        {"line 0 0 1 nan", "line 1: line: not a number: 'nan'"},
        {"line 0,5 0 1 1", "line 1: line: not a number: '0,5'"},
        {"select some", "line 1: select: expected select all | none | window X1 Y1 X2 Y2 | pick X Y"},
        {"select window 0 0 1", "line 1: select: expected 5 values, got 4 (select all | none | window X1 Y1 X2 Y2 | pick X Y)"},
        {"tab 2", "line 1: tab: no tab 2 (the drawing has 2)"},
        {"tab 1.5", "line 1: tab: not a whole number: '1.5'"},
        {"ray 1 1 1 1", "line 1: ray: the points coincide"},
        {"view 0 800", "line 1: view: the drawing area must be 1 to 100000 pixels wide and high"},
        {"line 0 0 1 1; select all; scale 0 0 -2", "line 1: scale: the factor must be greater than 0"},
        {"line 0 0 1 1; select all; mirror 1 1 1 1", "line 1: mirror: the two points of the mirror line coincide"},
        {"array 0 2 1 1", "line 1: array: columns and rows must be 1 to 10000"},
        {"array 2 2 1", "line 1: array: expected 4 to 5 values, got 3 (array COLUMNS ROWS DX DY [ANGLE])"},
        {"line 0 0 1 1; grip 1 0 5 5", "line 1: grip: no object 1 (the drawing has 1)"},
        {"line 0 0 1 1; grip 0 2 5 5", "line 1: grip: object 0 has no vertex 2"},
        {"rotate 0 0 x", "line 1: rotate: not a number: 'x'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EditorFixture f("template1.dat");
        EXPECT_EQ(runScript(f.ed, c.text), c.error);
    }
}

TEST(Script, SelectDeleteUndoAndTabRunTheEditorOperations)
{
    EditorFixture f("examples/parts.dxf");
    const std::vector<std::string> original = f.ed.dxf.lines.strings();
    const int objects = f.ed.model.anzpoly;
    ASSERT_EQ(runScript(f.ed, "select window -1 -1 400 200; select none; delete"), "");
    EXPECT_TRUE(f.ed.undos.empty());  // nothing was selected any more
    ASSERT_EQ(runScript(f.ed, "select all; delete"), "");
    EXPECT_EQ(f.ed.model.anzpoly, 0);
    ASSERT_EQ(runScript(f.ed, "undo; tab 1; line 500 500 505 505; tab 0; select pick 502.5 502.5; delete"), "");
    // Entering the empty layout gave it a viewport; the pick on the model tab missed the line.
    EXPECT_EQ(f.ed.model.anzpoly, objects + 2);
    EXPECT_TRUE(f.ed.model.polys[size_t(objects)].isviewport);
    EXPECT_TRUE(f.ed.model.polys[size_t(objects + 1)].ispaperspace);
    ASSERT_EQ(runScript(f.ed, "tab 1; select pick 502.5 502.5; delete"), "");
    EXPECT_EQ(f.ed.model.anzpoly, objects + 1);
    ASSERT_EQ(runScript(f.ed, "undo; undo; undo"), "");
    EXPECT_EQ(f.ed.dxf.lines, original);
}

// Random command sequences on real drawings, then undo until nothing is left: the text
// comes back exactly. The same sequence twice writes the same text.
TEST(Script, UndoOfRandomSequencesGivesTheOriginalLines)
{
    const char* const drawings[] = {"template0.dat", "template1.dat", "examples/parts.dxf",
                                    "examples/loose-lines.dxf"};
    for (const char* name : drawings) {
        const bool r12 = std::string(name) == "template0.dat";
        for (unsigned seed : {1u, 2u, 3u}) {
            SCOPED_TRACE(std::string(name) + " seed " + std::to_string(seed));
            std::mt19937 rng(seed);
            auto c = [&rng] { return std::to_string(int(rng() % 400) - 20) + " "; };
            // Every command kind, with values that sometimes make a writer refuse
            // (collinear points, coincident points); refusals end the script, so each
            // command runs on its own.
            std::vector<std::string> cmds;
            for (int i = 0; i < 40; ++i) {
                std::ostringstream s;
                switch (rng() % 16) {
                case 0: s << "line " << c() << c() << c() << c(); break;
                case 1: s << (r12 ? "line " : "xline ") << c() << c() << c() << c(); break;
                case 2: s << "polyline " << c() << c() << c() << c() << c() << c() << "closed"; break;
                case 3: s << "polygon " << c() << c() << c() << c() << 3 + rng() % 8; break;
                case 4: s << "circle " << c() << c() << 1 + rng() % 50; break;
                case 5: s << "arc3 " << c() << c() << c() << c() << c() << c(); break;
                case 6: s << "arc " << c() << c() << 1 + rng() % 50 << " " << c() << c(); break;
                case 7: s << (r12 ? "point " : "ellipse ") << c() << c() << c() << c() << "0.5"; break;
                case 8: s << "text " << c() << c() << "2 \"Maß\\nzwei\" " << rng() % 360; break;
                case 9: s << "dimension " << c() << c() << c() << c() << c() << c(); break;
                case 10: s << (r12 ? "solid " : "spline ") << c() << c() << c() << c() << c() << c(); break;
                case 11: s << "select window " << c() << c() << c() << c(); break;
                case 12: s << "delete"; break;
                case 13: s << "undo"; break;
                case 14: s << "arrow " << c() << c() << c() << c(); break;
                default: s << "tab " << rng() % 2; break;
                }
                cmds.push_back(s.str());
            }
            auto runAll = [&cmds](Editor& ed) {
                programRandom().seed(7);  // the spline fit draws random numbers
                for (const std::string& cmd : cmds)
                    runScript(ed, cmd);
            };
            EditorFixture a(name), b(name);
            const std::vector<std::string> original = a.ed.dxf.lines.strings();
            runAll(a.ed);
            runAll(b.ed);
            EXPECT_EQ(a.ed.dxf.lines, b.ed.dxf.lines);
            EXPECT_FALSE(a.ed.undos.empty());
            while (!a.ed.undos.empty())
                a.ed.Rckgngig1Click();
            EXPECT_EQ(a.ed.dxf.lines, original);
        }
    }
}

TEST(KerbonCliEdit, WritesTheResultOrNothingWithLineAndExitCode2)
{
    TempDir tmp;
    const std::string dst = tmp.path("out.dxf");
    const std::string script = tmp.path("s.txt");
    test::writeBytes(script, "# lines\nline 0 0 10 10\nxline 0 0 1 2; ray 5 5 6 5\n");

    auto r = test::runCli(tmp, "edit new " + shq(dst) + " --script " + shq(script) +
                                   " --json line 1 1 2 2 \\; select all \\; delete \\; undo");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"src\": \"new\", \"dst\": \"" + dst +
                         "\", \"commands\": 7, \"objects_before\": 0, \"objects_after\": 4, "
                         "\"handles_added\": [\"30\", \"31\", \"32\", \"33\"], "
                         "\"undo_steps\": 4}\n");
    EXPECT_EQ(test::ezdxfAudit(tmp, dst), "");

    // A bad command: exit code 2, the message names the line, DST keeps what it had.
    test::writeBytes(dst, "old");
    test::writeBytes(script, "line 0 0 10 10\n\nline 0 0 x 10\n");
    r = test::runCli(tmp, "edit new " + shq(dst) + " --script " + shq(script));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "line 3: line: not a number: 'x'\n");
    EXPECT_EQ(test::readBytes(dst), "old");

    // The script from standard input, on an R12 drawing.
    r = test::runShell(tmp, "echo 'line 0 0 3 4' | " + std::string(std::getenv("KERBON_CLI")) +
                                " edit new-r12 " + shq(dst) + " --script -");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(test::readBytes(dst).find("LINE\r\n  5\r\n20\r\n  8\r\n0\r\n"), std::string::npos);
    EXPECT_EQ(test::ezdxfAudit(tmp, dst), "");

    r = test::runCli(tmp, "edit " + shq(tmp.path("missing.dxf")) + " " + shq(dst) + " undo");
    EXPECT_EQ(r.status, 1);
    r = test::runCli(tmp, "edit new");
    EXPECT_EQ(r.status, 2);
}

// The transform commands through the command-line tool: each one step, the result read by
// the independent reader, and the same text as the editor operations write.
TEST(KerbonCliEdit, TransformCommandsWriteWhatTheEditorWrites)
{
    TempDir tmp;
    const std::string dst = tmp.path("out.dxf");
    const std::string commands =
        "select all; rotate 5 5 30; select all; mirror 0 0 1 2; select all; scale 1 1 1.5; "
        "select all; copy 200 0; select pick 0 0; select window -1000 -1000 1000 1000; "
        "array 2 3 400 300 15; select all; move 1 2; grip 0 0 3 4";
    auto r = test::runCli(tmp, "edit " + shq(test::dataFile("examples/parts.dxf")) + " " + shq(dst) +
                                   " --json " + shq(commands));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"undo_steps\": 11"), std::string::npos) << r.out;
    EXPECT_EQ(test::ezdxfAudit(tmp, dst), "");

    EditorFixture f("examples/parts.dxf");
    f.ed.setAreaSize(1200, 800);
    ASSERT_EQ(runScript(f.ed, commands), "");
    LineStore saved;
    ASSERT_TRUE(loadLines(dst, saved));
    EXPECT_EQ(saved.lines, f.ed.dxf.lines);
}
