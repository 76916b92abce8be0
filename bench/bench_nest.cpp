// The nesting search over the strip-packing instances of a benchmark folder (a manifest.json
// beside one DXF file per instance): per instance the time of the cell-by-cell oracle and of
// the fast search on 1 and 2 threads, whether all give the same arrangement, the used height
// and the density (total part area / (sheet width x used height)), beside the figures of the
// folder's baseline/results.jsonl for the same pixel width and iteration count when it has
// them (a slow reference of the same method with its own random orders).
//
//   bench_nest DIR [--iterations N] [--pixels P] [--spacing D] [--margin M] [--seed S]
//                  [--repeat R] [--no-oracle] [--only NAME] [--proposed]
// The sheet is as wide as the manifest says and as high as the window proposes (110 % of
// the drawing's height); spacing and margin are 0 unless given, or, with --proposed, what
// the window proposes (1 % of 110 % of the drawing's width).
// Times are the best of R runs (default 5) for the fast search, 1 and 2 threads taking turns
// so that both see the same load, and of one run for the oracle. cpu2/1 is the CPU time of
// all 2-thread runs over that of all 1-thread runs (the work threads add, whatever the
// load). The last column is the load average of the last minute after the instance ran.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../tests/nesting/nest_oracle.h"
#include "dxf/LineStore.h"
#include "dxf/processdxf.h"
#include "nesting/nest_search.h"

using namespace kerbon;
using namespace kerbon::nest;

namespace {

struct Instance {
    std::string name, file;
    double sheetWidth = 0, area = 0;
};

// The instances of the manifest: each "file" with the "sheet_width" and "total_item_area"
// that follow it.
std::vector<Instance> readManifest(const std::string& dir)
{
    std::ifstream f(dir + "/manifest.json");
    std::stringstream ss;
    ss << f.rdbuf();
    const std::string text = ss.str();
    auto numberAfter = [&](size_t from, const char* key) {
        const size_t k = text.find(key, from);
        return k == std::string::npos ? 0.0 : std::atof(text.c_str() + text.find(':', k) + 1);
    };
    std::vector<Instance> out;
    for (size_t p = 0; (p = text.find("\"file\": \"", p)) != std::string::npos;) {
        p += 9;
        Instance in;
        in.file = text.substr(p, text.find('"', p) - p);
        in.name = in.file.substr(0, in.file.find('.'));
        in.sheetWidth = numberAfter(p, "\"sheet_width\"");
        in.area = numberAfter(p, "\"total_item_area\"");
        out.push_back(in);
    }
    return out;
}

double seconds(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// CPU time of the whole process, all threads together.
double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

double loadAverage()
{
    std::ifstream f("/proc/loadavg");
    double load = 0;
    f >> load;
    return load;
}

// The baseline's figures for one instance and run shape.
struct Baseline {
    double seconds = 0, height = 0, density = 0;
    bool found = false;
};

// The value of "key" in one line of JSON (numbers and true/false only).
std::string jsonValue(const std::string& line, const std::string& key)
{
    const size_t k = line.find("\"" + key + "\":");
    if (k == std::string::npos)
        return "";
    size_t v = k + key.size() + 3;
    while (v < line.size() && line[v] == ' ')
        ++v;
    const size_t end = line.find_first_of(",}", v);
    return line.substr(v, end - v);
}

Baseline readBaseline(const std::string& dir, const std::string& name, const NestSettings& s)
{
    std::ifstream f(dir + "/baseline/results.jsonl");
    Baseline b;
    for (std::string line; std::getline(f, line);) {
        if (line.find("\"instance\": \"" + name + "\"") == std::string::npos ||
            std::atoi(jsonValue(line, "px").c_str()) != s.pixbreite ||
            std::atoi(jsonValue(line, "iters").c_str()) != s.anziterations ||
            std::atoi(jsonValue(line, "dilate").c_str()) != 0 || jsonValue(line, "first_by_area") != "false")
            continue;
        b.seconds = std::atof(jsonValue(line, "seconds").c_str());
        b.height = std::atof(jsonValue(line, "best_height").c_str());
        b.density = std::atof(jsonValue(line, "best_density").c_str());
        b.found = true;
    }
    return b;
}

std::vector<TFPoint> placements(const Schachtelung& n)
{
    std::vector<TFPoint> at;
    for (uint32_t i = 0; i < n.elemente.count(); ++i)
        at.push_back({n.elemente.recordAt(i).x, n.elemente.recordAt(i).y});
    return at;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_nest DIR [--iterations N] [--pixels P] [--spacing D] "
                             "[--margin M] [--seed S] [--repeat R] [--no-oracle] [--only NAME] "
                             "[--proposed]\n");
        return 2;
    }
    const std::string dir = argv[1];
    NestSettings base;
    base.anziterations = 50;
    base.pixbreite = 200;
    base.distance = 0;
    base.seitenrand = 0;
    uint64_t seed = 1;
    bool oracle = true, proposed = false;
    int repeat = 5;
    std::string only;
    for (int k = 2; k < argc; ++k) {
        const std::string a = argv[k];
        const char* v = k + 1 < argc ? argv[k + 1] : "0";
        if (a == "--iterations")
            base.anziterations = std::atoi(v), ++k;
        else if (a == "--pixels")
            base.pixbreite = std::atoi(v), ++k;
        else if (a == "--spacing")
            base.distance = std::atof(v), ++k;
        else if (a == "--margin")
            base.seitenrand = std::atof(v), ++k;
        else if (a == "--seed")
            seed = std::strtoull(v, nullptr, 10), ++k;
        else if (a == "--repeat")
            repeat = std::max(1, std::atoi(v)), ++k;
        else if (a == "--only")
            only = v, ++k;
        else if (a == "--proposed")
            proposed = true;
        else if (a == "--no-oracle")
            oracle = false;
    }
    std::printf("%-9s %5s %9s %8s %8s %7s %6s %6s %4s %11s %7s %7s %11s %7s %7s %5s\n", "instance",
                "parts", "oracle_s", "fast1_s", "fast2_s", "x_orc", "x_2/1", "cpu2/1", "same", "used_height",
                "density", "base_s", "base_height", "base_d", "x_base", "load");
    for (const Instance& in : readManifest(dir)) {
        if (!only.empty() && in.name != only)
            continue;
        LineStore store;
        if (!loadLines(dir + "/" + in.file, store)) {
            std::fprintf(stderr, "cannot read %s\n", in.file.c_str());
            continue;
        }
        model::DisplayModel m;
        processdxf(store, m);
        NestSettings s = base;
        s.pw = in.sheetWidth;
        // One search on `threads` threads (0: the oracle); returns its time and adds its
        // CPU time to `cpu`.
        auto run = [&](Schachtelung& n, int threads, SearchResult& res, double& cpu) {
            n.Uebernehmen(m, 0, true);
            const SheetProposal p = n.proposal();
            s.ph = p.height;
            if (proposed)
                s.distance = p.spacing, s.seitenrand = p.margin;
            Random rnd(seed);
            std::span<TNestElement> els(n.elemente.poi(), n.elemente.count());
            const auto t0 = std::chrono::steady_clock::now();
            const double c0 = cpuSeconds();
            if (threads == 0) {
                res = test::searchOracle(els, s, rnd);
            } else {
                res = searchArrangement(els, s, rnd, threads);
                takeArrangement(els, res);
            }
            cpu += cpuSeconds() - c0;
            return seconds(t0);
        };
        Schachtelung one, two, ref;
        SearchResult r1, r2, r0;
        double t1 = 0, t2 = 0, cpu1 = 0, cpu2 = 0, cpu0 = 0;
        for (int k = 0; k < repeat; ++k) {
            const double a = run(one, 1, r1, cpu1), b = run(two, 2, r2, cpu2);
            t1 = k == 0 ? a : std::min(t1, a);
            t2 = k == 0 ? b : std::min(t2, b);
        }
        const double t0 = oracle ? run(ref, 0, r0, cpu0) : 0;
        const bool same = placements(one) == placements(two) &&
                          (!oracle || placements(one) == placements(ref));
        // The baseline ran without spacing.
        const Baseline bl = s.distance == 0 ? readBaseline(dir, in.name, s) : Baseline{};
        std::printf("%-9s %5u %9.3f %8.4f %8.4f %7.1f %6.2f %6.2f %4s %11.4f %7.4f", in.name.c_str(),
                    one.elemente.count(), t0, t1, t2, oracle ? t0 / t1 : 0.0, t1 / t2, cpu2 / cpu1,
                    same ? "yes" : "NO", r1.usedHeight, in.area / (s.pw * r1.usedHeight));
        if (bl.found)
            std::printf(" %7.2f %11.4f %7.4f %7.0f", bl.seconds, bl.height, bl.density, bl.seconds / t1);
        else
            std::printf(" %7s %11s %7s %7s", "-", "-", "-", "-");
        std::printf(" %5.2f%s\n", loadAverage(), r1.over ? " over" : "");
        std::fflush(stdout);
    }
    return 0;
}
