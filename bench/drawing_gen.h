// A generator of large R2000 drawings of mixed entities, for benchmarks.
//
// The drawing has a header with $ACADVER and $HANDSEED, the usual tables (line types,
// layers, text style, block records ...), three block definitions, N entities in the
// ENTITIES section (LINEs, LWPOLYLINEs with bulges, CIRCLEs, ARCs, ELLIPSEs, SPLINEs,
// TEXTs and INSERTs of the blocks) and an OBJECTS section with the two layouts.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace kerbon::bench {

class Writer {
public:
    explicit Writer(FILE* f) : f_(f) { buf_.reserve(1 << 20); }
    ~Writer() { flush(); }

    void pair(int code, const char* value)
    {
        char head[16];
        std::snprintf(head, sizeof head, "%3d\r\n", code);
        buf_ += head;
        buf_ += value;
        buf_ += "\r\n";
        ++lines_;
        ++lines_;
        if (buf_.size() > (1 << 20) - 4096)
            flush();
    }
    void pair(int code, const std::string& value) { pair(code, value.c_str()); }
    void real(int code, double v)
    {
        char s[40];
        std::snprintf(s, sizeof s, "%.6g", v);
        pair(code, s);
    }
    void integer(int code, long v) { pair(code, std::to_string(v)); }
    void handle(int code, uint32_t h)
    {
        char s[16];
        std::snprintf(s, sizeof s, "%X", h);
        pair(code, s);
    }
    long lines() const { return lines_; }
    void flush()
    {
        std::fwrite(buf_.data(), 1, buf_.size(), f_);
        buf_.clear();
    }

private:
    FILE* f_;
    std::string buf_;
    long lines_ = 0;
};

inline const char* const kLayers[] = {"0", "Kontur", "Bohrung", "Text", "Hilfslinien"};
inline const char* const kBlocks[] = {"Schraube", "Mutter", "Rahmen"};

inline constexpr uint32_t kModelSpace = 0x1F, kPaperSpace = 0x1B, kLayoutModel = 0x22,
                   kLayoutPaper = 0x1E, kRootDict = 0xC, kLayoutDict = 0x1A;
inline constexpr uint32_t kBlockRecord0 = 0x40;  // block records of the three blocks: 0x40..0x42
inline constexpr uint32_t kFirstEntity = 0x100;

struct Gen {
    Writer& w;
    std::mt19937 rng;
    uint32_t next = kFirstEntity;

    double uni(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    void head(const char* type, uint32_t owner, const char* layer, const char* subclass)
    {
        w.pair(0, type);
        w.handle(5, next++);
        w.handle(330, owner);
        w.pair(100, "AcDbEntity");
        w.pair(8, layer);
        w.pair(100, subclass);
    }

    void entity(uint32_t owner)
    {
        const double x = uni(0, 10000), y = uni(0, 10000);
        const char* layer = kLayers[pick(5)];
        const int r = pick(100);
        if (r < 35) {
            head("LINE", owner, layer, "AcDbLine");
            w.real(10, x);
            w.real(20, y);
            w.real(11, x + uni(-100, 100));
            w.real(21, y + uni(-100, 100));
        } else if (r < 55) {
            const int n = 4 + pick(3);
            head("LWPOLYLINE", owner, layer, "AcDbPolyline");
            w.integer(90, n);
            w.integer(70, pick(2));
            const int bulgeAt = pick(n);
            for (int i = 0; i < n; ++i) {
                w.real(10, x + uni(0, 200));
                w.real(20, y + uni(0, 200));
                if (i == bulgeAt)
                    w.real(42, uni(-1, 1));
            }
        } else if (r < 67) {
            head("CIRCLE", owner, layer, "AcDbCircle");
            w.real(10, x);
            w.real(20, y);
            w.real(40, uni(1, 50));
        } else if (r < 77) {
            head("ARC", owner, layer, "AcDbCircle");
            w.real(10, x);
            w.real(20, y);
            w.real(40, uni(1, 50));
            w.pair(100, "AcDbArc");
            w.real(50, uni(0, 360));
            w.real(51, uni(0, 360));
        } else if (r < 81) {
            head("ELLIPSE", owner, layer, "AcDbEllipse");
            w.real(10, x);
            w.real(20, y);
            w.real(11, uni(5, 60));
            w.real(21, uni(-20, 20));
            w.real(40, uni(0.2, 1));
            w.real(41, 0);
            w.real(42, 2 * M_PI);
        } else if (r < 84) {
            head("SPLINE", owner, layer, "AcDbSpline");
            w.integer(70, 8);
            w.integer(71, 3);
            w.integer(72, 10);
            w.integer(73, 6);
            const double knots[10] = {0, 0, 0, 0, 1, 2, 3, 3, 3, 3};
            for (double k : knots)
                w.real(40, k);
            for (int i = 0; i < 6; ++i) {
                w.real(10, x + 20 * i);
                w.real(20, y + uni(-30, 30));
            }
        } else if (r < 92) {
            head("TEXT", owner, "Text", "AcDbText");
            w.real(10, x);
            w.real(20, y);
            w.real(40, 2.5);
            w.pair(1, "Teil " + std::to_string(next));
            w.pair(100, "AcDbText");
        } else {
            const int b = pick(3);
            head("INSERT", owner, layer, "AcDbBlockReference");
            w.pair(2, kBlocks[b]);
            w.real(10, x);
            w.real(20, y);
        }
    }
};

inline void section(Writer& w, const char* name)
{
    w.pair(0, "SECTION");
    w.pair(2, name);
}

inline void tableHead(Writer& w, const char* name, uint32_t h, int count)
{
    w.pair(0, "TABLE");
    w.pair(2, name);
    w.handle(5, h);
    w.handle(330, 0);
    w.pair(100, "AcDbSymbolTable");
    w.integer(70, count);
}

inline void entryHead(Writer& w, const char* type, uint32_t h, uint32_t table, const char* subclass)
{
    w.pair(0, type);
    w.handle(5, h);
    w.handle(330, table);
    w.pair(100, "AcDbSymbolTableRecord");
    w.pair(100, subclass);
}

inline void write(Writer& w, long entities, unsigned seed)
{
    Gen g{w, std::mt19937(seed)};
    // Handles of the entities are known in advance only roughly; the seed is set above all.
    const uint32_t blockEntities = 3 * 4;
    const uint32_t seedHandle = kFirstEntity + uint32_t(entities) + blockEntities + 16;

    section(w, "HEADER");
    w.pair(9, "$ACADVER");
    w.pair(1, "AC1015");
    w.pair(9, "$INSUNITS");
    w.integer(70, 4);
    w.pair(9, "$HANDSEED");
    w.handle(5, seedHandle);
    w.pair(0, "ENDSEC");

    section(w, "TABLES");
    tableHead(w, "VPORT", 8, 1);
    entryHead(w, "VPORT", 0x29, 8, "AcDbViewportTableRecord");
    w.pair(2, "*Active");
    w.integer(70, 0);
    w.pair(0, "ENDTAB");

    tableHead(w, "LTYPE", 5, 4);
    const char* const ltypes[] = {"ByBlock", "ByLayer", "CONTINUOUS", "DASHED"};
    for (int i = 0; i < 4; ++i) {
        entryHead(w, "LTYPE", 0x14 + uint32_t(i), 5, "AcDbLinetypeTableRecord");
        w.pair(2, ltypes[i]);
        w.integer(70, 0);
        w.pair(3, i == 3 ? "__ __ __" : (i == 2 ? "Solid line" : ""));
        w.integer(72, 65);
        w.integer(73, i == 3 ? 2 : 0);
        w.real(40, i == 3 ? 0.75 : 0);
        if (i == 3) {
            w.real(49, 0.5);
            w.integer(74, 0);
            w.real(49, -0.25);
            w.integer(74, 0);
        }
    }
    w.pair(0, "ENDTAB");

    tableHead(w, "LAYER", 2, 5);
    for (int i = 0; i < 5; ++i) {
        entryHead(w, "LAYER", 0x30 + uint32_t(i), 2, "AcDbLayerTableRecord");
        w.pair(2, kLayers[i]);
        w.integer(70, 0);
        w.integer(62, i == 0 ? 7 : i);
        w.pair(6, i == 4 ? "DASHED" : "CONTINUOUS");
        w.integer(370, -3);
        w.pair(390, "F");
    }
    w.pair(0, "ENDTAB");

    tableHead(w, "STYLE", 3, 1);
    entryHead(w, "STYLE", 0x11, 3, "AcDbTextStyleTableRecord");
    w.pair(2, "Standard");
    w.integer(70, 0);
    w.real(40, 0);
    w.real(41, 1);
    w.real(50, 0);
    w.integer(71, 0);
    w.real(42, 2.5);
    w.pair(3, "txt");
    w.pair(4, "");
    w.pair(0, "ENDTAB");

    tableHead(w, "VIEW", 6, 0);
    w.pair(0, "ENDTAB");
    tableHead(w, "UCS", 7, 0);
    w.pair(0, "ENDTAB");

    tableHead(w, "APPID", 9, 1);
    entryHead(w, "APPID", 0x12, 9, "AcDbRegAppTableRecord");
    w.pair(2, "ACAD");
    w.integer(70, 0);
    w.pair(0, "ENDTAB");

    w.pair(0, "TABLE");
    w.pair(2, "DIMSTYLE");
    w.handle(5, 0xA);
    w.handle(330, 0);
    w.pair(100, "AcDbSymbolTable");
    w.integer(70, 1);
    w.pair(100, "AcDbDimStyleTable");
    w.pair(0, "DIMSTYLE");
    w.handle(105, 0x27);
    w.handle(330, 0xA);
    w.pair(100, "AcDbSymbolTableRecord");
    w.pair(100, "AcDbDimStyleTableRecord");
    w.pair(2, "Standard");
    w.integer(70, 0);
    w.pair(0, "ENDTAB");

    tableHead(w, "BLOCK_RECORD", 1, 5);
    const auto blockRecord = [&](uint32_t h, const char* name, uint32_t layout) {
        entryHead(w, "BLOCK_RECORD", h, 1, "AcDbBlockTableRecord");
        w.pair(2, name);
        w.handle(340, layout);
    };
    blockRecord(kModelSpace, "*Model_Space", kLayoutModel);
    blockRecord(kPaperSpace, "*Paper_Space", kLayoutPaper);
    for (uint32_t b = 0; b < 3; ++b)
        blockRecord(kBlockRecord0 + b, kBlocks[b], 0);
    w.pair(0, "ENDTAB");
    w.pair(0, "ENDSEC");

    section(w, "BLOCKS");
    uint32_t bh = 0x50;
    const auto blockDef = [&](const char* name, uint32_t owner, bool withEntities) {
        w.pair(0, "BLOCK");
        w.handle(5, bh++);
        w.handle(330, owner);
        w.pair(100, "AcDbEntity");
        w.pair(8, "0");
        w.pair(100, "AcDbBlockBegin");
        w.pair(2, name);
        w.integer(70, 0);
        w.real(10, 0);
        w.real(20, 0);
        w.real(30, 0);
        w.pair(3, name);
        w.pair(1, "");
        if (withEntities)
            for (int i = 0; i < 4; ++i)
                g.entity(owner);
        w.pair(0, "ENDBLK");
        w.handle(5, bh++);
        w.handle(330, owner);
        w.pair(100, "AcDbEntity");
        w.pair(8, "0");
        w.pair(100, "AcDbBlockEnd");
    };
    blockDef("*Model_Space", kModelSpace, false);
    blockDef("*Paper_Space", kPaperSpace, false);
    for (uint32_t b = 0; b < 3; ++b)
        blockDef(kBlocks[b], kBlockRecord0 + b, true);
    w.pair(0, "ENDSEC");

    section(w, "ENTITIES");
    for (long i = 0; i < entities; ++i)
        g.entity(kModelSpace);
    w.pair(0, "ENDSEC");

    section(w, "OBJECTS");
    w.pair(0, "DICTIONARY");
    w.handle(5, kRootDict);
    w.handle(330, 0);
    w.pair(100, "AcDbDictionary");
    w.pair(3, "ACAD_LAYOUT");
    w.handle(350, kLayoutDict);
    w.pair(0, "DICTIONARY");
    w.handle(5, kLayoutDict);
    w.handle(330, kRootDict);
    w.pair(100, "AcDbDictionary");
    w.pair(3, "Layout1");
    w.handle(350, kLayoutPaper);
    w.pair(3, "Model");
    w.handle(350, kLayoutModel);
    const auto layout = [&](uint32_t h, const char* name, int order, uint32_t record) {
        w.pair(0, "LAYOUT");
        w.handle(5, h);
        w.handle(330, kLayoutDict);
        w.pair(100, "AcDbPlotSettings");
        w.pair(1, "");
        w.integer(70, 0);
        w.pair(100, "AcDbLayout");
        w.pair(1, name);
        w.integer(70, 1);
        w.integer(71, order);
        w.real(10, 0);
        w.real(20, 0);
        w.real(11, 420);
        w.real(21, 297);
        w.real(14, 0);
        w.real(24, 0);
        w.real(34, 0);
        w.real(15, 10000);
        w.real(25, 10000);
        w.real(35, 0);
        w.handle(330, record);
    };
    layout(kLayoutModel, "Model", 0, kModelSpace);
    layout(kLayoutPaper, "Layout1", 1, kPaperSpace);
    w.pair(0, "ENDSEC");
    w.pair(0, "EOF");
}

// Writes a drawing of `entities` entities to `f`; returns the number of lines written.
inline long writeDrawing(FILE* f, long entities, unsigned seed)
{
    Writer w(f);
    write(w, entities, seed);
    return w.lines();
}

}  // namespace kerbon::bench
