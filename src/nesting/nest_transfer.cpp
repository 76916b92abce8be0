// The moves of the nesting transfer.
#include "nesting/nest_transfer.h"

#include <algorithm>

#include "edit/Editor.h"

namespace kerbon::nest {

std::vector<ElementMove> transferMoves(const Schachtelung& n)
{
    std::vector<ElementMove> moves;
    for (uint32_t i = 0; i < n.elemente.count(); ++i) {
        const TNestElement& e = n.elemente.recordAt(i);
        moves.push_back({e.objs, e.x - e.minx, e.y - e.miny});
    }
    return moves;
}

void transferInto(model::DisplayModel& m, const std::vector<ElementMove>& moves,
                  const std::function<void(double dx, double dy)>& move)
{
    for (const ElementMove& mv : moves) {
        const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
        for (int k = 0; k < n; ++k)
            m.polys[size_t(k)].selected = false;
        for (int k : mv.objs)
            if (k >= 0 && k < n)
                m.polys[size_t(k)].selected = true;
        move(mv.dx, mv.dy);
    }
}

void transferInto(Editor& ed, const Schachtelung& n)
{
    transferInto(ed.model, transferMoves(n), [&ed](double dx, double dy) { ed.MoveObjects(dx, dy); });
}

}  // namespace kerbon::nest
