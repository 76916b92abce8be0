// Applying a set of line edits and reversing an undo step.
#include "edit/LineEdits.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <utility>

namespace kerbon {

void EditSet::insert(int pos, std::vector<std::string> lines)
{
    if (!lines.empty())
        edits.push_back({LineEdit::Kind::Insert, pos, 0, std::move(lines)});
}

void EditSet::erase(int pos, int count)
{
    if (count > 0)
        edits.push_back({LineEdit::Kind::Delete, pos, count, {}});
}

void EditSet::replace(int pos, std::string line)
{
    std::vector<std::string> one;
    one.push_back(std::move(line));
    edits.push_back({LineEdit::Kind::Replace, pos, 0, std::move(one)});
}

bool validEdits(const EditSet& set, int lineCount)
{
    // The lines taken by deletions and replacements, as half-open ranges.
    std::vector<std::pair<int, int>> taken;
    for (const LineEdit& e : set.edits) {
        switch (e.kind) {
        case LineEdit::Kind::Insert:
            if (e.pos < 0 || e.pos > lineCount || e.lines.empty())
                return false;
            break;
        case LineEdit::Kind::Delete:
            if (e.pos < 0 || e.count < 1 || e.count > lineCount - e.pos)
                return false;
            taken.emplace_back(e.pos, e.pos + e.count);
            break;
        case LineEdit::Kind::Replace:
            if (e.pos < 0 || e.pos >= lineCount || e.lines.size() != 1)
                return false;
            taken.emplace_back(e.pos, e.pos + 1);
            break;
        }
    }
    std::sort(taken.begin(), taken.end());
    for (size_t i = 1; i < taken.size(); ++i)
        if (taken[i].first < taken[i - 1].second)
            return false;
    // An insertion may stand at the start or just after the end of a taken range, not
    // inside it.
    for (const LineEdit& e : set.edits) {
        if (e.kind != LineEdit::Kind::Insert)
            continue;
        auto after = std::upper_bound(taken.begin(), taken.end(), std::make_pair(e.pos, lineCount + 1));
        if (after != taken.begin() && std::prev(after)->first < e.pos &&
            e.pos < std::prev(after)->second)
            return false;
    }
    return true;
}

tundo applyEditSet(LineStore& dxf, EditSet set)
{
    // Highest position first, so every later position is still that of the original
    // list. At one position the deletion or replacement goes first and the insertions
    // follow, the last added first, so they end up in the order they were added, in front
    // of the line that was there.
    std::vector<size_t> order(set.edits.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(), [&set](size_t a, size_t b) {
        const LineEdit& ea = set.edits[a];
        const LineEdit& eb = set.edits[b];
        if (ea.pos != eb.pos)
            return ea.pos > eb.pos;
        const bool ia = ea.kind == LineEdit::Kind::Insert, ib = eb.kind == LineEdit::Kind::Insert;
        if (ia != ib)
            return ib;
        return a > b;
    });

    LineList& lines = dxf.lines;
    tundo step;
    step.actions.reserve(order.size());
    for (const size_t i : order) {
        LineEdit& e = set.edits[i];
        taction a;
        a.start = e.pos;
        switch (e.kind) {
        case LineEdit::Kind::Insert:
            a.typ = 0;
            a.len = int32_t(e.lines.size());
            lines.insert(size_t(e.pos), e.lines.begin(), e.lines.end());
            break;
        case LineEdit::Kind::Delete: {
            a.typ = 1;
            a.len = e.count;
            const auto first = lines.begin() + e.pos;
            a.ustrs.assign(first, first + e.count);
            lines.erase(size_t(e.pos), size_t(e.count));
            break;
        }
        case LineEdit::Kind::Replace:
            a.typ = 2;
            a.ustrs.emplace_back(lines[size_t(e.pos)]);
            lines.replace(size_t(e.pos), e.lines.front());
            break;
        }
        step.actions.push_back(std::move(a));
    }
    lines.reclaim();
    return step;
}

void undoStep(LineStore& dxf, tundo& step)
{
    LineList& lines = dxf.lines;
    for (auto it = step.actions.rbegin(); it != step.actions.rend(); ++it) {
        taction& a = *it;
        switch (a.typ) {
        case 0:
            lines.erase(size_t(a.start), size_t(a.len));
            break;
        case 1:
            lines.insert(size_t(a.start), a.ustrs.begin(), a.ustrs.end());
            break;
        case 2:
            if (!a.ustrs.empty())
                lines.replace(size_t(a.start), a.ustrs.front());
            break;
        default: break;
        }
        a.ustrs.clear();
    }
    lines.reclaim();
}

}  // namespace kerbon
