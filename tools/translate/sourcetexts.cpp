// Finding the literals of looked-up texts in C++ source.
#include "sourcetexts.h"

#include <cctype>

namespace kerbon::texts {

namespace {

bool isIdent(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

class Scanner {
public:
    explicit Scanner(std::string_view code) : s(code) {}

    std::vector<SourceText> run()
    {
        while (i < s.size()) {
            const char c = s[i];
            if (c == '/' && at(1) == '/') {
                skipTo("\n");
            } else if (c == '/' && at(1) == '*') {
                i += 2;
                skipTo("*/");
            } else if (c == '"') {
                std::string ignored;
                readLiteral(ignored);
            } else if (c == '\'') {
                skipCharLiteral();
            } else if (isIdent(c)) {
                word();
            } else {
                step();
            }
        }
        return found;
    }

private:
    std::string_view s;
    std::size_t i = 0;
    int line = 1;
    std::vector<SourceText> found;

    char at(std::size_t k) const { return i + k < s.size() ? s[i + k] : '\0'; }
    void step()
    {
        if (s[i] == '\n')
            ++line;
        ++i;
    }
    void skipTo(std::string_view end)
    {
        while (i < s.size() && s.substr(i, end.size()) != end)
            step();
        for (std::size_t k = 0; k < end.size() && i < s.size(); ++k)
            step();
    }
    void skipSpace()
    {
        while (i < s.size()) {
            if (std::isspace(static_cast<unsigned char>(s[i])))
                step();
            else if (s[i] == '/' && at(1) == '/')
                skipTo("\n");
            else if (s[i] == '/' && at(1) == '*')
                i += 2, skipTo("*/");
            else
                break;
        }
    }
    void skipCharLiteral()
    {
        step();
        while (i < s.size() && s[i] != '\'' && s[i] != '\n') {
            if (s[i] == '\\')
                step();
            if (i < s.size())
                step();
        }
        if (i < s.size())
            step();
    }
    // One "..." literal at i (escapes decoded) appended to out.
    void readLiteral(std::string& out)
    {
        step();
        while (i < s.size() && s[i] != '"' && s[i] != '\n') {
            if (s[i] == '\\' && i + 1 < s.size()) {
                step();
                switch (s[i]) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                default: out += s[i]; break;  // \" \\ \' \?
                }
            } else {
                out += s[i];
            }
            step();
        }
        if (i < s.size())
            step();
    }
    // Adjacent literals ("a" "b") as one text and the line of the first; false when no
    // literal starts here.
    bool readLiterals(std::string& out, int& startLine)
    {
        skipSpace();
        if (i >= s.size() || s[i] != '"')
            return false;
        startLine = line;
        while (i < s.size() && s[i] == '"') {
            readLiteral(out);
            skipSpace();
        }
        return true;
    }
    void add(std::string_view text, int at)
    {
        std::size_t a = 0, e = text.size();
        while (a < e && text[a] == ' ')
            ++a;
        while (e > a && text[e - 1] == ' ')
            --e;
        if (a < e)
            found.push_back({std::string(text.substr(a, e - a)), at});
    }
    void word()
    {
        const std::size_t b = i;
        while (i < s.size() && isIdent(s[i]))
            ++i;
        const std::string_view w = s.substr(b, i - b);
        const bool lookup = w == "translate" || w == "tr" || w == "TranslateText";
        const bool filter = w == "filter";
        if (!lookup && !filter)
            return;
        skipSpace();
        if (i >= s.size() || s[i] != (lookup ? '(' : '='))
            return;
        if (filter && at(1) == '=')
            return;  // a comparison
        step();
        int start = 0;
        std::string text;
        if (!readLiterals(text, start))
            return;
        if (lookup) {
            add(text, start);
            return;
        }
        // "Description (*.ext)|*.ext|...": the descriptions are what the dialog shows.
        std::size_t from = 0;
        for (int part = 0; from <= text.size(); ++part) {
            const std::size_t bar = std::min(text.find('|', from), text.size());
            if (part % 2 == 0)
                add(std::string_view(text).substr(from, bar - from), start);
            from = bar + 1;
        }
    }
};

}  // namespace

std::vector<SourceText> findSourceTexts(std::string_view code)
{
    return Scanner(code).run();
}

}  // namespace kerbon::texts
