// The parse of the whole line list: one forward pass through the sections, the header
// variables, the LTYPE and LAYER tables, block headers, layout objects and the dispatch
// of entities to their handlers.
#include "dxf/processdxf.h"

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <memory>
#include <utility>

#include "dxf/entities.h"
#include "dxf/parse_context.h"

namespace kerbon {

namespace {

// Section state of the main loop.
struct Sections {
    bool entities = false;
    bool blocks = false;
    bool objects = false;
    bool tables = false;
    bool handles = false;          // a section whose records carry handles
    bool sectionNameExpected = false;
    bool handseedExpected = false;
    bool versionExpected = false;
    std::optional<double>* realExpected = nullptr;  // header variable read from code 40
};

void readLayout(ParseContext& c)
{
    model::Tlayout& l = c.m.layouts.emplace_back();
    while (c.readPair()) {
        if (c.codeNum == 0) {
            c.pending = true;
            return;
        }
        auto setReal = [&c](double& field) {
            if (auto v = c.real())
                field = *v;
        };
        switch (c.codeNum) {
        case 5:
            if (auto h = c.hex())
                c.raiseMaxHandle(*h);
            break;
        case 1: l.name.assign(c.value); break;
        case 71:
            if (auto v = c.integer())
                l.order = *v;
            break;
        case 330:
            if (auto h = c.hex())
                l.layhan = *h;
            break;
        case 10: setReal(l.lminx); break;
        case 20: setReal(l.lminy); break;
        case 30: setReal(l.lminz); break;
        case 11: setReal(l.lmaxx); break;
        case 21: setReal(l.lmaxy); break;
        case 31: setReal(l.lmaxz); break;
        case 14: setReal(l.eminx); break;
        case 24: setReal(l.eminy); break;
        case 34: setReal(l.eminz); break;
        case 15: setReal(l.emaxx); break;
        case 25: setReal(l.emaxy); break;
        case 35: setReal(l.emaxz); break;
        default: break;
        }
    }
}

// A table from its TABLE pair to its ENDTAB. Only the LTYPE and LAYER tables fill the
// model; every table contributes its handles to maxhandle.
void readTable(ParseContext& c)
{
    model::DisplayModel& m = c.m;
    std::string_view tableName;
    bool ltEntry = false, layerEntry = false, dimEntry = false;
    while (c.readPair()) {
        if (c.codeNum == 0) {
            if (c.value == "ENDTAB") {
                if (ltEntry)
                    m.ltypeinsetlinenr = c.codeLine;
                if (layerEntry)
                    m.layerinsertlinenr = c.codeLine;
                return;
            }
            // A table left open: the section goes on without it rather than being
            // swallowed up to the end of the file.
            if (c.value == "ENDSEC" || c.value == "SECTION" || c.value == "EOF") {
                c.pending = true;
                return;
            }
            if (c.value == "LTYPE" && tableName == "LTYPE") {
                ltEntry = true;
                if (m.anzlt >= int(m.linetype.size()))
                    m.linetype.resize(m.linetype.size() + 10);
                // The whole entry starts empty: nothing of a previous document's entry
                // in this slot survives.
                model::TLineType& lt = m.linetype[size_t(m.anzlt)];
                lt.name.clear();
                lt.desc.clear();
                lt.parts.clear();
                ++m.anzlt;
            } else if (c.value == "LAYER" && tableName == "LAYER") {
                layerEntry = true;
                if (m.anzlayer >= int(m.layers.size()))
                    m.layers.resize(m.layers.size() + 10);
                m.layers[size_t(m.anzlayer)] = model::TLayer{};
                ++m.anzlayer;
            } else if (c.value == "DIMSTYLE" && tableName == "DIMSTYLE") {
                dimEntry = true;
                c.dimstyles.emplace_back();
            }
            continue;
        }
        if (c.codeNum == 5 || c.codeNum == 105) {  // 105: handle of a DIMSTYLE entry
            if (auto h = c.hex())
                c.raiseMaxHandle(*h);
            continue;
        }
        if (c.codeNum == 2) {
            if (ltEntry)
                m.linetype[size_t(m.anzlt - 1)].name.assign(c.value);
            else if (layerEntry)
                m.layers[size_t(m.anzlayer - 1)].name.assign(c.value);
            else if (dimEntry)
                c.dimstyles.back().name.assign(c.value);
            else
                tableName = c.value;
            continue;
        }
        if (dimEntry) {
            ParseContext::DimStyle& d = c.dimstyles.back();
            if (auto v = c.real())
                switch (c.codeNum) {
                case 140: d.dimtxt = *v; break;
                case 41: d.dimasz = *v; break;
                case 40: d.dimscale = *v; break;
                default: break;
                }
        } else if (ltEntry) {
            model::TLineType& lt = m.linetype[size_t(m.anzlt - 1)];
            if (c.codeNum == 3) {
                lt.desc.assign(c.value);
            } else if (c.codeNum == 49) {
                if (auto v = c.real())
                    lt.parts.push_back(float(std::clamp(*v, double(-FLT_MAX), double(FLT_MAX))));
            }
        } else if (layerEntry) {
            model::TLayer& l = m.layers[size_t(m.anzlayer - 1)];
            switch (c.codeNum) {
            case 70:
                if (auto v = c.integer()) {
                    l.flag = *v;
                    l.flaglinenr = c.valueLine();
                    l.flagpresent = true;
                }
                break;
            case 62:
                if (auto v = c.integer()) {
                    l.colornr = *v;
                    l.colorlinenr = c.valueLine();
                    l.colorpresent = true;
                }
                break;
            case 6:
                l.ltname.assign(c.value);
                l.ltnamelinenr = c.valueLine();
                l.ltnamepresent = true;
                break;
            case 370:
                if (auto v = c.integer()) {
                    l.lineweight = *v;
                    l.lineweightlinenr = c.valueLine();
                    l.linweightpresent = true;
                }
                break;
            case 290:
                if (auto v = c.integer())
                    l.plotflag = *v;
                break;
            case 390: m.plotstylereaded.assign(c.value); break;
            default: break;
            }
        }
    }
}

// A block header. Each block starts from nothing: a header without a name, owner or base
// point has an empty name, owner 0 and base (0, 0, 0), never those of the block before.
// The name is code 2; code 3 repeats it and stands in when code 2 is missing.
void readBlockHeader(ParseContext& c)
{
    c.insideBlock = true;
    c.blockName.clear();
    c.blockOwner = 0;
    c.blockBaseX = c.blockBaseY = c.blockBaseZ = 0;
    bool named = false;
    while (c.readPair()) {
        if (c.codeNum == 0) {
            c.pending = true;
            break;
        }
        switch (c.codeNum) {
        case 5:
            if (auto h = c.hex())
                c.raiseMaxHandle(*h);
            break;
        case 2:
            c.blockName.assign(c.value);
            named = true;
            break;
        case 3:
            if (!named)
                c.blockName.assign(c.value);
            break;
        case 330:
            if (auto h = c.hex())
                c.blockOwner = *h;
            break;
        case 10:
            if (auto v = c.real())
                c.blockBaseX = *v;
            break;
        case 20:
            if (auto v = c.real())
                c.blockBaseY = *v;
            break;
        case 30:
            if (auto v = c.real())
                c.blockBaseZ = *v;
            break;
        default: break;
        }
    }
    c.m.blocks.push_back({c.blockName, 0, c.blockOwner});
}

// Starts the entity whose "0"/type pair is current; false for a type this system does
// not read (its pairs then pass through the main loop and are ignored).
bool dispatchEntity(ParseContext& c)
{
    const std::string_view t = c.value;
    if (t == "LINE" || t == "LWPOLYLINE" || t == "XLINE" || t == "RAY" || t == "LEADER")
        readLineEntity(c, t);
    else if (t == "CIRCLE" || t == "ARC")
        readArc(c, t);
    else if (t == "TEXT" || t == "MTEXT")
        readText(c, t);
    else if (t == "INSERT")
        readInsert(c);
    else if (t == "POLYLINE")
        readPolyline(c);
    else if (t == "SPLINE")
        readSpline(c);
    else if (t == "ELLIPSE")
        readEllipse(c);
    else if (t == "SOLID" || t == "POINT")
        readSolid(c, t);
    else if (t == "DIMENSION")
        readDimension(c);
    else if (t == "HATCH")
        readHatch(c);
    else if (t == "VIEWPORT")
        readViewport(c);
    else if (t == "WIPEOUT")
        readWipeout(c);
    else
        return false;
    return true;
}

void prepare(model::DisplayModel& m, size_t lineCount)
{
    m.handleseedpos = -1;
    m.ltypeinsetlinenr = -1;
    m.maxviewportid = 2;
    m.layerinsertlinenr = -1;
    m.plotstylereaded.clear();
    // Records are zero-filled when they are taken; the storage of earlier parses is reused.
    if (m.polys.size() < 1000)
        m.polys.resize(1000);
    // Room for the records of a typical drawing (an entity takes some 16 lines or more),
    // so that growing `polys` rarely moves the records read so far. Only the address
    // space is taken; records are built when they are needed.
    if (m.polys.capacity() < lineCount / 16 + 1000)
        m.polys.reserve(lineCount / 16 + 1000);
    m.linetype.resize(10);
    m.layers.resize(10);
    m.anzlt = 0;
    m.layouts.clear();
    m.blocks.clear();
    m.insertlinepos = -1;
    m.anzlayer = 0;
    m.anzpoly = 0;
    m.maxhandle = 0;
    m.cadver = 0;  // a document without $ACADVER has no version, whatever was open before
}

}  // namespace

// A parse state at the start of an entity of the ENTITIES section, from which a re-parse
// can go on as if it had run from the start of the list.
struct ParseCheckpoint {
    int line = 0;                // code line of the entity's "0" pair
    Sections sections;           // as before that pair was read
    ParseContext context;        // a copy: the same line list and model
    model::DisplayModel model;   // everything but polys, layers and linetype (counts valid)
};

struct ParseResume {
    std::vector<ParseCheckpoint> points;  // ascending lines
    int nextAt = 0;                       // record count at which the next one is taken
};

namespace {

// Entities between two checkpoints: a re-parse after an edit near the end of a large
// drawing reads at most about this many entities again.
constexpr int checkpointEvery = 1024;

// The model without its large record lists, the resume data and the parse count.
model::DisplayModel modelScalars(model::DisplayModel& m)
{
    model::DisplayModel out;
    std::swap(out.polys, m.polys);
    std::swap(out.layers, m.layers);
    std::swap(out.linetype, m.linetype);
    std::swap(out.resume, m.resume);
    model::DisplayModel copy = m;
    std::swap(out.polys, m.polys);
    std::swap(out.layers, m.layers);
    std::swap(out.linetype, m.linetype);
    std::swap(out.resume, m.resume);
    copy.parsecount = 0;
    return copy;
}

void takeCheckpoint(ParseContext& c, const Sections& before)
{
    ParseResume& r = *c.m.resume;
    r.points.push_back({c.codeLine, before, c, modelScalars(c.m)});
    r.nextAt = c.m.anzpoly + checkpointEvery;
}

void mainLoop(ParseContext& c, Sections& s)
{
    model::DisplayModel& m = c.m;
    while (c.readPair()) {
        const Sections before = s;
        const int code = c.codeNum;
        const std::string_view v = c.value;

        if (code == 0 && v == "ENDSEC") {
            if (s.entities && m.insertlinepos == -1)
                m.insertlinepos = c.codeLine;
            s.tables = s.blocks = s.entities = false;
            c.insideBlock = false;
        }
        if (code == 9) {
            s.handseedExpected = v == "$HANDSEED";
            s.versionExpected = v == "$ACADVER";
            s.realExpected = v == "$DIMTXT"     ? &c.headerDimtxt
                             : v == "$DIMASZ"   ? &c.headerDimasz
                             : v == "$DIMSCALE" ? &c.headerDimscale
                             : v == "$LTSCALE"  ? &c.headerLtscale
                                                : nullptr;
        } else if (code == 0) {
            // A variable name without its value ends with the section: a handle or text
            // further on is never taken for the seed or the version.
            s.handseedExpected = s.versionExpected = false;
            s.realExpected = nullptr;
        }
        if (s.realExpected && code == 40) {
            if (auto r = c.real())
                *s.realExpected = *r;
            s.realExpected = nullptr;
        }
        if (s.handseedExpected && code == 5) {
            // Its value names the next free handle and counts once, at the end (finishParse),
            // never as a handle in use, also where a damaged file has it inside a section of
            // handles: a re-parse that starts beyond this line must reach the same last handle.
            m.handleseedpos = c.valueLine();
            s.handseedExpected = false;
            continue;
        }
        if (s.versionExpected && code == 1) {
            s.versionExpected = false;
            if (v.size() > 2)
                if (auto n = dxfToInt(v.substr(2)))
                    m.cadver = *n;
        }
        if (code == 0 && (v == "SECTION" || v == "ENDSEC")) {
            s.entities = s.objects = s.tables = s.handles = false;
            c.insideBlock = false;
            s.sectionNameExpected = v == "SECTION";
        }
        if (code == 2 && s.sectionNameExpected) {
            s.sectionNameExpected = false;
            if (v == "ENTITIES") {
                s.entities = true;
                s.handseedExpected = false;
                s.tables = s.blocks = false;
                c.insideBlock = false;
            } else if (v == "BLOCKS") {
                s.blocks = true;
            } else if (v == "OBJECTS") {
                s.objects = true;
            } else if (v == "TABLES") {
                s.tables = true;
            } else {
                s.tables = s.blocks = false;
                c.insideBlock = false;
            }
            s.handles = s.entities || s.blocks || s.objects || s.tables;
            continue;
        }
        if (s.objects && code == 0 && v == "LAYOUT") {
            readLayout(c);
            continue;
        }
        if (s.tables && code == 0 && v == "TABLE") {
            readTable(c);
            continue;
        }
        if (s.blocks && code == 0) {
            if (v == "BLOCK") {
                readBlockHeader(c);
                continue;
            }
            if (v == "ENDBLK") {
                if (!m.blocks.empty())
                    m.blocks.back().linetoinsert = c.codeLine;
                c.insideBlock = false;
            }
        }
        if (code == 5 && s.handles) {
            // Every handle in use counts, also those of records this parse does not read
            // (unknown entities, ENDBLK, dictionaries), so a new handle never repeats one.
            if (auto h = c.hex())
                c.raiseMaxHandle(*h);
            continue;
        }
        if (code == 0 && (s.entities || (s.blocks && c.insideBlock))) {
            if (s.entities && m.resume && m.anzpoly >= m.resume->nextAt)
                takeCheckpoint(c, before);
            dispatchEntity(c);
        }
    }
    m.ltscale = c.headerLtscale && *c.headerLtscale > 0 ? *c.headerLtscale : 1;
}

// The views the user left on the layout tabs (zoom and scroll, kept in the layout
// records), taken before a parse rebuilds the records.
std::vector<model::Tlayout> rememberedViews(const model::DisplayModel& m)
{
    std::vector<model::Tlayout> views;
    for (const model::Tlayout& l : m.layouts)
        if (l.zoomsetted)
            views.push_back(l);
    return views;
}

// Every layout gets the view remembered for its handle back: switching tabs after an edit
// shows each tab as the user left it. Each remembered view serves one layout.
void restoreViews(model::DisplayModel& m, std::vector<model::Tlayout>& views)
{
    for (model::Tlayout& l : m.layouts)
        for (model::Tlayout& v : views)
            if (v.zoomsetted && v.layhan == l.layhan) {
                l.zoomsetted = true;
                l.zoomvalue = v.zoomvalue;
                l.scrollxvalue = v.scrollxvalue;
                l.scrollyvalue = v.scrollyvalue;
                v.zoomsetted = false;
                break;
            }
}

// What every parse ends with: the seed's share of maxhandle (it names the next free
// handle), the record storage, the tab order with the tabs' remembered views, and the
// observer.
void finishParse(const LineList& dxf, model::DisplayModel& m,
                 ParseObserver* observer, std::vector<model::Tlayout>& views)
{
    if (m.handleseedpos >= 0 && m.handleseedpos < int(dxf.size()))
        if (auto h = dxfHexToInt(trimDxf(dxf[size_t(m.handleseedpos)]))) {
            const int64_t last = int64_t(*h) - 1;
            if (last > m.maxhandle)
                m.maxhandle = int32_t(last);
        }

    // Records beyond the count keep their storage for the next parse; when the drawing has
    // become much smaller (another file opened after a large one), that storage goes back.
    if (m.polys.size() > 4 * size_t(m.anzpoly) + 4000) {
        m.polys.resize(size_t(m.anzpoly) + 1000);
        m.polys.shrink_to_fit();
    }
    sortLayouts(m.layouts);
    restoreViews(m, views);
    if (observer) {
        std::vector<std::string> ltNames, layerNames, tabs;
        for (int i = 0; i < m.anzlt; ++i)
            ltNames.push_back(m.linetype[size_t(i)].name);
        for (int i = 0; i < m.anzlayer; ++i)
            layerNames.push_back(m.layers[size_t(i)].name);
        for (const model::Tlayout& l : m.layouts)
            tabs.push_back(l.name);
        if (tabs.empty())
            tabs = {"Model", "Layout1"};
        observer->refreshSelectors(ltNames, layerNames);
        observer->refreshLayoutTabs(tabs);
    }
}

}  // namespace

void sortLayouts(std::vector<model::Tlayout>& layouts)
{
    const size_t n = layouts.size();
    for (size_t i = 0; i + 1 < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (layouts[j].order < layouts[i].order || layouts[j].name == "Model")
                std::swap(layouts[i], layouts[j]);
}

namespace {

void parseAll(const LineList& dxf, model::DisplayModel& m, ParseObserver* observer)
{
    std::vector<model::Tlayout> views = rememberedViews(m);
    prepare(m, dxf.size());
    ++m.parsecount;
    m.resume = std::make_shared<ParseResume>();
    ParseContext c(dxf, m);
    Sections s;
    mainLoop(c, s);
    finishParse(dxf, m, observer, views);
}

}  // namespace

int processdxfFrom(const LineStore& store, model::DisplayModel& m, int firstChanged,
                   ParseObserver* observer)
{
    const LineList& dxf = store.lines;
    // The last checkpoint whose entity pair and everything before it (the seed line
    // aside) lies before the change, taken on this line list and model.
    const ParseCheckpoint* cp = nullptr;
    if (m.resume)
        for (const ParseCheckpoint& p : m.resume->points) {
            if (p.line + 2 > firstChanged)
                break;
            if (&p.context.dxf == &dxf && &p.context.m == &m && m.handleseedpos < p.line)
                cp = &p;
        }
    if (!cp) {
        parseAll(dxf, m, observer);
        return 0;
    }

    std::vector<model::Tlayout> views = rememberedViews(m);
    std::shared_ptr<ParseResume> resume = m.resume;
    ParseContext c(cp->context);
    Sections s = cp->sections;
    c.rd.pos = cp->line;
    c.pending = false;
    const uint64_t parsecount = m.parsecount;
    {
        model::DisplayModel restored = cp->model;
        std::swap(restored.polys, m.polys);
        std::swap(restored.layers, m.layers);
        std::swap(restored.linetype, m.linetype);
        m = std::move(restored);
    }
    m.parsecount = parsecount + 1;
    m.resume = resume;
    const size_t keep = size_t(cp - resume->points.data());
    while (resume->points.size() > keep)  // from here on the lines have moved
        resume->points.pop_back();
    resume->nextAt = 0;  // the checkpoint just used is taken again on the way
    const int from = c.rd.pos;
    mainLoop(c, s);
    finishParse(dxf, m, observer, views);
    return from;
}

bool sameModel(const model::DisplayModel& a, const model::DisplayModel& b)
{
    auto prefixEqual = [](const auto& x, const auto& y, int n) {
        return n >= 0 && size_t(n) <= x.size() && size_t(n) <= y.size() &&
               std::equal(x.begin(), x.begin() + n, y.begin());
    };
    // modelScalars puts the lists back before it returns. The views remembered on the
    // layout tabs are the user's, kept over parses, not read from the text.
    auto parsed = [](const model::DisplayModel& m) {
        model::DisplayModel s = modelScalars(const_cast<model::DisplayModel&>(m));
        for (model::Tlayout& l : s.layouts) {
            l.zoomsetted = false;
            l.zoomvalue = 0;
            l.scrollxvalue = l.scrollyvalue = 0;
        }
        return s;
    };
    const model::DisplayModel sa = parsed(a), sb = parsed(b);
    return sa == sb && prefixEqual(a.polys, b.polys, a.anzpoly) &&
           prefixEqual(a.layers, b.layers, a.anzlayer) &&
           prefixEqual(a.linetype, b.linetype, a.anzlt);
}

void processdxf(const LineStore& dxf, model::DisplayModel& m, ParseObserver* observer)
{
    parseAll(dxf.lines, m, observer);
}

void processdxf(const LineStore& dxf, model::DisplayModel& m)
{
    parseAll(dxf.lines, m, nullptr);
}

void processdxf(const std::vector<std::string>& dxf, model::DisplayModel& m,
                ParseObserver* observer)
{
    const LineList lines(dxf);
    parseAll(lines, m, observer);
    // The states kept for a re-parse refer to the list, which is gone with this call.
    m.resume = std::make_shared<ParseResume>();
}

}  // namespace kerbon
