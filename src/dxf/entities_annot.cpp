// Annotation and compound entities: VIEWPORT, DIMENSION, WIPEOUT, TEXT, MTEXT and INSERT,
// each read into one display record (HATCH has a file of its own).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "dxf/entities.h"
#include "dxf/entity_shapes.h"
#include "dxf/placement.h"

namespace kerbon {

using model::Tmypoi;
using model::tpoly;
using namespace entity;

void readText(ParseContext& c, std::string_view type)
{
    tpoly& p = beginEntity(c);
    p.istext = true;
    p.ismtext = type == "MTEXT";
    p.needext210 = p.needext220 = p.needext230 = true;
    double dir[3] = {0, 0, 0};
    bool directionPending = false;
    bool embedded = false;  // past an MTEXT's embedded-object marker (code 101)
    Extrusion extrusion;
    while (nextEntityPair(c, p, embedded ? EntityKind::Inner : EntityKind::Text)) {
        if (embedded)
            continue;  // column data: its points and sizes are not the text's own
        switch (c.codeNum) {
        case 1:
        case 3:
            // Chunks are joined as they stand: a blank at a chunk's end is text.
            p.textstr.append(c.untrimmedValue());
            break;
        case 101: embedded = true; break;
        case 10:
            startVertex(c, p);
            p.cx = p.ps.edit().back().x;
            break;
        case 20:
            setVertexY(c, p);
            if (!p.ps.empty())
                p.cy = p.ps.edit().back().y;
            break;
        case 30:
            setVertexZ(c, p);
            if (!p.ps.empty())
                p.cz = p.ps.edit().back().z;
            break;
        case 40:
            readReal(c, p.radius);
            p.radiuslinenr = c.valueLine();
            break;
        case 50:
            readReal(c, p.rotation);
            directionPending = false;
            break;
        case 51: readReal(c, p.oblique); break;
        case 11:
        case 21:
        case 31:
            // An MTEXT's direction vector. In a TEXT these codes hold the alignment
            // point, which says nothing about the rotation.
            if (p.ismtext) {
                readReal(c, dir[c.codeNum / 10 - 1]);
                directionPending = true;
            }
            break;
        default: extrusion.read(c, p); break;
        }
    }
    const ExtrusionAxes axes = extrusion.axes();
    if (directionPending)
        p.rotation = std::atan2(dir[1], dir[0]) * 180 / kPi;  // the drawing's direction
    else
        p.rotation = worldAngle(axes, p.rotation);  // in the text's own axes
    // A TEXT's insertion point is in its own axes, an MTEXT's in the drawing's.
    if (!p.ismtext) {
        toWorld(p, axes);
        axes.toWorld(p.cx, p.cy, p.cz);
    }
    endEntity(c, p);
}

namespace {

struct P3 {
    double x = 0, y = 0, z = 0;
};

Tmypoi& add(tpoly& p, const P3& q) { return addVertex(p, q.x, q.y, q.z); }

// Fixed notation with four decimals and ".", whatever the process locale.
void fixed4(double v, std::string& out)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
    if (r.ec == std::errc())
        out.assign(buf, r.ptr);
}

// Three-point angular dimension: the arc about point 5 through the arc point (10), between
// the directions of points 3 and 4, on the side where the arc point lies. Returns the angle
// it measures (radians).
double angularDimension(tpoly& p)
{
    const P3 p3{p.cx3, p.cy3, p.cz3}, p4{p.cx4, p.cy4, p.cz4};
    const double a1 = std::atan2(p.cy3 - p.cy5, p.cx3 - p.cx5);
    const double a2 = std::atan2(p.cy4 - p.cy5, p.cx4 - p.cx5);
    const double a = std::atan2(p.cy - p.cy5, p.cx - p.cx5);
    double s, e;
    bool from3;
    if ((a1 <= a && a < a2) || (a2 <= a && a < a1)) {
        s = a1, e = a2, from3 = true;
    } else if (a2 < a1) {
        s = a2 + 2 * kPi, e = a1, from3 = false;
    } else {
        // The other side when point 4's direction lies beyond point 3's: from point 4
        // onwards through the full turn to point 3, never more than one turn.
        s = a2, e = a1 + 2 * kPi, from3 = false;
    }
    const double dx = p.cx - p.cx5, dy = p.cy - p.cy5;
    p.radius = std::sqrt(dx * dx + dy * dy);
    add(p, from3 ? p3 : p4);
    Tmypoi* out = appendVertices(p, kOutlinePoints);
    for (int k = 0; k < kOutlinePoints; ++k) {
        const double w = s + (e - s) * k / 100;
        out[k].x = p.cx5 + p.radius * std::cos(w);
        out[k].y = p.cy5 + p.radius * std::sin(w);
        out[k].z = p.cz;
    }
    add(p, from3 ? p4 : p3).doadddimtexthere = true;
    p.addtextmode = 3;
    return std::fabs(e - s);
}

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// Two-line angular dimension: the first line runs through points 3 and 4, the second
// through points 5 and 10; the arc about their intersection passes through point 6,
// between the two rays of the lines that enclose point 6. Each extension line comes from
// the line's definition point farthest out on its ray (the intersection when the line
// lies behind it). Parallel lines have no angle: drawn like the three-point kind. Returns
// the angle it measures (radians); NaN for lines without one.
double twoLineAngularDimension(tpoly& p)
{
    const double d1x = p.cx4 - p.cx3, d1y = p.cy4 - p.cy3;
    const double d2x = p.cx - p.cx5, d2y = p.cy - p.cy5;
    const double det = cross(d1x, d1y, d2x, d2y);
    const double s = cross(p.cx5 - p.cx3, p.cy5 - p.cy3, d2x, d2y) / det;
    const double vx = p.cx3 + s * d1x, vy = p.cy3 + s * d1y;
    const double qx = p.cx6 - vx, qy = p.cy6 - vy;
    if (det == 0 || !std::isfinite(vx) || !std::isfinite(vy) || !std::isfinite(qx) || !std::isfinite(qy)) {
        angularDimension(p);
        return std::numeric_limits<double>::quiet_NaN();
    }
    // Point 6 = V + alpha d1 + beta d2: the signs choose the rays.
    const double f1 = cross(qx, qy, d2x, d2y) / det < 0 ? -1 : 1;
    const double f2 = cross(d1x, d1y, qx, qy) / det < 0 ? -1 : 1;
    const double r1x = f1 * d1x, r1y = f1 * d1y, r2x = f2 * d2x, r2y = f2 * d2y;
    const double from = std::atan2(r1y, r1x);
    double sweep = std::atan2(r2y, r2x) - from;
    if (sweep > kPi)
        sweep -= 2 * kPi;
    else if (sweep <= -kPi)
        sweep += 2 * kPi;
    auto outermost = [&](double rx, double ry, P3 a, P3 b) {
        const double pa = (a.x - vx) * rx + (a.y - vy) * ry, pb = (b.x - vx) * rx + (b.y - vy) * ry;
        if (std::max(pa, pb) <= 0)
            return P3{vx, vy, p.cz};
        return pa >= pb ? a : b;
    };
    p.radius = std::sqrt(qx * qx + qy * qy);
    add(p, outermost(r1x, r1y, {p.cx3, p.cy3, p.cz3}, {p.cx4, p.cy4, p.cz4}));
    Tmypoi* out = appendVertices(p, kOutlinePoints);
    for (int k = 0; k < kOutlinePoints; ++k) {
        const double w = from + sweep * k / 100;
        out[k].x = vx + p.radius * std::cos(w);
        out[k].y = vy + p.radius * std::sin(w);
        out[k].z = p.cz;
    }
    add(p, outermost(r2x, r2y, {p.cx5, p.cy5, p.cz5}, {p.cx, p.cy, p.cz})).doadddimtexthere = true;
    p.addtextmode = 3;
    return std::fabs(sweep);
}

// Linear and aligned dimension: extension lines from points 3 and 4 to their feet on the
// dimension line through point 10, and the dimension line between the feet with an
// arrowhead at each end. The dimension line of an aligned dimension runs parallel to
// 3 -> 4; that of a linear one in the direction of its rotation (0 horizontal, 90
// vertical), whatever the direction between the measured points. Returns the length it
// measures (between the feet).
double linearDimension(tpoly& p, bool aligned)
{
    double dx = p.cx3 - p.cx4, dy = p.cy3 - p.cy4;
    if (!aligned)
        cosSinDegrees(p.rotation, dx, dy);  // a vertical dimension line keeps one x exactly
    const double dd = dx * dx + dy * dy;
    // Foot of (x, y) on the dimension line. When points 3 and 4 coincide there is no
    // direction; both feet are then point 10.
    auto foot = [&](double x, double y) {
        if (!(dd > 0) || !std::isfinite(dd))
            return P3{p.cx, p.cy, p.cz};
        const double f = ((x - p.cx) * dx + (y - p.cy) * dy) / dd;
        return P3{p.cx + f * dx, p.cy + f * dy, p.cz};
    };
    const P3 f3 = foot(p.cx3, p.cy3), f4 = foot(p.cx4, p.cy4);
    add(p, {p.cx3, p.cy3, p.cz3});
    add(p, f3);
    add(p, {p.cx4, p.cy4, p.cz4}).moveonly = true;
    add(p, f4);
    add(p, f3).moveonly = true;
    Tmypoi& last = add(p, f4);
    last.botharrows = 3;
    last.doadddimtexthere = true;
    return std::hypot(f4.x - f3.x, f4.y - f3.y);
}

// Ordinate dimension: a leader from the feature point (3) to the leader end (4) with a
// short jog, the text beside the end.
void ordinateDimension(tpoly& p)
{
    add(p, {p.cx3, p.cy3, p.cz3});
    if (std::fabs(p.cx4 - p.cx3) <= std::fabs(p.cy4 - p.cy3)) {
        const double s = p.cy4 <= p.cy3 ? 1 : -1;
        add(p, {p.cx3, p.cy4 + 0.8 * s, p.cz3});
        add(p, {p.cx4, p.cy4 + 0.4 * s, p.cz4}).doadddimtexthere = true;
        p.dimtextrotate = 90;
    } else {
        const double s = p.cx4 <= p.cx3 ? 1 : -1;
        add(p, {p.cx4 + 0.8 * s, p.cy3, p.cz3});
        add(p, {p.cx4 + 0.4 * s, p.cy4, p.cz4}).doadddimtexthere = true;
    }
    add(p, {p.cx4, p.cy4, p.cz4});
}

}  // namespace

void readDimension(ParseContext& c)
{
    tpoly& p = beginEntity(c);
    std::string_view style;
    bool measured = false;        // the file gives the measurement (code 42)
    std::optional<double> given;  // its value, where it converts
    while (nextEntityPair(c, p, EntityKind::Dimension)) {
        switch (c.codeNum) {
        case 70: readInt(c, p.dimtyp); break;
        case 3: style = c.value; break;
        case 50: readReal(c, p.rotation); break;
        case 1: p.textstr.assign(c.untrimmedValue()); break;  // " " hides the measurement
        case 42:
            measured = true;
            p.messuaretxt.assign(c.value);
            given = c.real();
            break;
        case 10: readReal(c, p.cx); break;
        case 20: readReal(c, p.cy); break;
        case 30: readReal(c, p.cz); break;
        case 11: readReal(c, p.cx1); break;
        case 21: readReal(c, p.cy1); break;
        case 31: readReal(c, p.cz1); break;
        case 13: readReal(c, p.cx3); break;
        case 23: readReal(c, p.cy3); break;
        case 33: readReal(c, p.cz3); break;
        case 14: readReal(c, p.cx4); break;
        case 24: readReal(c, p.cy4); break;
        case 34: readReal(c, p.cz4); break;
        case 15: readReal(c, p.cx5); break;
        case 25: readReal(c, p.cy5); break;
        case 35: readReal(c, p.cz5); break;
        case 16: readReal(c, p.cx6); break;
        case 26: readReal(c, p.cy6); break;
        case 36: readReal(c, p.cz6); break;
        default: break;
        }
    }
    p.dimtextheight = c.dimensionTextHeight(style);
    p.dimarrowsize = c.dimensionArrowSize(style);
    // What the dimension measures, shown where the file does not give it (code 42 is
    // optional, and several writers leave it out); none for an ordinate dimension.
    double measure = std::numeric_limits<double>::quiet_NaN();
    switch (p.dimtyp & 7) {
    case 0:
    case 1: measure = linearDimension(p, (p.dimtyp & 7) == 1); break;
    case 2: measure = twoLineAngularDimension(p); break;
    case 5: measure = angularDimension(p); break;
    case 3:
    case 4: {
        measure = std::hypot(p.cx5 - p.cx, p.cy5 - p.cy);
        const bool radius = (p.dimtyp & 7) == 4;
        p.arrowhead = p.arrowhead || radius;
        add(p, {p.cx5, p.cy5, p.cz5});
        Tmypoi& v = add(p, {p.cx, p.cy, p.cz});
        v.doadddimtexthere = true;
        if (!radius)
            v.botharrows = 3;
        p.addtextmode = radius ? 2 : 1;
        break;
    }
    case 6: ordinateDimension(p); break;
    default: break;
    }
    if (measured)
        measure = given.value_or(std::numeric_limits<double>::quiet_NaN());
    // The value with four decimals; an angle (radians, shown in degrees) with all its
    // digits, so that a right angle shows as 90.0000 degrees rather than 90.0002.
    if (std::isfinite(measure)) {
        if (p.addtextmode == 3)
            p.messuaretxt = floattodxf(measure);
        else
            fixed4(measure, p.messuaretxt);
    }
    endEntity(c, p);
}

void readWipeout(ParseContext& c)
{
    tpoly& p = beginEntity(c);
    p.iswipeout = true;
    double I[3] = {0, 0, 0}, U[3] = {0, 0, 0}, V[3] = {0, 0, 0};
    while (nextEntityPair(c, p, EntityKind::Wipeout)) {
        const int code = c.codeNum;
        if (code >= 10 && code <= 32 && code % 10 <= 2) {
            double* target = code % 10 == 0 ? I : code % 10 == 1 ? U : V;
            readReal(c, target[code / 10 - 1]);
        } else if (code == 14) {
            startVertex(c, p);
        } else if (code == 24) {
            setVertexY(c, p);
        }
    }
    // Clip-boundary vertices are in pixel units of the image: mapped through the
    // insertion point and the U and V vectors, with the image's y running downwards.
    for (Tmypoi& v : p.ps.edit()) {
        const double px = v.x, py = v.y;
        v.x = I[0] + (px + 0.5) * U[0] + (0.5 - py) * V[0];
        v.y = I[1] + (px + 0.5) * U[1] + (0.5 - py) * V[1];
    }
    endEntity(c, p);
}

void readInsert(ParseContext& c)
{
    tpoly& p = beginEntity(c);
    p.rotation = 0;
    p.scalex = p.scaley = p.scalez = 1;
    p.colcount = p.rowcount = 1;
    p.ext230 = 1;
    while (nextEntityPair(c, p, EntityKind::Insert)) {
        switch (c.codeNum) {
        case 2: p.insertstr.assign(c.value); break;
        case 41: readReal(c, p.scalex); break;
        case 42: readReal(c, p.scaley); break;
        case 43: readReal(c, p.scalez); break;
        case 50: readReal(c, p.rotation); break;
        case 70: readInt(c, p.colcount); break;
        case 71: readInt(c, p.rowcount); break;
        case 44: readReal(c, p.colspacing); break;
        case 45: readReal(c, p.rowspacing); break;
        case 210: readReal(c, p.ext210); break;
        case 220: readReal(c, p.ext220); break;
        case 230: readReal(c, p.ext230); break;
        case 10: {
            Tmypoi& v = addVertex(p, 0, 0, 0);
            readReal(c, v.x);
            break;
        }
        case 20:
            if (!p.ps.empty())
                readReal(c, p.ps.edit().back().y);
            break;
        case 30:
            if (!p.ps.empty())
                readReal(c, p.ps.edit().back().z);
            break;
        default: break;
        }
    }
    // The insertion point is given in the insert's own axes (a mirrored insert has the
    // extrusion (0, 0, -1)); the model holds it where the drawing shows it.
    if (!p.ps.empty()) {
        Tmypoi& v = p.ps.edit().front();
        extrusionAxes(p.ext210, p.ext220, p.ext230).toWorld(v.x, v.y, v.z);
    }
    endEntity(c, p);
}

void readViewport(ParseContext& c)
{
    tpoly& p = beginEntity(c);
    p.isviewport = true;
    int l10 = 0, l20 = 0, l40 = 0, l41 = 0, lHeight = 0, lPanX = 0, lPanY = 0;
    int count1040 = 0;
    while (nextEntityPair(c, p, EntityKind::Viewport)) {
        const int line = c.valueLine();
        switch (c.codeNum) {
        case 45: readReal(c, p.viewheight), lHeight = line; break;
        case 10: readReal(c, p.cx), l10 = line; break;
        case 20: readReal(c, p.cy), l20 = line; break;
        case 30: readReal(c, p.cz); break;
        case 40: readReal(c, p.widx), l40 = line; break;
        case 41: readReal(c, p.widy), l41 = line; break;
        case 69:
            if (readInt(c, p.viewid) && p.viewid > c.m.maxviewportid)
                c.m.maxviewportid = p.viewid;
            break;
        case 12: readReal(c, p.panx), lPanX = line; break;
        case 22: readReal(c, p.pany), lPanY = line; break;
        case 1040:
            // Extended data: the second value is the view height, the third and fourth
            // the view centre.
            ++count1040;
            if (count1040 == 2)
                readReal(c, p.viewheight), lHeight = line;
            else if (count1040 == 3)
                readReal(c, p.panx), lPanX = line;
            else if (count1040 == 4)
                readReal(c, p.pany), lPanY = line;
            break;
        default: break;
        }
    }
    if (p.viewid != 1) {  // the paper-space view itself has no frame
        const double w = p.widx, h = p.widy, z = p.cz;
        addVertex(p, p.cx - w / 2, p.cy - h / 2, z).linex = l10;
        addVertex(p, p.cx + w / 2, p.cy - h / 2, z).linex = l20;
        addVertex(p, p.cx + w / 2, p.cy + h / 2, z).linex = l40;
        addVertex(p, p.cx - w / 2, p.cy + h / 2, z).linex = l41;
        addVertex(p, p.cx - w / 2, p.cy - h / 2, z);
        Tmypoi& pan = addVertex(p, p.cx, p.cy, z);
        pan.donotdraw = true;
        pan.linex = lPanX;
        pan.liney = lPanY;
        for (double dy : {h / 4, -h / 4}) {
            Tmypoi& g = addVertex(p, p.cx, p.cy + dy, z);
            g.donotdraw = true;
            g.linex = lHeight;
        }
    }
    endEntity(c, p);
}

}  // namespace kerbon
