// The common frame of every entity and the pair reading of processdxf.
#include "dxf/parse_context.h"

#include <charconv>

namespace kerbon {

int groupCodeNumber(std::string_view code)
{
    // Fast path for the usual codes: one to four digits without a leading zero.
    if (!code.empty() && code.size() <= 4 && code[0] >= '1' && code[0] <= '9') {
        int v = 0;
        for (const char ch : code) {
            if (ch < '0' || ch > '9')
                return kNoCode;
            v = v * 10 + (ch - '0');
        }
        return v;
    }
    if (code == "0")
        return 0;
    const size_t digits = (!code.empty() && code[0] == '-') ? 1 : 0;
    if (code.size() <= digits || code.size() > digits + 9)
        return kNoCode;
    if (code[digits] == '0' && code.size() > digits + 1)
        return kNoCode;  // leading zero: "010" is not code 10
    if (digits == 1 && code[1] == '0')
        return kNoCode;  // "-0"
    int v = 0;
    auto [p, ec] = std::from_chars(code.data(), code.data() + code.size(), v);
    if (ec != std::errc() || p != code.data() + code.size())
        return kNoCode;
    return v;
}

bool ParseContext::readPair()
{
    if (pending) {
        pending = false;
        return true;
    }
    if (rd.atEnd())
        return false;
    codeLine = rd.pos;
    code = rd.readLine();
    value = rd.readLine();
    codeNum = groupCodeNumber(code);
    return true;
}

// The line store's conversion already refuses NaN and infinities.
std::optional<double> ParseContext::real() const { return dxfToDouble(value); }

namespace {

// A size of the dimension style `name` (its record's value, else the header's) times the
// style's overall scale (likewise); a scale of 0 stands for "fitted to the layout": 1.
double styledSize(const std::vector<ParseContext::DimStyle>& styles, std::string_view name,
                  std::optional<double> ParseContext::DimStyle::*field,
                  std::optional<double> size, std::optional<double> scale, double none)
{
    if (!name.empty()) {
        for (const ParseContext::DimStyle& d : styles) {
            if (d.name == name) {
                size = d.*field ? d.*field : size;
                scale = d.dimscale ? d.dimscale : scale;
                break;
            }
        }
    }
    const double s = scale && *scale > 0 ? *scale : 1;
    return size && *size > 0 ? *size * s : none;
}

}  // namespace

double ParseContext::dimensionTextHeight(std::string_view name) const
{
    // A height of 0 stands for none at all: 2.5.
    return styledSize(dimstyles, name, &DimStyle::dimtxt, headerDimtxt, headerDimscale, 2.5);
}

double ParseContext::dimensionArrowSize(std::string_view name) const
{
    return styledSize(dimstyles, name, &DimStyle::dimasz, headerDimasz, headerDimscale, 0);
}

std::optional<int> ParseContext::integer() const { return dxfToInt(value); }

std::optional<int32_t> ParseContext::hex() const { return dxfHexToInt(value); }

// Zero-fills a record taken for a new entity. Copying an empty record clears the vectors
// and strings but keeps their storage, so a re-parse of a large drawing does not
// allocate them again.
static void zeroFill(model::tpoly& p)
{
    static const model::tpoly blank{};
    p = blank;
}

model::tpoly& beginEntity(ParseContext& c)
{
    model::DisplayModel& m = c.m;
    if (m.anzpoly >= int(m.polys.size()) - 1)
        m.polys.resize(size_t(m.anzpoly) + 1000);
    model::tpoly& p = m.polys[size_t(m.anzpoly)];
    zeroFill(p);
    if (c.insideBlock) {
        p.isblock = true;
        p.theblockname.assign(c.blockName);
        p.layhan = c.blockOwner;
        p.blockbasex = c.blockBaseX;
        p.blockbasey = c.blockBaseY;
        p.blockbasez = c.blockBaseZ;
    }
    p.linefrom = c.codeLine;
    p.code = {c.codeLine, c.codeLine + 1};
    // ps and snap keep the storage of the record's previous use and otherwise grow as
    // vertices come: most entities have one or two vertices and no snap point, so fixed
    // starting capacities would cost more memory than all the drawing's vertices.
    return p;
}

bool nextEntityPair(ParseContext& c, model::tpoly& p, EntityKind kind)
{
    if (!c.readPair())
        return false;
    if (c.codeNum == 0) {
        c.pending = true;
        return false;
    }
    p.code.to = c.valueLine();
    if (kind == EntityKind::Inner) {
        if (c.codeNum == 5)
            if (auto h = c.hex())
                c.raiseMaxHandle(*h);
        return true;
    }
    const bool viewport = kind == EntityKind::Viewport;
    switch (c.codeNum) {
    case 5:
        if (auto h = c.hex()) {
            p.han = *h;
            c.raiseMaxHandle(*h);
        }
        break;
    case 330:
        if (auto h = c.hex())
            p.layhan = *h;
        break;
    case 67:
        p.ispaperspace = c.value == "1";
        break;
    case 8:
        p.layer.assign(c.value);
        p.layerpresent = true;
        p.layerlinenr = c.valueLine();
        break;
    case 6:
        if (!viewport) {
            p.ltname.assign(c.value);
            p.ltnamepresent = true;
            p.ltnamelinenr = c.valueLine();
        }
        break;
    case 370:
        if (!viewport && kind != EntityKind::Solid && kind != EntityKind::Point)
            if (auto v = c.integer()) {
                p.lineweight = *v;
                p.linweightpresent = true;
                p.lineweightlinenr = c.valueLine();
            }
        break;
    case 62:
        if (!viewport)
            if (auto v = c.integer()) {
                p.colornr = *v;
                p.colorispresent = true;
                p.colorlinenr = c.valueLine();
            }
        break;
    case 48:
        if (auto v = c.real(); v && *v > 0)
            p.ltscale = *v;
        break;
    default:
        break;
    }
    return true;
}

void takePendingPair(ParseContext& c, model::tpoly& p)
{
    c.pending = false;
    p.code.to = c.valueLine();
}

void endEntity(ParseContext& c, model::tpoly& p)
{
    const std::vector<model::Tmypoi>& ps = p.ps.edit();
    p.anzp = int(ps.size());
    p.anzs = int(p.snap.size());
    p.linebis = p.code.to;
    if (p.anzp >= 1) {
        const model::Tmypoi& first = ps.front();
        const model::Tmypoi& last = p.isclosed ? first : ps.back();
        p.reinx = first.x;
        p.reiny = first.y;
        p.reinz = first.z;
        p.rausx = last.x;
        p.rausy = last.y;
        p.rausz = last.z;
    }
    p.ps.pack();
    ++c.m.anzpoly;
}

model::Tmypoi& startVertex(ParseContext& c, model::tpoly& p)
{
    std::vector<model::Tmypoi>& ps = p.ps.edit();
    model::Tmypoi& v = ps.emplace_back();
    if (auto x = c.real())
        v.x = *x;
    v.linex = c.valueLine();
    p.anzp = int(ps.size());
    return v;
}

void setVertexY(ParseContext& c, model::tpoly& p)
{
    if (p.ps.empty())
        return;
    model::Tmypoi& v = p.ps.edit().back();
    if (auto y = c.real())
        v.y = *y;
    v.liney = c.valueLine();
}

void setVertexZ(ParseContext& c, model::tpoly& p)
{
    if (p.ps.empty())
        return;
    model::Tmypoi& v = p.ps.edit().back();
    if (auto z = c.real())
        v.z = *z;
    v.linez = c.valueLine();
}

}  // namespace kerbon
