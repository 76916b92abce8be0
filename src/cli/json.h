// A small JSON writer for the command line's --json output: one object, fields in the
// order they are added. Text values are escaped so the output stays valid JSON even when a
// drawing holds control characters or bytes that are not UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "dxf/encoding.h"

namespace kerbon::cli {

// The quoted JSON form of s. Ill-formed UTF-8 becomes U+FFFD.
inline std::string jsonString(std::string_view s)
{
    std::string out = "\"";
    size_t i = 0;
    while (i < s.size()) {
        const auto u = static_cast<unsigned char>(s[i]);
        if (u >= 0x80) {
            const size_t from = i;
            if (enc::nextCodePoint(s, i) == enc::invalidCodePoint)
                out += "\\ufffd";
            else
                out.append(s.substr(from, i - from));
            continue;
        }
        ++i;
        switch (u) {
        case '"':  out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20 || u == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += char(u);
            }
        }
    }
    return out + "\"";
}

// Builds {"key": value, ...}. `raw` takes a value already in JSON form (a nested array or
// object, a formatted number).
class JsonObject {
public:
    JsonObject& field(std::string_view key, std::string_view text) { return raw(key, jsonString(text)); }
    JsonObject& field(std::string_view key, const char* text) { return field(key, std::string_view(text)); }
    JsonObject& field(std::string_view key, const std::string& text) { return field(key, std::string_view(text)); }
    JsonObject& field(std::string_view key, long long n) { return raw(key, std::to_string(n)); }
    JsonObject& field(std::string_view key, int n) { return field(key, static_cast<long long>(n)); }
    JsonObject& field(std::string_view key, bool b) { return raw(key, b ? "true" : "false"); }
    JsonObject& raw(std::string_view key, std::string_view json)
    {
        if (out.size() > 1)
            out += ", ";
        out += jsonString(key);
        out += ": ";
        out += json;
        return *this;
    }
    std::string str() const { return out + "}"; }

private:
    std::string out = "{";
};

}  // namespace kerbon::cli
