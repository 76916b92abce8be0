// Editing the text of a text object.
#include "styles/textedit.h"

#include <vector>

namespace kerbon::styles {

namespace {

std::string_view typeName(const LineStore& dxf, const model::tpoly& p)
{
    return p.linefrom + 1 < dxf.count() ? trimDxf(dxf[p.linefrom + 1]) : std::string_view();
}

// Calls f(code, value line) for each pair of the object's own text: the code-3 chunks
// (not of a DIMENSION) and the code-1 value, up to that value or an MTEXT's embedded
// object data (code 101).
template <typename F>
void forTextPairs(const LineStore& dxf, const model::tpoly& p, TextKind kind, F f)
{
    for (int k = p.linefrom + 2; k + 1 <= p.linebis && k + 1 < dxf.count(); k += 2) {
        const std::optional<int> c = dxfToInt(dxf[k]);
        if (c == 101)
            return;
        if (c == 3 && kind != TextKind::Dimension) {
            f(3, k + 1);
        } else if (c == 1) {
            f(1, k + 1);
            return;
        }
    }
}

}  // namespace

TextKind textKind(const LineStore& dxf, const model::tpoly& p)
{
    const std::string_view t = typeName(dxf, p);
    if (t == "TEXT")
        return TextKind::Text;
    if (t == "MTEXT")
        return TextKind::MText;
    if (t == "DIMENSION")
        return TextKind::Dimension;
    return TextKind::None;
}

std::string storedText(const LineStore& dxf, const model::tpoly& p)
{
    std::string s;
    forTextPairs(dxf, p, textKind(dxf, p), [&](int, int line) { s += dxf[line]; });
    return s;
}

bool holdsText(const LineStore& dxf, const model::tpoly& p)
{
    bool found = false;
    forTextPairs(dxf, p, textKind(dxf, p), [&](int, int) { found = true; });
    return found;
}

std::string textForEditing(TextKind kind, std::string_view stored)
{
    if (kind == TextKind::Text)
        return std::string(stored);
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\\' && i + 1 < stored.size() && stored[i + 1] == 'P') {
            out += '\n';
            ++i;
        } else {
            out += stored[i];
        }
    }
    return out;
}

std::string textFromEditing(TextKind kind, std::string_view typed, bool& cut)
{
    cut = false;
    // A line break behind the last line makes no empty line.
    if (typed.ends_with("\n"))
        typed.remove_suffix(typed.ends_with("\r\n") ? 2 : 1);
    std::string out;
    for (const char ch : typed) {
        if (ch == '\r')
            continue;
        if (ch != '\n') {
            out += ch;
        } else if (kind == TextKind::Text) {
            cut = true;
            break;
        } else {
            out += "\\P";
        }
    }
    return out;
}

size_t utf8Prefix(std::string_view s, size_t chars)
{
    size_t i = 0;
    for (size_t n = 0; i < s.size() && n < chars; ++n) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            ++i;  // continuation bytes of the same character
    }
    return i;
}

EditSet textEdits(const LineStore& dxf, const model::tpoly& p, std::string_view text)
{
    EditSet set;
    const TextKind kind = textKind(dxf, p);
    if (kind == TextKind::None || text == storedText(dxf, p))
        return set;
    const bool chunked = kind == TextKind::MText;
    std::string_view rest = text;
    auto take = [&]() {
        const size_t n = utf8Prefix(rest, textChunkLength);
        std::string chunk(rest.substr(0, n));
        rest.remove_prefix(n);
        return chunk;
    };
    auto longer = [&]() { return utf8Prefix(rest, textChunkLength) < rest.size(); };
    auto put = [&](int line, std::string value) {
        if (dxf[line] != value)
            set.replace(line, std::move(value));
    };
    int afterChunks = -1;  // where the code-1 pair goes when the object has none
    bool valueWritten = false;
    forTextPairs(dxf, p, kind, [&](int code, int line) {
        if (code == 3) {
            put(line, chunked && longer() ? take() : std::string());
            afterChunks = line + 1;
            return;
        }
        while (chunked && longer())
            set.insert(line - 1, {"  3", take()});
        put(line, std::string(rest));
        valueWritten = true;
    });
    if (!valueWritten && afterChunks >= 0) {
        std::vector<std::string> lines;
        while (chunked && longer())
            lines.insert(lines.end(), {"  3", take()});
        lines.insert(lines.end(), {"  1", std::string(rest)});
        set.insert(afterChunks, std::move(lines));
    }
    return set;
}

}  // namespace kerbon::styles
