// Reading and writing the plain-text translation table.
#include "texttable.h"

#include <set>
#include <sstream>

namespace kerbon::texts {

namespace {

struct Prefix {
    std::string_view tag;
    int col;
};
constexpr Prefix prefixes[] = {{"de:", 0}, {"en:", 1}, {"fr:", 2}, {"nl:", 3}};

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

const Entry* TextTable::find(std::string_view german) const
{
    for (const Entry& e : entries)
        if (e.cells[0] == german)
            return &e;
    return nullptr;
}

std::string escapeText(std::string_view s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string unescapeText(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        switch (s[++i]) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: out += '\\', out += s[i]; break;  // not an escape: kept as written
        }
    }
    return out;
}

bool parseTextTable(std::string_view text, TextTable& table, std::string& error)
{
    table.entries.clear();
    std::set<std::string, std::less<>> seen;
    std::set<int> given;  // columns the current entry has
    int lineno = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineno) + ": " + why;
        return false;
    };
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, nl));
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        ++lineno;
        if (line.empty() || line.front() == '#')
            continue;
        const Prefix* p = nullptr;
        for (const Prefix& q : prefixes)
            if (line.starts_with(q.tag))
                p = &q;
        if (!p)
            return fail("expected \"de:\", \"en:\", \"fr:\" or \"nl:\" at the start");
        const std::string value = unescapeText(trimmed(line.substr(p->tag.size())));
        if (p->col == 0) {
            if (value.empty())
                return fail("empty German text");
            if (!seen.insert(value).second)
                return fail("the German text \"" + value + "\" has an entry already");
            table.entries.push_back({});
            table.entries.back().cells[0] = value;
            table.entries.back().line = lineno;
            given = {0};
            continue;
        }
        if (table.entries.empty())
            return fail("a translation before the first \"de:\"");
        if (!given.insert(p->col).second)
            return fail("\"" + std::string(p->tag) + "\" given twice for one German text");
        table.entries.back().cells[p->col] = value;
    }
    return true;
}

std::string formatEntry(const Entry& e, std::string_view comment, bool withEmptyEnglish)
{
    std::string out;
    if (!comment.empty())
        out += "# " + std::string(comment) + "\n";
    for (const Prefix& p : prefixes) {
        const std::string& v = e.cells[p.col];
        if (!v.empty() || (p.col == 1 && withEmptyEnglish))
            out += std::string(p.tag) + (v.empty() ? "" : " " + escapeText(v)) + "\n";
    }
    return out + "\n";
}

std::string translateFileBytes(const TextTable& table)
{
    std::vector<TTransRow> rows;
    rows.reserve(table.entries.size());
    for (const Entry& e : table.entries) {
        TTransRow r;
        for (int c = 0; c < transColumns; ++c)
            r.cells[c] = utf8ToUtf16(e.cells[c]);
        rows.push_back(std::move(r));
    }
    return kerbon::translateFileBytes(std::span<const TTransRow>(rows));
}

}  // namespace kerbon::texts
