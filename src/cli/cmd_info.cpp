// kerbon-cli info: what a drawing holds, as the editor's parse sees it.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/json.h"
#include "dxf/LineStore.h"
#include "dxf/extents.h"
#include "dxf/model.h"
#include "dxf/processdxf.h"

using namespace kerbon;

namespace {

struct Info {
    std::string version;  // the $ACADVER text
    std::map<std::string, int, std::less<>> entities, blockEntities;
    std::vector<std::string> layers, linetypes, layouts, blocks;
    double extents[4] = {0, 0, 0, 0};
    double parseSeconds = 0;
};

std::string jsonNames(const std::vector<std::string>& names)
{
    std::string out = "[";
    for (size_t i = 0; i < names.size(); ++i)
        out += (i ? ", " : "") + cli::jsonString(names[i]);
    return out + "]";
}

std::string jsonCounts(const std::map<std::string, int, std::less<>>& counts)
{
    cli::JsonObject o;
    for (const auto& [name, n] : counts)
        o.field(name, n);
    return o.str();
}

std::string number(double v)
{
    if (!std::isfinite(v))
        return "null";  // JSON has no infinities
    if (v == 0)
        v = 0;  // -0 prints as 0
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

void printJson(const LineStore& store, const model::DisplayModel& m, const Info& info)
{
    std::string extents = "[";
    for (int i = 0; i < 4; ++i)
        extents += (i ? ", " : "") + number(info.extents[i]);
    extents += "]";
    cli::JsonObject o;
    o.field("version", info.version)
        .field("cadver", m.cadver)
        .field("encoding", encodingName(store.encoding))
        .field("line_ending", lineEndingName(store.lineEnding))
        .field("lines", store.count())
        .raw("entities", jsonCounts(info.entities))
        .raw("block_entities", jsonCounts(info.blockEntities))
        .raw("layers", jsonNames(info.layers))
        .raw("linetypes", jsonNames(info.linetypes))
        .raw("layouts", jsonNames(info.layouts))
        .raw("blocks", jsonNames(info.blocks))
        .field("maxhandle", m.maxhandle)
        .raw("extents", extents)
        .raw("parse_seconds", number(info.parseSeconds));
    std::puts(o.str().c_str());
}

std::string joined(const std::vector<std::string>& names)
{
    std::string s;
    for (size_t i = 0; i < names.size(); ++i)
        s += (i ? ", " : "") + names[i];
    return s;
}

std::string countsText(const std::map<std::string, int, std::less<>>& counts)
{
    std::string s;
    for (const auto& [name, n] : counts)
        s += (s.empty() ? "" : ", ") + name + " " + std::to_string(n);
    return s;
}

void printText(const LineStore& store, const model::DisplayModel& m, const Info& info)
{
    std::printf("lines: %d\nencoding: %s\nline ending: %s\n", store.count(),
                encodingName(store.encoding), lineEndingName(store.lineEnding));
    std::printf("version: %s\ncadver: %d\n", info.version.c_str(), m.cadver);
    std::printf("entities: %s\n", countsText(info.entities).c_str());
    std::printf("block entities: %s\n", countsText(info.blockEntities).c_str());
    std::printf("layers: %s\n", joined(info.layers).c_str());
    std::printf("line types: %s\n", joined(info.linetypes).c_str());
    std::printf("layouts: %s\n", joined(info.layouts).c_str());
    std::printf("blocks: %s\n", joined(info.blocks).c_str());
    std::printf("maxhandle: %s\n", handleText(m.maxhandle).c_str());
    std::printf("extents: %s %s %s %s\n", number(info.extents[0]).c_str(),
                number(info.extents[1]).c_str(), number(info.extents[2]).c_str(),
                number(info.extents[3]).c_str());
    std::printf("parse: %.3f s\n", info.parseSeconds);
}

}  // namespace

int cmdInfo(int argc, char** argv)
{
    if (argc < 1) {
        std::fprintf(stderr, "usage: kerbon-cli info FILE [--json]\n");
        return 2;
    }
    bool json = false;
    const char* path = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0)
            json = true;
        else if (!path)
            path = argv[i];
    }
    if (!path) {
        std::fprintf(stderr, "usage: kerbon-cli info FILE [--json]\n");
        return 2;
    }
    LineStore& store = untilExit<LineStore>();
    if (!loadLines(path, store)) {
        std::fprintf(stderr, "kerbon-cli: cannot open %s\n", path);
        return 1;
    }

    model::DisplayModel& m = untilExit<model::DisplayModel>();
    const auto t0 = std::chrono::steady_clock::now();
    processdxf(store, m);
    const auto t1 = std::chrono::steady_clock::now();

    Info info;
    info.parseSeconds = std::chrono::duration<double>(t1 - t0).count();
    info.version = acadVersion(store.lines);
    for (int i = 0; i < m.anzpoly; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        const int typeLine = p.linefrom + 1;
        const std::string_view type = typeLine < store.count() ? trimDxf(store[typeLine]) : "";
        auto& counts = p.isblock ? info.blockEntities : info.entities;
        auto it = counts.find(type);
        if (it == counts.end())
            it = counts.emplace(std::string(type), 0).first;
        ++it->second;
    }
    for (int i = 0; i < m.anzlayer; ++i)
        info.layers.push_back(m.layers[size_t(i)].name);
    for (int i = 0; i < m.anzlt; ++i)
        info.linetypes.push_back(m.linetype[size_t(i)].name);
    for (const model::Tlayout& l : m.layouts)
        info.layouts.push_back(l.name);
    for (const model::tblock& b : m.blocks)
        info.blocks.push_back(b.blockname);
    getdimtab0(m, info.extents[0], info.extents[1], info.extents[2], info.extents[3]);

    if (json)
        printJson(store, m, info);
    else
        printText(store, m, info);
    return 0;
}
