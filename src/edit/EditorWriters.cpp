// The entity writers as editor operations: each takes the document's write context, builds
// the text with the pure writer and applies it as one undo step.
#include <cmath>
#include <cstdio>
#include <utility>

#include "edit/Editor.h"
#include "edit/writers.h"

namespace kerbon {

WriteStatus Editor::AddLine(double x1, double y1, double z1, double x2, double y2, double z2)
{
    return insertWritten(writeLine(writeContext(), arcmode, {x1, y1, z1}, {x2, y2, z2}));
}

WriteStatus Editor::AddSolid(double x1, double y1, double z1, double x2, double y2, double z2,
                             double x3, double y3, double z3, double x4, double y4, double z4)
{
    return insertWritten(
        writeSolid(writeContext(), {x1, y1, z1}, {x2, y2, z2}, {x3, y3, z3}, {x4, y4, z4}));
}

WriteStatus Editor::AddPoint(double x1, double y1, double z1)
{
    return insertWritten(writePoint(writeContext(), {x1, y1, z1}));
}

WriteStatus Editor::AddText(double x1, double y1, double z1, double fontsize)
{
    return insertWritten(writeText(writeContext(), {x1, y1, z1}, fontsize, textValues));
}

WriteStatus Editor::AddPolyLine(bool closed)
{
    return insertWritten(writePolyline(writeContext(), polyline0, closed));
}

WriteStatus Editor::AddRectangle(double x1, double y1, double x2, double y2)
{
    polyline0.assign(4, model::Tmypoi{});
    polyline0[0].x = x1, polyline0[0].y = y1;
    polyline0[1].x = x2, polyline0[1].y = y1;
    polyline0[2].x = x2, polyline0[2].y = y2;
    polyline0[3].x = x1, polyline0[3].y = y2;
    return AddPolyLine(true);
}

WriteStatus Editor::AddCircle(double x1, double y1, double z1, double x2, double y2, double z2)
{
    return insertWritten(writeCircle(writeContext(), arcmode, {x1, y1, z1}, {x2, y2, z2}));
}

WriteStatus Editor::AddCircleDurch3Punkte(double x1, double y1, double z1, double x2,
                                          double y2, double z2, double x3, double y3,
                                          double z3)
{
    return insertWritten(
        writeCircle3(writeContext(), {x1, y1, z1}, {x2, y2, z2}, {x3, y3, z3}));
}

WriteStatus Editor::AddArc(double x1, double y1, double z1, double x2, double y2, double z2,
                           double x3, double y3, double z3)
{
    return insertWritten(
        writeArc(writeContext(), arcmode, {x1, y1, z1}, {x2, y2, z2}, {x3, y3, z3}));
}

WriteStatus Editor::AddEllipse(double x1, double y1, double z1, double x2, double y2,
                               double z2, double x3, double y3, double z3)
{
    return insertWritten(writeEllipse(writeContext(), arcmode, {x1, y1, z1}, {x2, y2, z2},
                                      {x3, y3, z3}, ellipsewinkel1, ellipsewinkel2));
}

WriteStatus Editor::AddPolyGon(double x1, double y1, double z1, double x2, double y2, double z2)
{
    polyline0 = polygonVertices({x1, y1, z1}, {x2, y2, z2}, polygonValues.ecken);
    return AddPolyLine(true);
}

WriteStatus Editor::AddArrowToLine(double linesx, double linesy, double xx, double yy)
{
    const auto c = arrowCorners(linesx, linesy, xx, yy);
    if (!c)
        return WriteStatus::ZeroLength;
    return AddSolid((*c)[0].x, (*c)[0].y, 0, (*c)[1].x, (*c)[1].y, 0, (*c)[2].x, (*c)[2].y, 0,
                    (*c)[3].x, (*c)[3].y, 0);
}

WriteStatus Editor::AddDimension(double x1, double y1, double z1, double x2, double y2,
                                 double z2, double, double, double, double x4, double y4,
                                 double z4)
{
    // The three lines are LINEs whatever tool variant was active before.
    const P3 f1{linesx4, linesy4, z1}, f2{linesx5, linesy5, z1};
    for (const auto& [a, b] : {std::pair{P3{x1, y1, z1}, f1}, {P3{x2, y2, z2}, f2}, {f1, f2}})
        if (const WriteStatus s = insertWritten(writeLine(writeContext(), 0, a, b));
            s != WriteStatus::Ok)
            return s;
    AddArrowToLine(linesx4, linesy4, linesx5, linesy5);  // nothing for a zero-length line
    AddArrowToLine(linesx5, linesy5, linesx4, linesy4);

    char measured[64];
    const double d = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1) + (z2 - z1) * (z2 - z1));
    std::snprintf(measured, sizeof measured, "%.2f", d);
    textValues.text = measured;
    ui.textDialog(textValues, true);  // the text is written however the dialog closes

    // Centred on p4: the extent at 50 pixels stands for the default height 0.5; other
    // heights scale it.
    const double h = textValues.fontsizeDimension;
    const auto [w, ht] = approxTextExtent(memoLines(textValues.text), 50);
    const double scale = h / 50;
    return AddText(x4 - w * scale / 2, y4 + ht * scale / 2, z4, h);
}

WriteStatus Editor::AddSPLINE(bool closed)
{
    return insertWritten(writeSpline(writeContext(), splineTargets(polyline0, splinemode),
                                     closed, programRandom()));
}

}  // namespace kerbon
