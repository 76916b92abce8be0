// The translation editor's work on the translation table, without widgets. The editor shows
// the table as a grid: grid row 0 holds the column names, grid row r >= 1 shows table row
// r - 1, one column per language. It keeps no data of its own: every change goes straight
// into the table and the table is saved at once.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/translateunit.h"

namespace kerbon {

struct GridCell {
    int row = 0;  // grid row: 0 the title row, r the table row r - 1
    int col = 0;  // 0 ... 19, the table column
    bool operator==(const GridCell&) const = default;
};

// Table rows plus the title row.
int gridRowCount(const TranslationTable& t);
// The text of a grid cell: the column name in row 0, the table's cell below; empty outside.
std::string gridText(const TranslationTable& t, GridCell cell);

// A cell's text changed while being edited (called for every keystroke). Stores the value
// in the table, rebuilding the index when the German text changed, and saves the table.
// A cell of the title row or outside the table changes nothing, but the table is still saved.
void setGridText(TranslationTable& t, GridCell cell, std::string_view value);

// Deletes the table row shown in grid row `row` when `confirm` (asked with the row's German
// text) agrees; the index is rebuilt. The table is saved in every case. True when deleted.
bool deleteGridRow(TranslationTable& t, int row,
                   const std::function<bool(const std::string& german)>& confirm);

// Whether a cell matches a search text: the cell contains it, with the letters a ... z
// made capitals in both (no other letter changes case). An empty search text matches nothing.
bool gridCellMatches(std::string_view text, std::string_view search);
// The first matching cell at or after `from`, row by row from the title row on and within a
// row from column 0 to 19; nullopt when there is none up to the last cell.
std::optional<GridCell> findGridCell(const TranslationTable& t, std::string_view search,
                                     GridCell from);
// The cell after `c` in that order (the next row's column 0 after column 19).
GridCell nextGridCell(GridCell c);

}  // namespace kerbon
