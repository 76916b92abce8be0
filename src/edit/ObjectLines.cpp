// The text lines of an object, attributes of an INSERT included.
#include "edit/ObjectLines.h"

#include <algorithm>

#include "dxf/parse_context.h"

namespace kerbon {

namespace {

bool isCode(const LineStore& dxf, int line, int code)
{
    return line + 1 < dxf.count() && groupCodeNumber(trimDxf(dxf[line])) == code;
}

// The code line of the next entity after the pair at `line`: the next pair with code 0,
// or the end of the pairs.
int nextEntity(const LineStore& dxf, int line)
{
    line += 2;
    while (line + 1 < dxf.count() && !isCode(dxf, line, 0))
        line += 2;
    return line;
}

bool entityIs(const LineStore& dxf, int line, std::string_view type)
{
    return isCode(dxf, line, 0) && trimDxf(dxf[line + 1]) == type;
}

}  // namespace

LineSpan objectLines(const LineStore& dxf, const model::tpoly& p)
{
    int end = p.linebis + 1;  // one past the last line
    if (entityIs(dxf, p.linefrom, "INSERT")) {
        // Attributes follow flag 66 = 1; they and their SEQEND are part of the INSERT.
        bool attribsFollow = false;
        for (int k = p.linefrom + 2; k + 1 <= p.linebis; k += 2)
            if (isCode(dxf, k, 66) && trimDxf(dxf[k + 1]) == "1")
                attribsFollow = true;
        int k = end;
        while (entityIs(dxf, k, "ATTRIB")) {
            attribsFollow = true;
            k = nextEntity(dxf, k);
        }
        if (attribsFollow && entityIs(dxf, k, "SEQEND"))
            k = nextEntity(dxf, k);
        end = std::min(k, dxf.count());
    }
    return {p.linefrom, end - p.linefrom};
}

std::vector<LineSpan> mergeSpans(std::vector<LineSpan> spans)
{
    std::sort(spans.begin(), spans.end(),
              [](const LineSpan& a, const LineSpan& b) { return a.from < b.from; });
    std::vector<LineSpan> out;
    for (const LineSpan& s : spans) {
        if (s.count <= 0)
            continue;
        if (!out.empty() && s.from < out.back().from + out.back().count) {
            LineSpan& last = out.back();
            last.count = std::max(last.from + last.count, s.from + s.count) - last.from;
        } else {
            out.push_back(s);
        }
    }
    return out;
}

}  // namespace kerbon
