// Drawing the display model on a DrawSurface: one space (model space, a layout's paper
// space, or the members of one block) per call, with block inserts and the model view
// of paper-space viewports drawn by nested calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dxf/model.h"
#include "dxf/placement.h"
#include "view/DrawSurface.h"

namespace kerbon::view {

// The arguments of one Drawpolys call.
struct DrawArgs {
    double scrollx = 0, scrolly = 0;   // offset in pixels (scroll positions / 100)
    int paintbox1height = 0;           // output height H; drawing y is flipped about row H - 1
    bool showweight = true;            // show line weights
    int dpi1 = 96;                     // horizontal resolution of the output, for line weights
    std::string_view blocktodraw;      // empty: entities outside blocks; else that block's members
    double zoomit = 100;               // pixels per 100 drawing units
    double baseblx = 0, basebly = 0, baseblz = 0;  // base offset in drawing units
    // Linear part of the placement of a block's members (an insert's scale, rotation and
    // mirror): a member point p shows at lin * (p - its block's base) + base offset, with
    // lin = (a, b, c, d) as in Placement. The identity outside inserts.
    double lina = 1, linb = 0, linc = 0, lind = 1;
    int thelayhan = -999;              // layout handle of the space, -999 for none
    bool showmodel = true;             // -999: model space (true) or paper space (false);
                                       // with a handle: also entities with layhan 0
    bool showmodelforcolor = true;     // light background (colours, arrowheads, grips)
    bool forprint = false;             // no selection dashes, no glyph outlines, no grips
};

// The visible area in device pixels: entities whose extent does not touch it are skipped.
struct PixelRect {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// What the renderer derives once per paint from the display model: the layer of every
// entity, the members of every block, and the extent of every entity in drawing units.
// Entity extents include room for grips and selection, so the cache stays valid until
// the next parse (`ensure` notices it by the model's parse count).
class RenderCache {
public:
    struct Box {
        double minx = 0, miny = 0, maxx = 0, maxy = 0;  // drawing units, without base offset
        double padPx = 0;                               // extra reach in pixels
        bool empty = true;                              // nothing to draw
        bool unbounded = false;                         // never skipped
    };

    // Also sets every entity's `locked` flag from its layer.
    void build(model::DisplayModel& m, int dpi, bool showweight);
    // Builds again unless the cache was built for this parse of `m` with these values.
    void ensure(model::DisplayModel& m, int dpi, bool showweight);

    // What the space filter needs, kept small so that skipping an entity reads no record.
    struct Info {
        int32_t layhan = 0;
        bool isblock = false;
        bool ispaperspace = false;
        bool hidden = false;    // on a layer with a negative colour
    };
    std::vector<Info> infos;

    std::vector<int> layerIndex;                        // per entity, -1 without a layer
    std::unordered_map<std::string_view, std::vector<int>> blockMembers;  // in list order
    std::vector<Box> boxes;                             // per entity (inserts: filled lazily)
    std::vector<uint8_t> boxState;                      // 0 to do, 1 busy, 2 done
    std::unordered_map<std::string_view, Box> blockBoxes;
    std::unordered_map<std::string_view, uint8_t> blockState;

    const Box& boxOf(const model::DisplayModel& m, int i);  // all known after build
    // Extent of a block's members relative to its base point; all known after build.
    const Box& blockBox(const model::DisplayModel& m, std::string_view name);

private:
    int dpi = 96;
    bool showweight = true;
    const model::DisplayModel* builtFor = nullptr;
    uint64_t parsecount = 0;
    int anzpoly = -1;
};

// Draws with `args` on `graphics`. `cache` must have been built for `m` in this paint;
// when `visible` is given, entities outside it are skipped (this never changes the picture).
// Writes only the `locked` flag of the entities (when the cache is built).
void Drawpolys(DrawSurface& graphics, model::DisplayModel& m, const DrawArgs& args,
               RenderCache& cache, const PixelRect* visible = nullptr);

// The same without a prepared cache and without skipping: the straightforward call.
void Drawpolys(DrawSurface& graphics, model::DisplayModel& m, const DrawArgs& args);

// The text of a dimension as shown: `messuaretxt` for an empty or "<>" text, with the
// prefix of `addtextmode` ("Ø", "R", or radians shown as degrees with four decimals and "°").
void dimensionText(const model::tpoly& p, std::string& out);

}  // namespace kerbon::view
