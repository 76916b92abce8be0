// Script commands for the transforms of the selection and the grip edit.
#include <cmath>
#include <numbers>

#include "edit/Editor.h"
#include "edit/script.h"

namespace kerbon::script {

namespace {

// True when the editor did the operation; otherwise the command fails with the reason.
bool done(Args& a, TransformStatus s)
{
    switch (s) {
    case TransformStatus::Ok: return true;
    case TransformStatus::NotFinite: a.fail("a value would not be a finite number"); break;
    case TransformStatus::ZeroMirrorLine: a.fail("the two points of the mirror line coincide"); break;
    case TransformStatus::ZeroScale: a.fail("the factor is 0"); break;
    case TransformStatus::NoPlace: a.fail("the drawing has no ENTITIES section"); break;
    case TransformStatus::NoHandles: a.fail("the drawing has no free handles left"); break;
    case TransformStatus::TooLarge: a.fail("too many copies for the drawing"); break;
    case TransformStatus::Cancelled: a.fail("cancelled"); break;
    }
    return false;
}

// A command of n numbers.
template <class F>
Handler numbers(int n, const char* usage, F run)
{
    return [=](Editor& ed, Args& a) {
        if (!a.expect(n, usage))
            return false;
        double v[5] = {};
        for (int i = 0; i < n; ++i)
            v[i] = a.number(i);
        return !a.failed() && run(ed, a, v);
    };
}

bool array(Editor& ed, Args& a)
{
    const char* const usage = "array COLUMNS ROWS DX DY [ANGLE]";
    if (!a.expectBetween(4, 5, usage))
        return false;
    ArrayValues v;
    v.spalten = a.integer(0);
    v.zeilen = a.integer(1);
    v.spaltenAbstand = a.number(2);
    v.zeilenAbstand = a.number(3);
    v.rotieren = a.size() == 5 ? a.number(4) : 0;
    if (!a.failed() && (v.spalten < 1 || v.spalten > 10000 || v.zeilen < 1 || v.zeilen > 10000))
        a.fail("columns and rows must be 1 to 10000");
    if (a.failed())
        return false;
    ed.arrayValues = v;
    return done(a, ed.MakeArray());
}

bool grip(Editor& ed, Args& a)
{
    const char* const usage = "grip OBJECT VERTEX X Y";
    if (!a.expect(4, usage))
        return false;
    const int obj = a.integer(0), vertex = a.integer(1);
    const double x = a.number(2), y = a.number(3);
    if (a.failed())
        return false;
    if (obj < 0 || obj >= ed.model.anzpoly) {
        a.fail("no object " + std::to_string(obj) + " (the drawing has " +
               std::to_string(ed.model.anzpoly) + ")");
        return false;
    }
    const model::tpoly& p = ed.model.polys[size_t(obj)];
    if (vertex < 0 || vertex >= p.anzp) {
        a.fail("object " + std::to_string(obj) + " has no vertex " + std::to_string(vertex));
        return false;
    }
    const model::Tmypoi& v = p.ps[size_t(vertex)];
    return done(a, ed.MovePoint(obj, vertex, x - v.x, y - v.y, x, y));
}

}  // namespace

void addTransformCommands(CommandTable& t)
{
    t.add({"move", "move DX DY", numbers(2, "move DX DY", [](Editor& ed, Args& a, double* v) {
               return done(a, ed.MoveObjects(v[0], v[1]));
           })});
    t.add({"copy", "copy DX DY", numbers(2, "copy DX DY", [](Editor& ed, Args& a, double* v) {
               return done(a, ed.CopyObjects(v[0], v[1]));
           })});
    t.add({"rotate", "rotate CX CY DEGREES",
           numbers(3, "rotate CX CY DEGREES", [](Editor& ed, Args& a, double* v) {
               const double r = v[2] * std::numbers::pi / 180;  // counter-clockwise
               return done(a, ed.RotateObjects(v[0], v[1], v[0] + std::cos(r), v[1] + std::sin(r), 0));
           })});
    t.add({"mirror", "mirror X1 Y1 X2 Y2",
           numbers(4, "mirror X1 Y1 X2 Y2", [](Editor& ed, Args& a, double* v) {
               return done(a, ed.RotateObjects(v[0], v[1], v[2], v[3], 1));
           })});
    t.add({"scale", "scale CX CY FACTOR",
           numbers(3, "scale CX CY FACTOR", [](Editor& ed, Args& a, double* v) {
               if (!(v[2] > 0)) {
                   a.fail("the factor must be greater than 0");
                   return false;
               }
               return done(a, ed.RotateObjects(v[0], v[1], v[0] + v[2], v[1], 2));
           })});
    t.add({"array", "array COLUMNS ROWS DX DY [ANGLE]", array});
    t.add({"grip", "grip OBJECT VERTEX X Y", grip});
}

}  // namespace kerbon::script
