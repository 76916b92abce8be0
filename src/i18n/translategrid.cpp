// The translation editor's grid over the table: cell changes, row deletion and the search.
#include "i18n/translategrid.h"

namespace kerbon {

namespace {

bool inTable(const TranslationTable& t, GridCell c)
{
    return c.row >= 1 && std::uint32_t(c.row) <= t.rowCount() && c.col >= 0 &&
           c.col < transColumns;
}

std::string capitalsAtoZ(std::string_view s)
{
    std::string out(s);
    for (char& ch : out)
        if (ch >= 'a' && ch <= 'z')
            ch = char(ch - 'a' + 'A');
    return out;
}

}  // namespace

int gridRowCount(const TranslationTable& t)
{
    return int(t.rowCount()) + 1;
}

std::string gridText(const TranslationTable& t, GridCell cell)
{
    if (cell.row == 0)
        return columnName(cell.col);
    return inTable(t, cell) ? t.cellText(std::uint32_t(cell.row - 1), cell.col) : "";
}

void setGridText(TranslationTable& t, GridCell cell, std::string_view value)
{
    if (inTable(t, cell)) {
        t.SetCellText(std::uint32_t(cell.row - 1), cell.col, value);
        if (cell.col == 0)
            t.rebuildIndex();
    }
    t.SaveTranslateFile();
}

bool deleteGridRow(TranslationTable& t, int row,
                   const std::function<bool(const std::string& german)>& confirm)
{
    bool deleted = false;
    if (inTable(t, {row, 0}) && confirm(t.cellText(std::uint32_t(row - 1), 0))) {
        t.deleteRow(std::uint32_t(row - 1));
        deleted = true;
    }
    t.SaveTranslateFile();
    return deleted;
}

bool gridCellMatches(std::string_view text, std::string_view search)
{
    if (search.empty())
        return false;
    return capitalsAtoZ(text).find(capitalsAtoZ(search)) != std::string::npos;
}

GridCell nextGridCell(GridCell c)
{
    return c.col + 1 < transColumns ? GridCell{c.row, c.col + 1} : GridCell{c.row + 1, 0};
}

std::optional<GridCell> findGridCell(const TranslationTable& t, std::string_view search,
                                     GridCell from)
{
    if (search.empty() || from.row < 0 || from.col < 0)
        return std::nullopt;
    for (GridCell c = from; c.row < gridRowCount(t); c = nextGridCell(c))
        if (c.col < transColumns && gridCellMatches(gridText(t, c), search))
            return c;
    return std::nullopt;
}

}  // namespace kerbon
