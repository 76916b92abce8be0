// The contour tool file to file: what the readers take from a drawing, the text the writers
// put in its place, and that failures never cost the user a file.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "nesting/contour_fixture.h"
#include "nesting/contour_model.h"
#include "nesting/contour_text.h"

using namespace kerbon::contour;
using namespace kerbon::contour::test;
using Lines = std::vector<std::string>;

namespace {

Lines headerLines(const tpoly& p, const ContourModel& m)
{
    Lines out;
    for (uint32_t id : p.code)
        out.emplace_back(m.lines[id]);
    return out;
}

Lines vertexLines(const Tmypoi& v, const ContourModel& m)
{
    Lines out;
    for (uint32_t k = 0; k < v.code.count; ++k)
        out.emplace_back(m.lines[v.code.first + k]);
    return out;
}

const Lines lineA = {"  0", "LINE", "  5", "40", "330", "1F", "100", "AcDbEntity", "  8", "CUT",
                     "100", "AcDbLine", " 10", "0", " 20", "0", " 30", "0",
                     " 11", "10", " 21", "0", " 31", "0"};
const Lines lineB = {"  0", "LINE", "  5", "41", "100", "AcDbLine ", "  8", "CUT",
                     " 10", "10.005", " 20", "0", " 30", "0", " 11", "10", " 21", "5", " 31", "0"};
const Lines circle = {"  0", "CIRCLE", "  8", "0", " 10", "1", " 20", "1", " 40", "2"};

}  // namespace

using ContourFile = TempDir;

// The lightweight form has no vertex z: the points are written as 10/20 pairs only.
TEST_F(ContourFile, LinesBecomeLightweightPolylinesInLaterVersions)
{
    const std::string src = put("a.dxf", drawing("AC1015", lineA + circle + lineB));
    ContourModel m;
    const JoinOutcome r = joinLinesFile(m, src, path("b.dxf"), 0.01);
    ASSERT_TRUE(r.written) << r.message;
    EXPECT_EQ(r.pieces, 2);
    EXPECT_EQ(r.polylines, 1);
    EXPECT_EQ(m.cadver, 1015);
    // The second LINE keeps its subclass value with the trailing blank; it was merged.
    EXPECT_EQ(headerLines(m.polys[1], m)[7], "AcDbLine ");
    const Lines joined = {"  0", "LWPOLYLINE", " 66", "1", "  5", "40", "330", "1F",
                          "100", "AcDbEntity", "  8", "CUT", "100", "AcDbPolyline", " 90", "3",
                          " 10", "0", " 20", "0", " 10", "10", " 20", "0", " 10", "10", " 20", "5"};
    EXPECT_EQ(get("b.dxf"), crlf(drawing("AC1015", joined + circle)));
}

TEST_F(ContourFile, LinesBecomeOldStylePolylinesInR12AndUnversionedFiles)
{
    // Vertices get handles from 30 on (after the largest handle 2F): 30 and 31 for the
    // first LINE, 32 for the one-vertex LINE, which then disappears. The polyline without a
    // handle gets 33 when written, its end record 34 and the polyline's layer; $HANDSEED
    // moves above them all.
    const Lines noHandle = {"  0", "LINE", "  8", "CUT", " 62", "1", " 10", "0", " 20", "0",
                            " 11", "10", " 21", "0"};
    const Lines pointOnly = {"  0", "LINE", "  8", "0", " 10", "5", " 20", "5"};
    const Lines want = {"  0", "POLYLINE", " 66", "1", " 5", "33", "  8", "CUT", " 62", "1",
                        " 0", "VERTEX", " 5", "30", " 8", "CUT", " 10", "0", " 20", "0",
                        " 0", "VERTEX", " 5", "31", " 8", "CUT", " 10", "10", " 20", "0",
                        " 0", "SEQEND", " 5", "34", " 8", "CUT"};
    for (const char* version : {"AC1009", ""}) {
        SCOPED_TRACE(version);
        const std::string src = put("a.dxf", drawing(version, noHandle + pointOnly + circle));
        ContourModel m;
        ASSERT_TRUE(joinLinesFile(m, src, path("b.dxf"), 0.01).written);
        std::string expected = crlf(drawing(version, want + circle));
        expected.replace(expected.find("2F"), 2, "35");
        EXPECT_EQ(get("b.dxf"), expected);
    }
}

TEST_F(ContourFile, NewHandlesCountOnFromTheLargestHandleAnywhereInTheFile)
{
    // The handle 7A comes after the LINE; the polyline still gets 7B, and $HANDSEED 7C.
    // In the old-style form the vertices take 7B and 7C as they are read, the polyline
    // 7D and its end record 7E.
    const Lines noHandle = {"  0", "LINE", "  8", "0", " 10", "0", " 20", "0", " 11", "1",
                            " 21", "0"};
    const Lines later = {"  0", "CIRCLE", "  5", "7A", "  8", "0", " 40", "1"};
    for (const char* version : {"AC1015", "AC1009"}) {
        SCOPED_TRACE(version);
        put("a.dxf", drawing(version, noHandle + later));
        ContourModel m;
        ASSERT_TRUE(joinLinesFile(m, path("a.dxf"), path("b.dxf"), 0.01).written);
        const std::string out = get("b.dxf");
        const bool old = std::string(version) == "AC1009";
        EXPECT_NE(out.find(old ? "POLYLINE\r\n 66\r\n1\r\n 5\r\n7D\r\n"
                               : "LWPOLYLINE\r\n 66\r\n1\r\n 5\r\n7B\r\n"),
                  std::string::npos);
        EXPECT_NE(out.find(old ? "SEQEND\r\n 5\r\n7E\r\n" : "LWPOLYLINE"), std::string::npos);
        EXPECT_NE(out.find(old ? "$HANDSEED\r\n  5\r\n7F\r\n" : "$HANDSEED\r\n  5\r\n7C\r\n"),
                  std::string::npos);
    }
}

// Joining polylines used to drop the appended polyline's first bulge, straightening its first
// arc: the junction keeps the point it was appended to, with the segment that leaves it.
// Lines of a later drawing without subclass markers made a target no reader could take, and
// an AC1012 drawing got lightweight polylines, which it cannot hold.
TEST_F(ContourFile, LinesGetTheSubclassMarkersAndTheFormTheirVersionNeeds)
{
    const Lines bare = {"  0", "LINE", "  5", "40", "  8", "CUT", " 62", "1", " 39", "2",
                        " 10", "0", " 20", "0", " 30", "4", " 11", "10", " 21", "0", " 31", "4"};
    const Lines lw = {"  0", "LWPOLYLINE", " 66", "1", "  5", "40", "100", "AcDbEntity",
                      "  8", "CUT", " 62", "1", "100", "AcDbPolyline", " 39", "2", " 90", "2",
                      " 38", "4", " 10", "0", " 20", "0", " 10", "10", " 20", "0"};
    const Lines old = {"  0", "POLYLINE", " 66", "1", "  5", "40", "100", "AcDbEntity",
                       "  8", "CUT", " 62", "1", "100", "AcDb2dPolyline", " 39", "2",
                       " 10", "0", " 20", "0", " 30", "4",
                       " 0", "VERTEX", " 5", "41", "330", "40", "100", "AcDbEntity", " 8", "CUT",
                       "100", "AcDbVertex", "100", "AcDb2dVertex", " 10", "0", " 20", "0", " 30", "4",
                       " 0", "VERTEX", " 5", "42", "330", "40", "100", "AcDbEntity", " 8", "CUT",
                       "100", "AcDbVertex", "100", "AcDb2dVertex", " 10", "10", " 20", "0", " 30", "4",
                       " 0", "SEQEND", " 5", "43", "330", "40", "100", "AcDbEntity", " 8", "CUT"};
    for (const auto& [version, want] : {std::pair{"AC1015", lw}, std::pair{"AC1012", old}}) {
        SCOPED_TRACE(version);
        put("a.dxf", drawing(version, bare));
        ContourModel m;
        ASSERT_TRUE(joinLinesFile(m, path("a.dxf"), path("b.dxf"), 0.01).written);
        std::string expected = crlf(drawing(version, want));
        if (std::string(version) == "AC1012")
            expected.replace(expected.find("2F"), 2, "44");  // above the LINE's 40
        EXPECT_EQ(get("b.dxf"), expected);
    }
}

// A binary or UTF-16 source used to come out as a corrupted copy, reported as success.
TEST_F(ContourFile, BinaryAndUtf16SourcesAreRefusedWithoutATarget)
{
    const std::string binary = std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\0\x01\x02";
    std::string utf16 = "\xFF\xFE";
    for (char ch : crlf(drawing("AC1015", lineA)))
        utf16 += std::string{ch, '\0'};
    const std::string cli = std::getenv("KERBON_CLI");
    for (const auto& [bytes, message] : {std::pair{binary, msgBinary(path("a.dxf"))},
                                         std::pair{utf16, msgUtf16(path("a.dxf"))}}) {
        put("a.dxf", bytes);
        ContourModel m;
        for (bool lines : {true, false}) {
            const JoinOutcome r = lines ? joinLinesFile(m, path("a.dxf"), path("b.dxf"), 0.01)
                                        : combinePolylinesFile(m, path("a.dxf"), path("b.dxf"), 0.01);
            EXPECT_FALSE(r.written);
            EXPECT_EQ(r.message, message);
            EXPECT_FALSE(exists("b.dxf"));
        }
    }
    // Saving a binary file as text would corrupt it the same way.
    put("a.dxf", binary);
    const std::string cmd = cli + " save " + path("a.dxf") + " " + path("b.dxf") + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    char buf[512] = {};
    const std::string said = std::fgets(buf, sizeof buf, p) ? buf : "";
    EXPECT_NE(WEXITSTATUS(pclose(p)), 0);
    EXPECT_NE(said.find("binary DXF"), std::string::npos) << said;
    EXPECT_FALSE(exists("b.dxf"));
}

TEST_F(ContourFile, PolylinesJoinWithTheirOwnVertexTextAndTheJunctionKeepsTheArc)
{
    const Lines lw1 = {"  0", "LWPOLYLINE", "  5", "50", "100", "AcDbPolyline", " 90", "4",
                       " 70", "0", " 10", "0", " 20", "0", " 10", "1", " 20", "0", " 42", "0.5",
                       " 10", "2", " 20", "0", " 10", "3", " 20", "0"};
    const Lines lw2 = {"  0", "LWPOLYLINE", "  5", "51", "100", "AcDbPolyline", " 90", "3",
                       " 70", "0", " 10", "3", " 20", "0", " 42", "1", " 10", "3", " 20", "3",
                       " 10", "4", " 20", "4"};
    const std::string src = put("a.dxf", drawing("AC1015", lw1 + circle + lw2));
    ContourModel m;
    const JoinOutcome r = combinePolylinesFile(m, src, path("b.dxf"), 0.01);
    ASSERT_TRUE(r.written) << r.message;
    // The 42 pair stays with the vertex before it (as the segment starting there).
    EXPECT_EQ(vertexLines(m.polys[0].ps[1], m), (Lines{" 10", "1", " 20", "0"}));
    EXPECT_EQ(m.lines[m.polys[0].ps[1].seg.first + 1], "0.5");
    const Lines want = {"  0", "LWPOLYLINE", "  5", "50", "100", "AcDbPolyline", " 90", "6",
                        " 70", "0", " 10", "0", " 20", "0", " 10", "1", " 20", "0", " 42", "0.5",
                        " 10", "2", " 20", "0", " 10", "3", " 20", "0", " 42", "1",
                        " 10", "3", " 20", "3", " 10", "4", " 20", "4"};
    EXPECT_EQ(get("b.dxf"), crlf(drawing("AC1015", want + circle)));
}

// Closed polylines used to be joined like open ones, and moved vertices kept pointing at the
// polyline that was no longer written.
TEST_F(ContourFile, OldStylePolylinesJoinReownedVerticesButNeverAClosedOne)
{
    auto vertex = [](const char* h, const char* owner, const char* x, const char* flags) {
        Lines v = {"  0", "VERTEX", "  5", h, "330", owner, "  8", "0", " 10", x, " 20", "0"};
        if (*flags)
            v.insert(v.end(), {" 70", flags});
        return v;
    };
    auto head = [](const char* h, const char* flags) {
        return Lines{"  0", "POLYLINE", "  5", h, "  8", "0", " 66", "1", " 70", flags};
    };
    const Lines seqend = {"  0", "SEQEND", "  5", "99", "  8", "0"};
    const Lines p1 = head("60", "0") + vertex("61", "60", "0", "") + vertex("62", "60", "1", "") + seqend;
    const Lines p2 = head("65", "0") + vertex("63", "65", "1", "") + vertex("64", "65", "2", "") + seqend;
    // Closed by its header; a vertex's 70/0 after it makes it read as not closed.
    const Lines p3 = head("66", "1") + vertex("67", "66", "2", "") + vertex("68", "66", "3", "0") + seqend;
    const std::string src = put("a.dxf", drawing("AC1009", p1 + p2 + p3));
    ContourModel m;
    const JoinOutcome r = combinePolylinesFile(m, src, path("b.dxf"), 0.01);
    ASSERT_TRUE(r.written);
    EXPECT_FALSE(m.polys[2].isclosed);
    EXPECT_EQ((std::array{r.pieces, r.polylines, r.closed, r.open}), (std::array{3, 2, 1, 1}));
    const Lines want = head("60", "0") + vertex("61", "60", "0", "") + vertex("62", "60", "1", "") +
                       vertex("64", "60", "2", "") + seqend + p3;
    EXPECT_EQ(get("b.dxf"), crlf(drawing("AC1009", want)));
}

TEST_F(ContourFile, ReadsAnyLineBreakAndFilesThatEndInsideAnEntity)
{
    // LF, lone CR and CRLF all end a line; the value of a final code line is empty.
    const Lines src = drawing("AC1015", lineA);
    std::string lf, cr;
    for (const std::string& l : src)
        lf += l + "\n", cr += l + "\r";
    for (const std::string& bytes : {lf, cr}) {
        put("a.dxf", bytes);
        ContourModel m;
        ASSERT_TRUE(joinLinesFile(m, path("a.dxf"), path("b.dxf"), 0.01).written);
        ASSERT_EQ(m.anzpoly, 1);
        EXPECT_EQ(m.polys[0].ps[1].x, 10);
        EXPECT_NE(get("b.dxf").find("LWPOLYLINE\r\n"), std::string::npos);
    }
    // Cut off after " 21": the LINE still becomes a polyline, written at the end, its last
    // value empty.
    std::string cut = crlf(drawing("AC1015", lineA));
    cut.resize(cut.rfind(" 21\r\n") + 3);
    put("a.dxf", cut);
    ContourModel m;
    ASSERT_TRUE(joinLinesFile(m, path("a.dxf"), path("b.dxf"), 0.01).written);
    const std::string out = get("b.dxf");
    EXPECT_NE(out.find("AcDbPolyline\r\n 90\r\n2\r\n 10\r\n0\r\n"), std::string::npos);
    EXPECT_TRUE(out.ends_with("\r\n 10\r\n10\r\n 20\r\n\r\n"));
}

TEST_F(ContourFile, LineBreaksAreFoundAcrossEveryBufferEdge)
{
    // CR LF, LF and lone CR mixed, empty lines, a CR LF split by a buffer edge, lines longer
    // than the buffer, and a last line without a break; read with every small buffer size.
    const std::string bytes = "  0\r\nLINE\n\r\n 10\r1.5\r\r\nlonger than a buffer\n\nend";
    const Lines want = {"  0", "LINE", "", " 10", "1.5", "", "longer than a buffer", "", "end"};
    put("a.dxf", bytes);
    for (size_t chunk = 1; chunk <= bytes.size() + 1; ++chunk) {
        SCOPED_TRACE(chunk);
        LineSource src(path("a.dxf"), chunk);
        Lines got;
        uint64_t at = 0;
        size_t len = 0;
        src.keepFromHere();
        while (src.next(at, len)) {
            got.emplace_back(src.view(at, len));
            src.keepFromHere();
        }
        EXPECT_EQ(got, want);
    }
}

TEST_F(ContourFile, ReaderKeepsStrayAndMalformedValues)
{
    // An LWPOLYLINE with a 20 before any 10 (kept in the header), a 10 that is no number
    // (starts no vertex, dropped), and a LINE with a non-numeric coordinate (stays 0).
    const Lines lw = {"  0", "LWPOLYLINE", " 20", "7", " 10", "abc", " 10", "1", " 20", "2",
                      " 10", "3", " 20", "4"};
    put("a.dxf", drawing("AC1015", lw));
    ContourModel m;
    ASSERT_TRUE(LoadDxf(path("a.dxf"), m));
    ASSERT_EQ(m.anzpoly, 1);
    EXPECT_EQ(headerLines(m.polys[0], m), (Lines{"  0", "LWPOLYLINE", " 20", "7"}));
    ASSERT_EQ(m.polys[0].anzp, 2);
    EXPECT_EQ(m.polys[0].ps[0].y, 2);

    const Lines bad = {"  0", "LINE", " 10", "1,5", " 20", "2", " 11", "x", " 21", "3"};
    put("a.dxf", drawing("AC1015", bad));
    ASSERT_TRUE(LoadDxf2(path("a.dxf"), m));
    ASSERT_EQ(m.polys[0].anzp, 2);
    EXPECT_EQ(m.polys[0].ps[0].x, 0);
    EXPECT_EQ(m.polys[0].ps[1].x, 0);
    EXPECT_EQ(m.polys[0].ps[1].y, 3);
}

TEST_F(ContourFile, TargetMayBeTheSource)
{
    const Lines text = drawing("AC1015", lineA + lineB);
    put("a.dxf", text);
    put("c.dxf", text);
    ContourModel m;
    ASSERT_TRUE(joinLinesFile(m, path("c.dxf"), path("b.dxf"), 0.01).written);
    ASSERT_TRUE(joinLinesFile(m, path("a.dxf"), path("a.dxf"), 0.01).written);
    EXPECT_EQ(get("a.dxf"), get("b.dxf"));
    EXPECT_NE(get("a.dxf").find("LWPOLYLINE"), std::string::npos);
}

TEST_F(ContourFile, FailuresWriteNothingAndKeepTheOldTarget)
{
    put("a.dxf", drawing("AC1015", lineA + lineB));
    put("old.dxf", std::string("previous result"));
    std::filesystem::create_directory(path("dir.dxf"));
    ContourModel m;
    ASSERT_TRUE(joinLinesFile(m, path("a.dxf"), path("b.dxf"), 0.01).written);
    struct Case {
        const char* what;
        bool lines;
        std::string source, target, message, title;
    };
    const Case cases[] = {
        {"missing source, stale model", true, path("gone.dxf"), path("old.dxf"),
         "Folgende DXF Datei konnte nicht geöffnet werden: " + path("gone.dxf"), ""},
        {"missing source, polylines", false, path("gone.dxf"), path("old.dxf"),
         "Folgende DXF Datei konnte nicht geöffnet werden: " + path("gone.dxf"), ""},
        {"target folder missing", true, path("a.dxf"), path("no/such.dxf"),
         "Folgende DXF Datei konnte nicht angelegt werden: " + path("no/such.dxf"), ""},
        {"target cannot be replaced", true, path("a.dxf"), path("dir.dxf"),
         "Folgende DXF Datei konnte nicht angelegt werden: " + path("dir.dxf"), ""},
        {"no polylines to join", false, path("a.dxf"), path("old.dxf"),
         "Es konnte keine Polyline gefunden werden. Wenn es noch einzelen Linien sind führen "
         "Sie bitte zunächst die Konvertierung in Polylinien aus.",
         "Keine Polylines"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const JoinOutcome r = c.lines ? joinLinesFile(m, c.source, c.target, 0.01)
                                      : combinePolylinesFile(m, c.source, c.target, 0.01);
        EXPECT_FALSE(r.written);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.title, c.title);
        EXPECT_EQ(get("old.dxf"), "previous result");
        EXPECT_TRUE(std::filesystem::is_directory(path("dir.dxf")));
        // nothing half-written is left beside the targets
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                                std::filesystem::directory_iterator()), 4);
    }
}

TEST_F(ContourFile, HostileInputNeitherCrashesNorHangs)
{
    // Pieces of a valid drawing, cut and shuffled and sprinkled with odd bytes.
    const Lines base = drawing("AC1009", lineA + lineB + circle +
                                             Lines{"  0", "POLYLINE", " 70", "1", "  0", "VERTEX",
                                                   " 10", "1e999", " 20", "nan", "  0", "SEQEND",
                                                   "  0", "LWPOLYLINE", " 90", "99999999",
                                                   " 10", "1", " 20", "-inf"});
    const std::string odd[] = {"", " ", "\r", "\n", "\0", "  0", "LINE", "POLYLINE", "VERTEX",
                               "LWPOLYLINE", "SEQEND", "ENTITIES", "  2", " 11", " 10", "1e308",
                               "-", "\xff\xfe", std::string(5000, 'x')};
    std::mt19937 rng(7);
    for (int round = 0; round < 150; ++round) {
        Lines l = base;
        for (int k = int(rng() % 12); k > 0; --k) {
            const size_t at = rng() % l.size();
            switch (rng() % 3) {
            case 0: l[at] = odd[rng() % std::size(odd)]; break;
            case 1: l.erase(l.begin() + long(at)); break;
            default: l.insert(l.begin() + long(at), l[rng() % l.size()]); break;
            }
        }
        std::string bytes = crlf(l);
        bytes.resize(rng() % 4 == 0 ? rng() % (bytes.size() + 1) : bytes.size());
        put("a.dxf", bytes);
        ContourModel m;
        joinLinesFile(m, path("a.dxf"), path("b.dxf"), 0.01);
        combinePolylinesFile(m, path("a.dxf"), path("c.dxf"), 0.01);
    }
}

TEST_F(ContourFile, CommandLineJoinsAndReportsErrors)
{
    const std::string cli = std::getenv("KERBON_CLI");
    ASSERT_TRUE(std::filesystem::exists(cli)) << cli;
    put("a.dxf", drawing("AC1015", lineA + lineB + circle));
    auto run = [&](const std::string& args, std::string& out) {
        const std::string cmd = cli + " " + args + " 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        char buf[512];
        out.clear();
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        return WEXITSTATUS(pclose(p));
    };
    std::string out;
    EXPECT_EQ(run("join lines " + path("a.dxf") + " " + path("b.dxf"), out), 0);
    EXPECT_EQ(out, "2 pieces read, 1 polylines written, 0 closed, 1 open\n");
    EXPECT_EQ(run("join lines " + path("a.dxf") + " " + path("c.dxf") + " --tolerance 0.001", out), 0);
    EXPECT_EQ(out, "2 pieces read, 2 polylines written, 0 closed, 2 open\n");
    EXPECT_NE(run("join lines " + path("gone.dxf") + " " + path("d.dxf"), out), 0);
    EXPECT_NE(out.find("nicht geöffnet"), std::string::npos);
    EXPECT_FALSE(exists("d.dxf"));
    EXPECT_NE(run("join polylines " + path("a.dxf") + " " + path("d.dxf"), out), 0);
    EXPECT_NE(out.find("Es konnte keine Polyline"), std::string::npos);
    EXPECT_FALSE(exists("d.dxf"));
    EXPECT_NE(run("join lines " + path("a.dxf") + " " + path("no/d.dxf"), out), 0);
    EXPECT_NE(run("join sideways " + path("a.dxf") + " " + path("d.dxf"), out), 0);
    // The example drawing of ./run.sh: three outlines drawn as shuffled loose pieces.
    const std::string example = std::string(std::getenv("KERBON_TEST_DATA")) + "examples/loose-lines.dxf";
    EXPECT_EQ(run("join lines " + example + " " + path("e.dxf"), out), 0);
    EXPECT_EQ(out, "17 pieces read, 3 polylines written, 0 closed, 3 open\n");
}
