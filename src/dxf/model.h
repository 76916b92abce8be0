// The display model: every drawable object of the document flattened into a `tpoly`
// record, plus the layer, line type, block and layout tables. Derived wholly from the
// line list by processdxf and rebuilt after every change; nothing in it is saved.
//
// Line references (`...linenr`, `linefrom`, `linebis`, `linex`, `liney`, `linez`,
// `linetoinsert`) are 0-based indices into the line list and stay valid only until the
// next change of the list. A reference of 0 means "not set" (records start zeroed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kerbon {
struct ParseResume;  // processdxf.cpp: where a re-parse after an edit may start
}

namespace kerbon::model {

// One vertex of a display record. A large drawing has millions of them (every circle and
// arc is 101), so the record is packed: the two small numbers and the four flags share
// one byte (56 bytes in all). Bit-fields are read and assigned like the plain fields but
// cannot be bound to a reference.
struct Tmypoi {
    double x = 0, y = 0, z = 0;
    double bulge = 0;       // bulge of the segment from this vertex to the next (code 42)
    double wid = 0;         // polyline width of the segment ending here
    int linex = 0, liney = 0, linez = 0;  // value lines this vertex came from (grips: the line they edit)
    unsigned botharrows : 2 = 0;  // dimension arrowheads on the segment ending here: 1 tip at previous, 2 here, 3 both
    unsigned mode : 2 = 0;        // grip kind: 0 coordinate, 1 radius, 2 ellipse ratio, 3 arc end angle
    bool setwid : 1 = false;      // a polyline width applies from this vertex on (`wid`)
    bool doadddimtexthere : 1 = false;  // dimension text is drawn when rendering reaches this vertex
    bool moveonly : 1 = false;    // a new stroke starts here
    bool donotdraw : 1 = false;   // grip point only, not part of the outline
    bool operator==(const Tmypoi&) const = default;
};
static_assert(sizeof(Tmypoi) == 56);
static_assert(offsetof(Tmypoi, y) == sizeof(double) && offsetof(Tmypoi, z) == 2 * sizeof(double));

// The vertices of a display record. While a record is built they are a plain vector
// (`edit`); a finished record holds them packed (`pack`): the x and y of every vertex, and
// the other fields once for each run of consecutive vertices that share them. Outlines of
// circles, arcs, ellipses, splines and bulges are long runs of points that differ only in
// x and y, so a large drawing keeps about a third of the memory. Reading gives the very
// values that were stored, in either form (vertices are returned by value).
class VertexList {
public:
    VertexList() = default;
    VertexList(std::vector<Tmypoi> v) { *this = std::move(v); }
    VertexList(const VertexList& o) : open_(o.copyOpen()), packed_(o.copyPacked()) {}
    VertexList(VertexList&&) noexcept = default;
    VertexList& operator=(const VertexList& o);
    VertexList& operator=(VertexList&&) noexcept = default;
    VertexList& operator=(std::vector<Tmypoi> v);

    size_t size() const { return packed_ ? head().count : open_ ? open_->size() : 0; }
    bool empty() const { return size() == 0; }
    Tmypoi operator[](size_t i) const;
    Tmypoi front() const { return (*this)[0]; }
    Tmypoi back() const { return (*this)[size() - 1]; }
    // Same vertices, whatever the form.
    bool operator==(const VertexList& o) const;

    // Forward iteration in order; cheaper than indexing a packed list vertex by vertex.
    class const_iterator {
    public:
        using value_type = Tmypoi;
        using difference_type = std::ptrdiff_t;
        const_iterator() = default;
        Tmypoi operator*() const { return list_->at(i_, run_); }
        const_iterator& operator++()
        {
            ++i_;
            list_->advanceRun(i_, run_);
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const const_iterator& o) const { return i_ == o.i_; }

    private:
        friend class VertexList;
        const_iterator(const VertexList* list, size_t i) : list_(list), i_(i) {}
        const VertexList* list_ = nullptr;
        size_t i_ = 0, run_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // The plain vector to build or change the vertices in (a packed list is unpacked).
    std::vector<Tmypoi>& edit();
    // Packs the vertices; reading stays the same.
    void pack();
    bool packed() const { return packed_ != nullptr; }

private:
    struct Head {
        uint32_t count = 0;  // vertices
        uint32_t runs = 0;
    };
    // The fields besides x and y, shared by the vertices first ... (next run's first) - 1:
    // the bytes of a Tmypoi from z on, so a vertex is put together by two copies.
    static constexpr size_t kRestAt = 2 * sizeof(double);
    struct Run {
        unsigned char rest[sizeof(Tmypoi) - kRestAt];
        uint32_t first;
        uint32_t pad = 0;
    };
    struct XY {
        double x, y;
    };
    const Head& head() const { return *reinterpret_cast<const Head*>(packed_.get()); }
    const Run* runs() const { return reinterpret_cast<const Run*>(packed_.get() + sizeof(Head)); }
    const XY* xys() const { return reinterpret_cast<const XY*>(runs() + head().runs); }
    static size_t packedBytes(size_t count, size_t runs)
    {
        return sizeof(Head) + runs * sizeof(Run) + count * sizeof(XY);
    }
    std::unique_ptr<std::byte[]> copyPacked() const;
    std::unique_ptr<std::vector<Tmypoi>> copyOpen() const;
    Tmypoi at(size_t i, size_t run) const
    {
        if (!packed_)
            return (*open_)[i];
        Tmypoi v;
        std::memcpy(static_cast<void*>(&v), &xys()[i], kRestAt);
        std::memcpy(reinterpret_cast<unsigned char*>(&v) + kRestAt, runs()[run].rest,
                    sizeof(Tmypoi) - kRestAt);
        return v;
    }
    void advanceRun(size_t i, size_t& run) const
    {
        if (packed_ && run + 1 < head().runs && runs()[run + 1].first == i)
            ++run;
    }

    // Both behind pointers: a record is walked field by field in long loops, and the smaller
    // it is the fewer cache lines such a walk touches.
    std::unique_ptr<std::vector<Tmypoi>> open_;  // while built (from a per-thread pool)
    std::unique_ptr<std::byte[]> packed_;        // Head, Run[runs], XY[count]
};

// The entity's own pairs as read: a view of lines [from, to] of the line list,
// valid until the next change of the list like every other line reference.
struct LineRange {
    int from = 0, to = -1;
    int size() const { return to - from + 1; }
    bool operator==(const LineRange&) const = default;
};

// One drawable object.
struct tpoly {
    VertexList ps;              // vertices in drawing order; the first anzp are valid
    std::vector<Tmypoi> snap;   // extra snap points; the first anzs are valid
    int ltnamelinenr = 0;
    int layerlinenr = 0;
    int32_t han = 0;            // entity handle (code 5)
    int viewid = 0;             // viewport id (code 69); 1 is the paper-space viewport itself
    int addtextmode = 0;        // how a dimension's text is placed (0..3)
    int dimtyp = 0;             // DIMENSION code 70
    int lineweightlinenr = 0;
    int lineweight = 0;         // hundredths of a mm; -1 by layer, -2 by block, -3 default
    int colorlinenr = 0;
    int colornr = 0;            // colour index; 256 by layer, 0 by block
    int winkel1linenr = 0;      // start angle line (ARC 50, ELLIPSE 41)
    int winkel2linenr = 0;      // end angle line (ARC 51, ELLIPSE 42)
    int radiuslinenr = 0;       // radius / axis ratio / text height line
    int anzs = 0;
    int linefrom = 0;           // the entity's code "0" line
    int linebis = 0;            // the entity's last line
    int anzp = 0;
    // The flags take a bit each: the smaller a record, the fewer cache lines a walk over
    // every record touches (a re-parse clears `selected` on all of them after each edit).
    bool linweightpresent : 1 = false;
    bool layerpresent : 1 = false;
    bool ltnamepresent : 1 = false;
    bool istext : 1 = false;
    bool isviewport : 1 = false;
    bool ispaperspace : 1 = false;
    bool locked : 1 = false;        // set by the renderer from the layer flags
    bool setwidonce : 1 = false;    // constant width (code 43) given: thewid
    bool linweighttpolypresent : 1 = false;
    bool patternfill : 1 = false;
    bool iswipeout : 1 = false;
    bool ispoint : 1 = false;
    bool issolid : 1 = false;
    bool arrowhead : 1 = false;
    bool colorispresent : 1 = false;
    bool needext210 : 1 = false, needext220 : 1 = false, needext230 : 1 = false;
    bool isellipse : 1 = false;
    bool ismtext : 1 = false;
    bool isblock : 1 = false;       // lies in a block definition; drawn only through an INSERT
    bool ray : 1 = false;
    bool xline : 1 = false;
    bool massselected : 1 = false;
    bool selected : 1 = false;
    bool isclosed : 1 = false;
    double viewheight = 0;
    double cx1 = 0, cy1 = 0, cz1 = 0;   // DIMENSION text middle point
    double cx3 = 0, cy3 = 0, cz3 = 0;   // DIMENSION definition points 13/23/33 ...
    double cx4 = 0, cy4 = 0, cz4 = 0;
    double cx5 = 0, cy5 = 0, cz5 = 0;
    double cx6 = 0, cy6 = 0, cz6 = 0;
    double oblique = 0;
    double panx = 0, pany = 0;          // VIEWPORT view centre in model space
    double widx = 0, widy = 0;          // VIEWPORT size on the sheet
    double thewid = 0;
    double dimtextrotate = 0;
    double dimtextheight = 0;           // DIMENSION: text height in drawing units, from its style
    double dimarrowsize = 0;            // DIMENSION: arrowhead size from its style; 0: the usual 1/6
    double ext230 = 0;                  // z of the extrusion direction (code 230); INSERT: 1 when absent
    double ext210 = 0, ext220 = 0;      // INSERT: x and y of the extrusion direction (codes 210, 220)
    double scalex = 0, scaley = 0, scalez = 0;  // INSERT: scale factors (41, 42, 43; 1 when absent)
    int colcount = 0, rowcount = 0;     // INSERT: columns and rows of the array (70, 71; 1 when absent)
    double colspacing = 0, rowspacing = 0;  // INSERT: their spacing (44, 45)
    double radius1 = 0, radius2 = 0, radius3 = 0;  // ELLIPSE derived axis values
    double cx = 0, cy = 0, cz = 0;
    double zoomedvalue = 0;
    double blockbasex = 0, blockbasey = 0, blockbasez = 0;
    double rotation = 0;                // degrees: TEXT, MTEXT; INSERT; linear DIMENSION (code 50)
    double ltscale = 0;                 // the entity's line type scale (code 48); 0: not given (1)
    double radius = 0;
    double rausx = 0, rausy = 0, rausz = 0;  // end point
    double reinx = 0, reiny = 0, reinz = 0;  // start point
    int32_t layhan = 0;                 // owner handle (code 330)
    LineRange code;                     // the entity's pairs as read
    std::string layer;
    std::string ltname;
    std::string insertstr;              // INSERT: block name
    std::string theblockname;           // block definition the entity belongs to
    std::string messuaretxt;            // DIMENSION: measured value as text
    std::string textstr;
    bool operator==(const tpoly&) const = default;
};

struct TLayer {
    std::string newltname;  // new... fields: working copies for the layer dialog
    std::string name;
    std::string ltname;
    int ltnamelinenr = 0;
    int newlineweight = 0;
    int newflag = 0;
    int flaglinenr = 0;
    int lineweightlinenr = 0;
    int lineweight = 0;
    int newcolornr = 0;
    int colorlinenr = 0;
    int colornr = 0;
    int plotflag = 0;
    int flag = 0;           // bit 4: locked
    bool ltnamepresent = false;
    bool flagpresent = false;
    bool linweightpresent = false;
    bool colorpresent = false;
    bool operator==(const TLayer&) const = default;
};

struct TLineType {
    std::string name;
    std::string desc;
    std::vector<float> parts;  // dash lengths: positive dash, negative gap, 0 dot
    bool operator==(const TLineType&) const = default;
};

struct tblock {
    std::string blockname;
    int linetoinsert = 0;   // code "0" line of its ENDBLK
    int32_t hand = 0;       // owner handle (code 330 of the BLOCK header)
    bool operator==(const tblock&) const = default;
};

struct Tlayout {
    std::string name;
    int64_t scrollxvalue = 0, scrollyvalue = 0;  // remembered scroll positions of this tab
    int order = 0;                           // tab order (code 71)
    int32_t layhan = 0;
    double zoomvalue = 0;
    double eminx = 0, eminy = 0, eminz = 0;
    double emaxx = 0, emaxy = 0, emaxz = 0;
    double lminx = 0, lminy = 0, lminz = 0;
    double lmaxx = 0, lmaxy = 0, lmaxz = 0;
    bool zoomsetted = false;  // zoomvalue and scroll values hold a remembered view
    bool operator==(const Tlayout&) const = default;
};

// A preview segment drawn in exclusive-or mode, in screen pixels.
struct tremove {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int syl = 0;
};

// Everything processdxf derives from the line list. Vectors keep spare capacity; the
// anz... counts say how many entries are valid.
struct DisplayModel {
    std::vector<tpoly> polys;
    int anzpoly = 0;
    std::vector<TLayer> layers;
    int anzlayer = 0;
    std::vector<TLineType> linetype;
    int anzlt = 0;
    std::vector<tblock> blocks;
    std::vector<Tlayout> layouts;
    int insertlinepos = -1;
    int handleseedpos = -1;
    int ltypeinsetlinenr = -1;
    int layerinsertlinenr = -1;
    int32_t maxhandle = 0;
    int maxviewportid = 2;
    std::string plotstylereaded;
    int cadver = 0;           // from $ACADVER (AC1015 gives 1015); 0 without it
    double ltscale = 1;       // $LTSCALE: every line type pattern at this scale (1 without it)
    uint64_t parsecount = 0;  // raised by every processdxf, so caches derived from the model notice a new parse
    // Parse states kept by processdxf so that a re-parse after an edit can start near the
    // edit (processdxfFrom); tied to the line list and model object of that parse.
    std::shared_ptr<ParseResume> resume;
    // Every field alike; two parses of one text compare equal through sameModel.
    bool operator==(const DisplayModel&) const = default;
};

}  // namespace kerbon::model
