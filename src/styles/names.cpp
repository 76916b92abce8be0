// Names of layers and line types.
#include "styles/names.h"

namespace kerbon::styles {

std::string_view trimmedName(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string nameKey(std::string_view s)
{
    s = trimmedName(s);
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'a' && c <= 'z') {
            out[i] = char(c - 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            // U+00E0 ... U+00FE (à ... þ, without ÷) in UTF-8: C3 A0 ... C3 BE.
            const auto d = static_cast<unsigned char>(out[i + 1]);
            if (d >= 0xA0 && d <= 0xBE && d != 0xB7)
                out[i + 1] = char(d - 0x20);
            ++i;
        }
    }
    return out;
}

bool hasBadCharacter(std::string_view name)
{
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F)
            return true;
        switch (ch) {
        case '<': case '>': case '/': case '\\': case '"': case ':': case ';': case '?':
        case '*': case '|': case '=':
            return true;
        default: break;
        }
    }
    return false;
}

namespace {

template <typename Names>
NameCheck checkNewName(std::string_view name, int count, Names nameAt)
{
    const std::string key = nameKey(name);
    if (key.empty())
        return NameCheck::Empty;
    if (hasBadCharacter(key))
        return NameCheck::BadCharacter;
    for (int i = 0; i < count; ++i)
        if (nameKey(nameAt(i)) == key)
            return NameCheck::Exists;
    return NameCheck::Ok;
}

}  // namespace

NameCheck checkNewLayerName(const model::DisplayModel& m, std::string_view name)
{
    return checkNewName(name, m.anzlayer,
                        [&](int i) -> std::string_view { return m.layers[size_t(i)].name; });
}

NameCheck checkNewLineTypeName(const model::DisplayModel& m, std::string_view name)
{
    return checkNewName(name, m.anzlt,
                        [&](int i) -> std::string_view { return m.linetype[size_t(i)].name; });
}

}  // namespace kerbon::styles
