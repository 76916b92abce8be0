// Walking an object's text pair by pair and changing each value by its role in its entity.
#include "edit/transforms.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "dxf/parse_context.h"
#include "edit/ObjectLines.h"

namespace kerbon {

namespace {

// ---- What a value is ----

enum class Type {
    Other, Line, Xline, LwPolyline, Leader, Polyline, Vertex, Spline, Arc, Circle, Ellipse,
    Solid, Point, Text, MText, Insert, Dimension, Hatch, Viewport, Wipeout,
};

Type typeOf(std::string_view name)
{
    static const std::unordered_map<std::string_view, Type> types = {
        {"LINE", Type::Line},       {"XLINE", Type::Xline},       {"RAY", Type::Xline},
        {"LWPOLYLINE", Type::LwPolyline}, {"LEADER", Type::Leader}, {"POLYLINE", Type::Polyline},
        {"VERTEX", Type::Vertex},   {"SPLINE", Type::Spline},     {"ARC", Type::Arc},
        {"CIRCLE", Type::Circle},   {"ELLIPSE", Type::Ellipse},   {"SOLID", Type::Solid},
        {"POINT", Type::Point},     {"TEXT", Type::Text},         {"ATTRIB", Type::Text},
        {"MTEXT", Type::MText},     {"INSERT", Type::Insert},     {"DIMENSION", Type::Dimension},
        {"HATCH", Type::Hatch},     {"VIEWPORT", Type::Viewport}, {"WIPEOUT", Type::Wipeout},
    };
    const auto it = types.find(name);
    return it == types.end() ? Type::Other : it->second;
}

enum class R {
    None,
    X, Y,          // a point's coordinates
    VX, VY,        // a vector's components (an ellipse's axis): turned and scaled
    DX, DY,        // a direction's components: turned, not scaled
    Length,        // scaled
    Angle,         // a direction in degrees
    ArcStart, ArcEnd,  // an ARC's angles: a mirror also swaps their codes
    EdgeStart, EdgeEnd,  // angles of a hatch boundary's arc or ellipse edge
    Bulge,         // negated by a mirror
    Ext230,        // z of the extrusion of an entity given in world coordinates: flipped by a mirror
    ScaleX, ScaleY, ScaleZ,  // an insert's scale factors
    InsertAngle,   // an insert's rotation
    ColSpacing, RowSpacing,  // an insert's column and row spacing
};

struct Role {
    R r = R::None;
    int slot = 0;  // pairs: the code of the x value
};

// The hatch boundary and pattern data read so far, which decide what a code means.
struct HatchState {
    bool paths = false;         // inside the boundary paths (code 91 up to code 75)
    bool polylinePath = false;  // the current path is a polyline (flag 2 of code 92)
    int edge = 0;               // the current edge's type (code 72): 1 line, 2 arc, 3 ellipse, 4 spline
    bool pattern = false;       // inside the pattern line definitions (from code 78)
    bool seeds = false;         // the seed points (from code 98)
};

Role point(int code)
{
    if (code >= 10 && code <= 18)
        return {R::X, code};
    if (code >= 20 && code <= 28)
        return {R::Y, code - 10};
    return {};
}

Role pair(int code, int xcode, R x, R y)
{
    if (code == xcode)
        return {x, xcode};
    if (code == xcode + 10)
        return {y, xcode};
    return {};
}

Role hatchRole(int code, std::string_view value, HatchState& h)
{
    const int v = dxfToInt(value).value_or(0);
    switch (code) {
    case 91: h.paths = true; return {};
    case 92:
        h.polylinePath = (v & 2) != 0;
        h.edge = 0;
        return {};
    case 72:
        if (h.paths && !h.polylinePath)
            h.edge = v;
        return {};
    case 75: h.paths = false; return {};
    case 78: h.pattern = true; return {};
    case 98:
        h.seeds = true;
        h.pattern = false;
        return {};
    default: break;
    }
    if (h.seeds)
        return code == 10 || code == 20 ? point(code) : Role{};
    if (h.paths) {
        if (h.polylinePath)
            return code == 42 ? Role{R::Bulge} : code == 10 || code == 20 ? point(code) : Role{};
        switch (h.edge) {
        case 1: return code == 10 || code == 20 || code == 11 || code == 21 ? point(code) : Role{};
        case 2:
            if (code == 40)
                return {R::Length};
            [[fallthrough]];
        case 3:
            if (code == 50)
                return {R::EdgeStart};
            if (code == 51)
                return {R::EdgeEnd};
            if (h.edge == 3 && (code == 11 || code == 21))
                return pair(code, 11, R::VX, R::VY);
            return code == 10 || code == 20 ? point(code) : Role{};
        case 4:
            if (code == 12 || code == 22 || code == 13 || code == 23)
                return pair(code, code % 10 == 2 ? 12 : 13, R::DX, R::DY);
            return code == 10 || code == 20 || code == 11 || code == 21 ? point(code) : Role{};
        default: return {};
        }
    }
    if (h.pattern) {
        switch (code) {
        case 53: return {R::Angle};
        case 43: return {R::X, 43};
        case 44: return {R::Y, 43};
        case 45: return {R::VX, 45};
        case 46: return {R::VY, 45};
        case 49: return {R::Length};
        default: return {};
        }
    }
    if (code == 52)
        return {R::Angle};
    if (code == 41)
        return {R::Length};
    return {};  // the elevation point before the boundary, the extrusion
}

Role roleOf(Type t, int code, std::string_view value, HatchState& h)
{
    switch (t) {
    case Type::Line: return code == 10 || code == 20 || code == 11 || code == 21 ? point(code) : Role{};
    case Type::Xline:
        if (code == 11 || code == 21)
            return pair(code, 11, R::DX, R::DY);
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::LwPolyline:
        if (code == 42)
            return {R::Bulge};
        if (code == 40 || code == 41 || code == 43)
            return {R::Length};
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::Leader:
        if (code == 211 || code == 221)
            return pair(code, 211, R::DX, R::DY);
        if (code == 212 || code == 222 || code == 213 || code == 223)
            return pair(code, code % 10 == 2 ? 212 : 213, R::VX, R::VY);
        if (code == 40 || code == 41)
            return {R::Length};
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::Polyline:  // its 10/20 is an elevation point, always 0 0
        return code == 40 || code == 41 ? Role{R::Length} : Role{};
    case Type::Vertex:
        if (code == 40 || code == 41)
            return {R::Length};
        if (code == 42)
            return {R::Bulge};
        if (code == 50)
            return {R::Angle};
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::Spline:
        if (code == 12 || code == 22 || code == 13 || code == 23)
            return pair(code, code % 10 == 2 ? 12 : 13, R::DX, R::DY);
        return code == 10 || code == 20 || code == 11 || code == 21 ? point(code) : Role{};
    case Type::Arc:
        if (code == 50)
            return {R::ArcStart};
        if (code == 51)
            return {R::ArcEnd};
        [[fallthrough]];
    case Type::Circle:
        if (code == 40)
            return {R::Length};
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::Ellipse:
        if (code == 11 || code == 21)
            return pair(code, 11, R::VX, R::VY);
        if (code == 230)
            return {R::Ext230};
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::Solid: return (code >= 10 && code <= 13) || (code >= 20 && code <= 23) ? point(code) : Role{};
    case Type::Point:
        if (code == 50)
            return {R::Angle};
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::Text:
        if (code == 40)
            return {R::Length};
        if (code == 50)
            return {R::Angle};
        return code == 10 || code == 20 || code == 11 || code == 21 ? point(code) : Role{};
    case Type::MText:
        if (code == 11 || code == 21)
            return pair(code, 11, R::DX, R::DY);
        if (code == 40 || code == 41 || code == 42 || code == 43 || code == 46)
            return {R::Length};
        if (code == 50)
            return {R::Angle};
        if (code == 230)
            return {R::Ext230};
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::Insert:
        switch (code) {
        case 41: return {R::ScaleX};
        case 42: return {R::ScaleY};
        case 43: return {R::ScaleZ};
        case 44: return {R::ColSpacing};
        case 45: return {R::RowSpacing};
        case 50: return {R::InsertAngle};
        default: return code == 10 || code == 20 ? point(code) : Role{};
        }
    case Type::Dimension:
        if (code == 50 || code == 53)
            return {R::Angle};
        if (code == 40)
            return {R::Length};
        return (code >= 10 && code <= 16) || (code >= 20 && code <= 26) ? point(code) : Role{};
    case Type::Viewport:
        if (code == 40 || code == 41)
            return {R::Length};
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::Wipeout:
        if (code == 11 || code == 21 || code == 12 || code == 22)
            return pair(code, code % 10 == 1 ? 11 : 12, R::VX, R::VY);
        return code == 10 || code == 20 ? point(code) : Role{};
    case Type::Hatch: return hatchRole(code, value, h);
    case Type::Other: return {};
    }
    return {};
}

// ---- The walk ----

struct Pair {
    int line;   // the code line; the value is on the next line
    int code;
    std::string_view value;
};

// Degrees held in [0, 360).
double normalDegrees(double a)
{
    a = std::fmod(a, 360);
    return a < 0 ? a + 360 : a;
}

// Where the walk's changes go: the changed lines, and pairs inserted before a line,
// either with the changes or (`later`) as the following step.
class Output {
public:
    virtual ~Output() = default;
    virtual void replace(int line, std::string text) = 0;
    virtual void insert(int line, std::vector<std::string> pairs, bool later) = 0;
};

// Whether an entity lies in the plane of its extrusion (its points and angles are in its
// own axes rather than the drawing's).
bool planar(Type t)
{
    switch (t) {
    case Type::Arc: case Type::Circle: case Type::LwPolyline: case Type::Polyline:
    case Type::Vertex: case Type::Solid: case Type::Text: case Type::Hatch: case Type::Insert:
        return true;
    default: return false;
    }
}

// Whether the extrusion of these pairs points down the z axis: the entity's own x axis
// then runs against the drawing's (x := -x), its y axis with it.
bool extrusionDown(const std::vector<Pair>& pairs)
{
    double n[3] = {0, 0, 1};
    for (const Pair& p : pairs)
        if (p.code == 210 || p.code == 220 || p.code == 230)
            if (const auto v = dxfToDouble(p.value))
                n[p.code / 10 - 21] = *v;
    const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    return l > 0 && std::isfinite(l) && n[2] < 0 && std::fabs(n[0]) < l / 64 &&
           std::fabs(n[1]) < l / 64;
}

// Transforms the pairs of one entity (its "0" pair up to the next entity). `t` acts in the
// drawing's coordinates; an entity in its own axes gets it in those.
class EntityWalk {
public:
    EntityWalk(const Transform& t, Output& out, bool& finite) : t(t), out(out), finite(finite) {}

    // Walks the entities of lines [from, to) (pairs), each on its own.
    void lines(const LineStore& dxf, int from, int to);
    void run(std::string_view name, const std::vector<Pair>& pairs, int endLine);

private:
    const Transform& t;  // in the drawing's coordinates
    Output& out;
    bool& finite;
    Transform pt;        // for the entity's points, vectors and lengths
    Transform at;        // for its angles
    bool below = false;  // the entity's x axis runs against the drawing's
    bool polylineBelow = false;  // that of the POLYLINE whose vertices follow

    struct Pending {
        int slot;
        R r;
        int line;
        double value;
    };
    std::vector<Pending> pending;
    std::vector<bool> done;
    std::vector<Pair> entityPairs;  // of the entity being walked

    void write(int valueLine, double old, double now);
    void completePair(const Role& role, int valueLine, double y);
    void edgeAngles(const std::vector<Pair>& pairs, size_t at, bool ellipse);
    void addPairs(Type type, const std::vector<Pair>& pairs, int endLine);
};

void EntityWalk::write(int valueLine, double old, double now)
{
    if (!std::isfinite(now)) {
        finite = false;
        return;
    }
    if (now != old)
        out.replace(valueLine, floattodxf(now));
}

void EntityWalk::completePair(const Role& role, int valueLine, double y)
{
    const R xr = role.r == R::Y ? R::X : role.r == R::VY ? R::VX : R::DX;
    const auto it = std::find_if(pending.begin(), pending.end(), [&](const Pending& p) {
        return p.slot == role.slot && p.r == xr;
    });
    if (it == pending.end())
        return;  // no x value before it: nothing to turn
    const Pending x = *it;
    pending.erase(it);
    double nx = x.value, ny = y;
    switch (role.r) {
    case R::Y: pt.point(nx, ny); break;
    case R::VY: pt.vector(nx, ny); break;
    default: pt.direction(nx, ny); break;
    }
    write(x.line, x.value, nx);
    write(valueLine, y, ny);
}

// The start and end angle of a hatch boundary's arc or ellipse edge (the 50 at `at`; its
// 51 and its direction flag 73 follow before the next edge). A clockwise edge keeps its
// angles as 360 - angle, so a turn counts against it.
void EntityWalk::edgeAngles(const std::vector<Pair>& pairs, size_t at, bool ellipse)
{
    size_t end = pairs.size();
    bool ccw = true;
    for (size_t j = at + 1; j < pairs.size(); ++j) {
        const int c = pairs[j].code;
        if (c == 72 || c == 92 || c == 97 || c == 75)
            break;
        if (c == 51 && end == pairs.size())
            end = j;
        if (c == 73)
            ccw = pairs[j].value != "0";
    }
    done[at] = true;
    if (end == pairs.size())
        return;
    done[end] = true;
    const auto s = dxfToDouble(pairs[at].value), e = dxfToDouble(pairs[end].value);
    if (!s || !e)
        return;
    const double turn = ccw ? pt.turn : -pt.turn;
    double ns = *s, ne = *e;
    if (pt.reflect) {
        // The edge runs the other way: from the mirrored end to the mirrored start. An
        // ellipse edge's angles count from its axis, which is mirrored itself.
        ns = (ellipse ? 0 : turn) - *e;
        ne = (ellipse ? 0 : turn) - *s;
    } else if (!ellipse) {
        ns += turn;
        ne += turn;
    }
    write(pairs[at].line + 1, *s, ns);
    write(pairs[end].line + 1, *e, ne);
}

// An insert's rotation: turned, or reflected with its x scale negated.
double insertAngle(const Transform& t, double deg)
{
    return t.reflect ? normalDegrees(180 + t.turn - deg) : deg + t.turn;
}

// Pairs a transform needs that the entity leaves out: its rotation (0 when missing), an
// insert's scale factors (1), a mirrored MTEXT's direction, and the extrusion of a
// mirrored ELLIPSE or MTEXT (0 0 1 when missing).
void EntityWalk::addPairs(Type type, const std::vector<Pair>& pairs, int endLine)
{
    auto has = [&](int code) {
        return std::any_of(pairs.begin(), pairs.end(), [code](const Pair& p) { return p.code == code; });
    };
    // After the first point group (10, 20, 30), where these codes belong; or at the end
    // of the entity's own pairs, before its extended data or embedded object.
    int ownEnd = endLine;
    for (const Pair& p : pairs)
        if (p.code == 1001 || (type == Type::MText && p.code == 101)) {
            ownEnd = p.line;
            break;
        }
    int anchor = ownEnd;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i].code != 10)
            continue;
        size_t k = i;
        if (k + 1 < pairs.size() && pairs[k + 1].code == 20)
            ++k;
        if (k + 1 < pairs.size() && pairs[k + 1].code == 30)
            ++k;
        anchor = std::min(ownEnd, pairs[k].line + 2);
        break;
    }
    std::vector<std::string> add;
    auto pairOf = [&](const char* code, double v) {
        if (!std::isfinite(v))
            finite = false;
        add.emplace_back(code);
        add.push_back(floattodxf(v));
    };
    const bool turns = t.kind == Transform::Kind::Rotate || t.kind == Transform::Kind::Mirror;
    switch (type) {
    case Type::Text:
        if (turns && !has(50))
            pairOf(" 50", at.angle(0));
        break;
    case Type::MText:
        if (t.reflect && !has(11)) {
            // The direction in the drawing's axes: every reader takes it before the
            // angle, whose axes the flipped extrusion turns round.
            double a = 0;
            for (const Pair& p : pairs)
                if (p.code == 50)
                    a = dxfToDouble(p.value).value_or(0) * std::numbers::pi / 180;
            // An MTEXT's angle counts in the axes of its own extrusion.
            const bool down = extrusionDown(pairs);
            double dx = down ? -std::cos(a) : std::cos(a), dy = std::sin(a);
            t.direction(dx, dy);
            pairOf(" 11", dx);
            pairOf(" 21", dy);
            pairOf(" 31", 0);
        } else if (turns && !has(11) && !has(50)) {
            pairOf(" 50", at.angle(0));
        }
        break;
    case Type::Insert:
        if (t.reflect && !has(41))
            pairOf(" 41", -1);
        if (t.kind == Transform::Kind::Scale) {
            if (!has(41))
                pairOf(" 41", t.s);
            if (!has(42))
                pairOf(" 42", t.s);
        }
        if (turns && !has(50))
            pairOf(" 50", insertAngle(at, 0));
        break;
    default: break;
    }
    if (!add.empty())
        out.insert(anchor, std::move(add), false);

    if (t.reflect && (type == Type::Ellipse || type == Type::MText)) {
        std::vector<std::string> ext;
        if (!has(210))
            ext.insert(ext.end(), {"210", "0"});
        if (!has(220))
            ext.insert(ext.end(), {"220", "0"});
        if (!has(230))
            ext.insert(ext.end(), {"230", "-1"});
        if (!ext.empty())
            out.insert(ownEnd, std::move(ext), true);
    }
}

void EntityWalk::run(std::string_view name, const std::vector<Pair>& pairs, int endLine)
{
    const Type type = typeOf(name);
    if (type == Type::Polyline) {
        // A 3D polyline or a mesh (flags 8, 16, 64) has the drawing's coordinates.
        int flags = 0;
        for (const Pair& p : pairs)
            if (p.code == 70)
                flags = dxfToInt(p.value).value_or(0);
        polylineBelow = (flags & (8 | 16 | 64)) == 0 && extrusionDown(pairs);
    }
    if (type == Type::Other)
        return;
    below = type == Type::Vertex ? polylineBelow : planar(type) && extrusionDown(pairs);
    pt = t.flipped(below, below);
    // An MTEXT's angle is in its own axes, whose x axis a mirror reverses with the
    // extrusion; its points are the drawing's.
    const bool mtextBelow = type == Type::MText && extrusionDown(pairs);
    at = type == Type::MText ? t.flipped(mtextBelow, mtextBelow != t.reflect) : pt;
    pending.clear();
    done.assign(pairs.size(), false);
    HatchState hatch;
    const bool move = t.kind == Transform::Kind::Move;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const Pair& p = pairs[i];
        if (p.code == 1001 || (type == Type::MText && p.code == 101))
            break;  // extended data, an MTEXT's embedded columns: not the entity's geometry
        const Role role = roleOf(type, p.code, p.value, hatch);
        if (role.r == R::None || done[i])
            continue;
        const std::optional<double> v = dxfToDouble(p.value);
        if (!v)
            continue;  // a value that does not convert stays as it is
        const int valueLine = p.line + 1;
        if (move) {  // a move shifts every coordinate on its own
            if (role.r == R::X)
                write(valueLine, *v, *v + pt.ox);
            else if (role.r == R::Y)
                write(valueLine, *v, *v + pt.oy);
            continue;
        }
        switch (role.r) {
        case R::X:
        case R::VX:
        case R::DX:
            std::erase_if(pending, [&](const Pending& q) { return q.slot == role.slot && q.r == role.r; });
            pending.push_back({role.slot, role.r, valueLine, *v});
            break;
        case R::Y:
        case R::VY:
        case R::DY: completePair(role, valueLine, *v); break;
        case R::EdgeStart: edgeAngles(pairs, i, hatch.edge == 3); break;
        case R::ArcStart:
        case R::ArcEnd:
            if (pt.reflect)  // start and end change places
                out.replace(p.line, role.r == R::ArcStart ? " 51" : " 50");
            write(valueLine, *v, pt.angle(*v));
            break;
        case R::Angle: write(valueLine, *v, at.angle(*v)); break;
        case R::InsertAngle: write(valueLine, *v, insertAngle(pt, *v)); break;
        case R::Length:
        case R::ScaleY:
        case R::ScaleZ:
        case R::RowSpacing: write(valueLine, *v, pt.length(*v)); break;
        case R::ScaleX:
        case R::ColSpacing: write(valueLine, *v, pt.reflect ? -*v : pt.length(*v)); break;
        case R::Bulge:
            if (pt.reflect)
                write(valueLine, *v, -*v);
            break;
        case R::Ext230:
            if (t.reflect)
                write(valueLine, *v, -*v);
            break;
        case R::EdgeEnd:  // without its start angle: left as it is
        case R::None: break;
        }
    }
    if (!move)
        addPairs(type, pairs, endLine);
}

void EntityWalk::lines(const LineStore& dxf, int from, int to)
{
    std::string_view name;
    entityPairs.clear();
    for (int i = from; i < to; i += 2) {
        const int code = groupCodeNumber(trimDxf(dxf[i]));
        const std::string_view value = i + 1 < to ? trimDxf(dxf[i + 1]) : std::string_view();
        if (code == 0) {
            if (!entityPairs.empty() || !name.empty())
                run(name, entityPairs, i);
            entityPairs.clear();
            name = value;
            continue;
        }
        entityPairs.push_back({i, code, value});
    }
    run(name, entityPairs, to);
}

class EditOutput : public Output {
public:
    explicit EditOutput(TransformEdits& r) : r(r) {}
    void replace(int line, std::string text) override { r.edits.replace(line, std::move(text)); }
    void insert(int line, std::vector<std::string> pairs, bool later) override
    {
        (later ? r.added : r.edits).insert(line, std::move(pairs));
    }

private:
    TransformEdits& r;
};

// Collects replaced lines of a span for a copy.
class CopyOutput : public Output {
public:
    std::unordered_map<int, std::string> replaced;
    void replace(int line, std::string text) override { replaced[line] = std::move(text); }
    void insert(int, std::vector<std::string>, bool) override {}  // a move adds nothing
};

}  // namespace

bool seenFromBelow(const LineStore& dxf, const model::tpoly& p)
{
    if (p.linefrom < 0 || p.linefrom + 1 >= dxf.count())
        return false;
    std::vector<Pair> pairs;
    const int to = std::min(p.linebis + 1, dxf.count());
    for (int i = p.linefrom + 2; i + 1 < to; i += 2) {
        const int code = groupCodeNumber(trimDxf(dxf[i]));
        if (code == 0)
            break;
        pairs.push_back({i, code, trimDxf(dxf[i + 1])});
    }
    const Type type = typeOf(trimDxf(dxf[p.linefrom + 1]));
    if (type == Type::Polyline)
        for (const Pair& q : pairs)
            if (q.code == 70 && (dxfToInt(q.value).value_or(0) & (8 | 16 | 64)) != 0)
                return false;  // a 3D polyline or a mesh: the drawing's coordinates
    return planar(type) && extrusionDown(pairs);
}

std::vector<int> operandObjects(const model::DisplayModel& m, const LayoutFilter& f,
                                bool blockTestOnly)
{
    std::vector<int> out;
    const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
    for (int i = 0; i < n; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        if (p.selected && (blockTestOnly ? f.blockTest(p) : f.passes(p)))
            out.push_back(i);
    }
    return out;
}

TransformEdits transformObjects(const LineStore& dxf, const model::DisplayModel& m,
                                const std::vector<int>& objects, const Transform& t)
{
    TransformEdits r;
    EditOutput out(r);
    EntityWalk walk(t, out, r.finite);
    for (int i : objects) {
        const LineSpan s = objectLines(dxf, m.polys[size_t(i)]);
        walk.lines(dxf, s.from, std::min(s.from + s.count, dxf.count()));
    }
    return r;
}

CopiedText copyObjects(const LineStore& dxf, const model::DisplayModel& m,
                       const std::vector<int>& objects, double dx, double dy,
                       int32_t lasthandle)
{
    CopiedText c;
    int64_t last = lasthandle;
    const Transform t = Transform::move(dx, dy);
    CopyOutput out;
    EntityWalk walk(t, out, c.finite);
    for (int i : objects) {
        const LineSpan s = objectLines(dxf, m.polys[size_t(i)]);
        const int from = s.from, to = std::min(s.from + s.count, dxf.count());
        out.replaced.clear();
        walk.lines(dxf, from, to);

        // New handles for the entities of this copy, in their order.
        std::unordered_map<int32_t, int32_t> renamed;
        for (int k = from; k + 1 < to; k += 2) {
            if (groupCodeNumber(trimDxf(dxf[k])) != 5)
                continue;
            const auto h = dxfHexToInt(trimDxf(dxf[k + 1]));
            if (!h)
                continue;
            if (last >= std::numeric_limits<int32_t>::max() - 1) {
                c.handlesLeft = false;
                return c;
            }
            renamed[*h] = int32_t(++last);
        }
        std::string_view skipping;  // inside a reactor or extension dictionary group
        for (int k = from; k < to; k += 2) {
            const std::string_view code = trimDxf(dxf[k]);
            const int n = groupCodeNumber(code);
            if (k + 1 >= to) {  // a code line without its value: taken as it stands
                c.lines.emplace_back(code);
                break;
            }
            const std::string_view value = trimDxf(dxf[k + 1]);
            if (n == 102) {
                if (!skipping.empty()) {
                    if (value == "}")
                        skipping = {};
                    continue;
                }
                if (value == "{ACAD_REACTORS" || value == "{ACAD_XDICTIONARY") {
                    skipping = value;
                    continue;
                }
            } else if (!skipping.empty()) {
                continue;
            }
            c.lines.emplace_back(code);
            std::string text(dxf[k + 1]);
            if (const auto it = out.replaced.find(k + 1); it != out.replaced.end())
                text = it->second;
            if (n == 5 || n == 330) {
                const auto h = dxfHexToInt(value);
                const auto it = h ? renamed.find(*h) : renamed.end();
                if (it != renamed.end())
                    text = handleText(it->second);
            }
            c.lines.push_back(std::move(text));
        }
    }
    c.lasthandle = int32_t(last);
    return c;
}

}  // namespace kerbon
