// kerbon-cli info: what a drawing holds, as the editor's parse sees it.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "dxf/LineStore.h"
#include "dxf/extents.h"
#include "dxf/model.h"
#include "dxf/processdxf.h"

using namespace kerbon;

namespace {

struct Info {
    std::string version;  // the $ACADVER text
    std::map<std::string, int> entities, blockEntities;
    std::vector<std::string> layers, linetypes, layouts, blocks;
    double extents[4] = {0, 0, 0, 0};
    double parseSeconds = 0;
};

// The $ACADVER text of the header, empty when there is none.
std::string versionText(const LineStore& store)
{
    PairReader rd{store.lines};
    bool armed = false;
    while (!rd.atEnd()) {
        const std::string_view code = rd.readLine(), value = rd.readLine();
        if (code == "0" && value == "ENDSEC")
            break;
        if (code == "9")
            armed = value == "$ACADVER";
        else if (armed && code == "1")
            return std::string(value);
    }
    return {};
}

void jsonString(std::string& out, std::string_view s)
{
    out += '"';
    for (const char ch : s) {
        const unsigned char u = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += ch;
        }
    }
    out += '"';
}

void jsonNames(std::string& out, const std::vector<std::string>& names)
{
    out += '[';
    for (size_t i = 0; i < names.size(); ++i) {
        if (i)
            out += ", ";
        jsonString(out, names[i]);
    }
    out += ']';
}

void jsonCounts(std::string& out, const std::map<std::string, int>& counts)
{
    out += '{';
    bool first = true;
    for (const auto& [name, n] : counts) {
        if (!first)
            out += ", ";
        first = false;
        jsonString(out, name);
        out += ": " + std::to_string(n);
    }
    out += '}';
}

std::string number(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

void printJson(const LineStore& store, const model::DisplayModel& m, const Info& info)
{
    std::string out = "{";
    out += "\"version\": ";
    jsonString(out, info.version);
    out += ", \"cadver\": " + std::to_string(m.cadver);
    out += ", \"encoding\": ";
    jsonString(out, encodingName(store.encoding));
    out += ", \"line_ending\": ";
    jsonString(out, lineEndingName(store.lineEnding));
    out += ", \"lines\": " + std::to_string(store.count());
    out += ", \"entities\": ";
    jsonCounts(out, info.entities);
    out += ", \"block_entities\": ";
    jsonCounts(out, info.blockEntities);
    out += ", \"layers\": ";
    jsonNames(out, info.layers);
    out += ", \"linetypes\": ";
    jsonNames(out, info.linetypes);
    out += ", \"layouts\": ";
    jsonNames(out, info.layouts);
    out += ", \"blocks\": ";
    jsonNames(out, info.blocks);
    out += ", \"maxhandle\": " + std::to_string(m.maxhandle);
    out += ", \"extents\": [";
    for (int i = 0; i < 4; ++i)
        out += (i ? ", " : "") + number(info.extents[i]);
    out += "], \"parse_seconds\": " + number(info.parseSeconds) + "}\n";
    std::fputs(out.c_str(), stdout);
}

std::string joined(const std::vector<std::string>& names)
{
    std::string s;
    for (size_t i = 0; i < names.size(); ++i)
        s += (i ? ", " : "") + names[i];
    return s;
}

std::string countsText(const std::map<std::string, int>& counts)
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
    LineStore store;
    if (!loadLines(path, store)) {
        std::fprintf(stderr, "kerbon-cli: cannot open %s\n", path);
        return 1;
    }

    model::DisplayModel m;
    const auto t0 = std::chrono::steady_clock::now();
    processdxf(store, m);
    const auto t1 = std::chrono::steady_clock::now();

    Info info;
    info.parseSeconds = std::chrono::duration<double>(t1 - t0).count();
    info.version = versionText(store);
    for (int i = 0; i < m.anzpoly; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        const int typeLine = p.linefrom + 1;
        const std::string type = typeLine < store.count()
                                     ? std::string(trimDxf(store[typeLine]))
                                     : std::string();
        ++(p.isblock ? info.blockEntities : info.entities)[type];
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
