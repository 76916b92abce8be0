// Names of layers and line types: which names a drawing can hold, and when two names
// count as the same.
#pragma once

#include <string>
#include <string_view>

#include "dxf/model.h"

namespace kerbon::styles {

// Why a new name cannot be used.
enum class NameCheck {
    Ok,
    Empty,         // nothing but blanks
    BadCharacter,  // one of < > / \ " : ; ? * | = or a control character
    Exists,        // equal to a name of the table, letter case and outer blanks aside
};

// The name without blanks and tabs around it.
std::string_view trimmedName(std::string_view s);
// The name trimmed and in capitals (a ... z and the accented Latin letters), as names are
// compared when a new one is checked.
std::string nameKey(std::string_view s);
// True when the name holds a character a table name cannot hold in a drawing.
bool hasBadCharacter(std::string_view name);

NameCheck checkNewLayerName(const model::DisplayModel& m, std::string_view name);
NameCheck checkNewLineTypeName(const model::DisplayModel& m, std::string_view name);

}  // namespace kerbon::styles
