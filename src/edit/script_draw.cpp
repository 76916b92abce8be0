// Script commands that draw: each calls the writer the drawing tool calls, with the
// tool's variant (arcmode) set as the tool sets it.
#include <cmath>
#include <numbers>

#include "edit/Editor.h"
#include "edit/constructions.h"
#include "edit/script.h"

namespace kerbon::script {

namespace {

// The values as points; false (with the error set) unless there are at
// least `least` pairs. A trailing bare word "closed" is taken off and reported.
bool points(Args& a, int least, const std::string& usage, std::vector<model::Tmypoi>& out,
            bool& closed)
{
    int n = a.size();
    closed = a.is(n - 1, "closed");
    if (closed)
        --n;
    if (n % 2 != 0 || n < 2 * least) {
        a.fail("expected at least " + std::to_string(least) + " points as X Y pairs (" +
               usage + ")");
        return false;
    }
    out.assign(size_t(n / 2), model::Tmypoi{});
    for (int i = 0; i < n / 2; ++i) {
        out[size_t(i)].x = a.number(2 * i);
        out[size_t(i)].y = a.number(2 * i + 1);
    }
    return !a.failed();
}

// Reads `count` numbers into v; false when the count is wrong or one does not convert.
bool numbers(Args& a, int count, const std::string& usage, double* v)
{
    if (!a.expect(count, usage))
        return false;
    for (int i = 0; i < count; ++i)
        v[i] = a.number(i);
    return !a.failed();
}

bool positive(Args& a, double v, const char* what)
{
    if (v > 0)
        return true;
    a.fail(std::string(what) + " must be greater than 0");
    return false;
}

// line, xline, ray: AddLine with the tool's arcmode.
Handler lineCommand(int arcmode, const std::string& usage)
{
    return [arcmode, usage](Editor& ed, Args& a) {
        double v[4];
        if (!numbers(a, 4, usage, v))
            return false;
        ed.arcmode = arcmode;
        return wrote(a, ed.AddLine(v[0], v[1], 0, v[2], v[3], 0));
    };
}

bool polyline(Editor& ed, Args& a)
{
    bool closed = false;
    if (!points(a, 2, "polyline X Y X Y ... [closed]", ed.polyline0, closed))
        return false;
    return wrote(a, ed.AddPolyLine(closed));
}

bool rect(Editor& ed, Args& a)
{
    double v[4];
    if (!numbers(a, 4, "rect X1 Y1 X2 Y2", v))
        return false;
    return wrote(a, ed.AddRectangle(v[0], v[1], v[2], v[3]));
}

bool polygon(Editor& ed, Args& a)
{
    const std::string usage = "polygon CX CY X Y N";
    if (!a.expect(5, usage))
        return false;
    const double cx = a.number(0), cy = a.number(1), x = a.number(2), y = a.number(3);
    const int n = a.integer(4);
    if (a.failed())
        return false;
    if (n < 3 || n > 1000) {
        a.fail("the corner count must be 3 to 1000");
        return false;
    }
    ed.polygonValues.ecken = n;
    return wrote(a, ed.AddPolyGon(cx, cy, 0, x, y, 0));
}

bool circle(Editor& ed, Args& a)
{
    double v[3];
    if (!numbers(a, 3, "circle CX CY R", v) || !positive(a, v[2], "the radius"))
        return false;
    ed.arcmode = 0;
    return wrote(a, ed.AddCircle(v[0], v[1], 0, v[0] + v[2], v[1], 0));
}

bool circle3(Editor& ed, Args& a)
{
    double v[6];
    if (!numbers(a, 6, "circle3 X1 Y1 X2 Y2 X3 Y3", v))
        return false;
    ed.arcmode = 1;
    return wrote(a, ed.AddCircleDurch3Punkte(v[0], v[1], 0, v[2], v[3], 0, v[4], v[5], 0));
}

bool arc(Editor& ed, Args& a)
{
    double v[5];
    if (!numbers(a, 5, "arc CX CY R A1 A2", v) || !positive(a, v[2], "the radius"))
        return false;
    const double w1 = v[3] * std::numbers::pi / 180, w2 = v[4] * std::numbers::pi / 180;
    ed.arcmode = 1;  // centre, start, end
    return wrote(a, ed.AddArc(v[0], v[1], 0, v[0] + v[2] * std::cos(w1),
                              v[1] + v[2] * std::sin(w1), 0, v[0] + v[2] * std::cos(w2),
                              v[1] + v[2] * std::sin(w2), 0));
}

bool arc3(Editor& ed, Args& a)
{
    double v[6];
    if (!numbers(a, 6, "arc3 X1 Y1 X2 Y2 X3 Y3", v))
        return false;
    ed.arcmode = 0;  // start, middle, end
    return wrote(a, ed.AddArc(v[0], v[1], 0, v[2], v[3], 0, v[4], v[5], 0));
}

bool ellipse(Editor& ed, Args& a)
{
    double v[5];
    if (!numbers(a, 5, "ellipse CX CY MX MY RATIO", v))
        return false;
    // The centre tool: centre, end of the major axis, a point at the other semi-axis'
    // distance (a quarter turn from the major axis).
    ed.arcmode = 2;
    return wrote(a, ed.AddEllipse(v[0], v[1], 0, v[0] + v[2], v[1] + v[3], 0,
                                  v[0] - v[3] * v[4], v[1] + v[2] * v[4], 0));
}

bool point(Editor& ed, Args& a)
{
    double v[2];
    if (!numbers(a, 2, "point X Y", v))
        return false;
    return wrote(a, ed.AddPoint(v[0], v[1], 0));
}

bool solid(Editor& ed, Args& a)
{
    const std::string usage = "solid X1 Y1 X2 Y2 X3 Y3 [X4 Y4]";
    if (a.size() != 6 && !a.expect(8, usage))
        return false;
    double v[8];
    for (int i = 0; i < a.size(); ++i)
        v[i] = a.number(i);
    if (a.failed())
        return false;
    if (a.size() == 6) {  // three corners: the fourth is the third
        v[6] = v[4];
        v[7] = v[5];
    }
    return wrote(a, ed.AddSolid(v[0], v[1], 0, v[2], v[3], 0, v[4], v[5], 0, v[6], v[7], 0));
}

bool arrow(Editor& ed, Args& a)
{
    double v[4];
    if (!numbers(a, 4, "arrow X1 Y1 X2 Y2", v))
        return false;
    if (v[0] == v[2] && v[1] == v[3]) {
        a.fail("the points coincide");
        return false;
    }
    ed.arcmode = 0;
    return wrote(a, ed.AddLine(v[0], v[1], 0, v[2], v[3], 0)) &&
           wrote(a, ed.AddArrowToLine(v[0], v[1], v[2], v[3]));
}

bool text(Editor& ed, Args& a)
{
    const std::string usage = "text X Y HEIGHT \"TEXT\" [ANGLE]";
    if (!a.expectBetween(4, 5, usage))
        return false;
    const double x = a.number(0), y = a.number(1), h = a.number(2);
    const std::string& s = a.text(3);
    const double angle = a.size() == 5 ? a.number(4) : 0;
    if (a.failed() || !positive(a, h, "the height"))
        return false;
    ed.textValues.text = s;
    ed.textValues.winkel = angle;
    return wrote(a, ed.AddText(x, y, 0, h));
}

bool dimension(Editor& ed, Args& a)
{
    double v[6];
    if (!numbers(a, 6, "dimension X1 Y1 X2 Y2 XT YT", v))
        return false;
    DimensionLine d;
    if (!dimensionLine(v[0], v[1], v[2], v[3], v[4], v[5], d)) {
        a.fail("the measured points coincide");
        return false;
    }
    ed.linesx4 = d.x4, ed.linesy4 = d.y4, ed.linesx5 = d.x5, ed.linesy5 = d.y5;
    ed.linesx3 = d.x3, ed.linesy3 = d.y3, ed.linesz3 = 0;
    ed.arcmode = 0;
    return wrote(a, ed.AddDimension(v[0], v[1], 0, v[2], v[3], 0, v[4], v[5], 0, d.x3, d.y3, 0));
}

bool spline(Editor& ed, Args& a)
{
    bool closed = false;
    if (!points(a, 2, "spline X Y X Y ... [closed]", ed.polyline0, closed))
        return false;
    if (closed)  // "Linienzug schließen" collects the first point once more
        ed.polyline0.push_back(ed.polyline0.front());
    ed.splinemode = 0;
    ed.arcmode = 2;
    return wrote(a, ed.AddSPLINE(closed));
}

}  // namespace

void addDrawCommands(CommandTable& t)
{
    t.add({"line", "line X1 Y1 X2 Y2", lineCommand(0, "line X1 Y1 X2 Y2")});
    t.add({"xline", "xline X1 Y1 X2 Y2", lineCommand(1, "xline X1 Y1 X2 Y2")});
    t.add({"ray", "ray X1 Y1 X2 Y2", lineCommand(2, "ray X1 Y1 X2 Y2")});
    t.add({"polyline", "polyline X Y X Y ... [closed]", polyline});
    t.add({"rect", "rect X1 Y1 X2 Y2", rect});
    t.add({"polygon", "polygon CX CY X Y N", polygon});
    t.add({"circle", "circle CX CY R", circle});
    t.add({"circle3", "circle3 X1 Y1 X2 Y2 X3 Y3", circle3});
    t.add({"arc", "arc CX CY R A1 A2", arc});
    t.add({"arc3", "arc3 X1 Y1 X2 Y2 X3 Y3", arc3});
    t.add({"ellipse", "ellipse CX CY MX MY RATIO", ellipse});
    t.add({"point", "point X Y", point});
    t.add({"solid", "solid X1 Y1 X2 Y2 X3 Y3 [X4 Y4]", solid});
    t.add({"arrow", "arrow X1 Y1 X2 Y2", arrow});
    t.add({"text", "text X Y HEIGHT \"TEXT\" [ANGLE]", text});
    t.add({"dimension", "dimension X1 Y1 X2 Y2 XT YT", dimension});
    t.add({"spline", "spline X Y X Y ... [closed]", spline});
}

}  // namespace kerbon::script
