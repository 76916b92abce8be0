// Writes a DXF drawing of loose LINE pieces that form closed outlines, for timing the joining
// tool: gen_lines PIECES OUT.dxf [--r12] [--seed S] [--reversed FRACTION] [--arcs FRACTION]
// Outlines are polygons of 3 to 40 sides laid out on a grid; each side is one LINE drawn head
// to tail, its ends shifted by up to 0.002 so they meet only within a tolerance. The pieces are
// written in shuffled order; --reversed draws that fraction of them the other way round, and
// --arcs draws that fraction of the sides as ARCs bulging outwards.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct Piece {
    double x1, y1, x2, y2;
    bool arc = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: gen_lines PIECES OUT.dxf [--r12] [--seed S] [--reversed F]"
                             " [--arcs F]\n");
        return 2;
    }
    const long count = std::atol(argv[1]);
    bool r12 = false;
    unsigned seed = 1;
    double reversed = 0, arcs = 0;
    for (int k = 3; k < argc; ++k) {
        if (std::strcmp(argv[k], "--r12") == 0)
            r12 = true;
        else if (std::strcmp(argv[k], "--seed") == 0 && k + 1 < argc)
            seed = unsigned(std::atol(argv[++k]));
        else if (std::strcmp(argv[k], "--reversed") == 0 && k + 1 < argc)
            reversed = std::atof(argv[++k]);
        else if (std::strcmp(argv[k], "--arcs") == 0 && k + 1 < argc)
            arcs = std::atof(argv[++k]);
    }
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> jitter(-0.002, 0.002);
    std::vector<Piece> pieces;
    pieces.reserve(size_t(count));
    const long columns = std::max(1L, long(std::sqrt(double(count) / 20)));
    for (long shape = 0; long(pieces.size()) < count; ++shape) {
        const int sides = std::min<long>(3 + long(rng() % 38), count - long(pieces.size()));
        const double cx = double(shape % columns) * 100, cy = double(shape / columns) * 100;
        const double r = 10 + double(rng() % 35);
        std::vector<std::pair<double, double>> corner;
        for (int s = 0; s < sides; ++s) {
            const double a = 2 * M_PI * s / sides;
            corner.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
        }
        for (int s = 0; s < sides; ++s) {
            const auto [x1, y1] = corner[size_t(s)];
            const auto [x2, y2] = corner[size_t((s + 1) % sides)];
            Piece p{x1 + jitter(rng), y1 + jitter(rng), x2 + jitter(rng), y2 + jitter(rng)};
            if (sides < 2)
                p.x2 += 1;
            pieces.push_back(p);
        }
    }
    std::shuffle(pieces.begin(), pieces.end(), rng);
    std::uniform_real_distribution<double> unit(0, 1);
    for (Piece& p : pieces) {
        if (unit(rng) < arcs)
            p.arc = true;  // an arc always runs counter-clockwise, as the outline does
        else if (unit(rng) < reversed)
            p = {p.x2, p.y2, p.x1, p.y1};
    }

    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f) {
        std::perror(argv[2]);
        return 1;
    }
    const long firstHandle = 0x100;
    std::fprintf(f, "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\n%s\r\n"
                    "  9\r\n$HANDSEED\r\n  5\r\n%lX\r\n  0\r\nENDSEC\r\n"
                    "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n",
                 r12 ? "AC1009" : "AC1015", firstHandle + count);
    long h = firstHandle;
    for (const Piece& p : pieces) {
        if (p.arc) {
            // Bulge 0.25 from the first end to the second: the centre lies left of the chord.
            const double b = 0.25, dx = p.x2 - p.x1, dy = p.y2 - p.y1;
            const double c = std::hypot(dx, dy), d = c / 2 * (1 - b * b) / (2 * b);
            const double cx = (p.x1 + p.x2) / 2 - dy / c * d, cy = (p.y1 + p.y2) / 2 + dx / c * d;
            const double r = std::hypot(p.x1 - cx, p.y1 - cy);
            const double a1 = std::atan2(p.y1 - cy, p.x1 - cx) * 180 / M_PI;
            const double a2 = std::atan2(p.y2 - cy, p.x2 - cx) * 180 / M_PI;
            if (r12)
                std::fprintf(f, "  0\r\nARC\r\n  5\r\n%lX\r\n  8\r\nCUT\r\n", h++);
            else
                std::fprintf(f, "  0\r\nARC\r\n  5\r\n%lX\r\n330\r\n1F\r\n100\r\nAcDbEntity\r\n"
                                "  8\r\nCUT\r\n100\r\nAcDbCircle\r\n", h++);
            std::fprintf(f, " 10\r\n%.6f\r\n 20\r\n%.6f\r\n 30\r\n0.0\r\n 40\r\n%.6f\r\n", cx, cy, r);
            if (!r12)
                std::fprintf(f, "100\r\nAcDbArc\r\n");
            std::fprintf(f, " 50\r\n%.6f\r\n 51\r\n%.6f\r\n", a1, a2);
            continue;
        }
        if (r12)
            std::fprintf(f, "  0\r\nLINE\r\n  5\r\n%lX\r\n  8\r\nCUT\r\n", h++);
        else
            std::fprintf(f, "  0\r\nLINE\r\n  5\r\n%lX\r\n330\r\n1F\r\n100\r\nAcDbEntity\r\n"
                            "  8\r\nCUT\r\n100\r\nAcDbLine\r\n", h++);
        std::fprintf(f, " 10\r\n%.6f\r\n 20\r\n%.6f\r\n 30\r\n0.0\r\n"
                        " 11\r\n%.6f\r\n 21\r\n%.6f\r\n 31\r\n0.0\r\n",
                     p.x1, p.y1, p.x2, p.y2);
    }
    std::fprintf(f, "  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    return std::fclose(f) == 0 ? 0 : 1;
}
