// The translation table: one row per German text with its translations, an index of
// 256 buckets over the rows, the lookup that every user-visible text passes through, the
// 40 built-in messages and the file translate.dat.
//
// The table grows by itself: a German text it does not hold yet becomes a new row with
// empty translations and the file is rewritten at once.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "nesting/tarvel.h"

namespace kerbon {

constexpr int transColumns = 20;     // column 0 German, 1 English, 2 French, 3 Dutch, ...
constexpr int transBuckets = 256;    // index buckets, by the low 8 bits of the first code unit
constexpr int builtinMessages = 40;  // message numbers 1 ... 40

// One German text and its translations, UTF-16 as in the file. Column 0 holds the German
// text without leading and trailing blanks; an empty cell is not yet translated.
struct TTransRow {
    std::u16string cells[transColumns];
};

// An index entry: a copy of a row's German text and that row's number.
struct TTransKey {
    std::u16string key;
    std::int32_t rownr = 0;
};

// Column captions of the translation editor: "German", "English", "Français",
// "Nederlands", then "language4" ... "language19". Empty for other columns.
std::string columnName(int col);

// The rows of a translate.dat (none when it cannot be read; the complete rows of a damaged one).
std::vector<TTransRow> readTranslateFile(const std::string& path);
// Adds to `rows` what the shipped table has beyond them: its rows whose German text they lack,
// and its translations where their cells are empty. Nothing of `rows` is overwritten.
void mergeShipped(std::vector<TTransRow>& rows, std::vector<TTransRow> shipped);

// translate.dat holding these rows: 20 columns, the row count, every row's cells in column
// order (each a 32-bit length and UTF-16 LE code units, little-endian throughout).
std::string translateFileBytes(std::span<const TTransRow> rows);

// The German text of built-in message n; empty for unassigned and out-of-range numbers.
std::string_view builtinMessage(int n);

class TranslationTable {
public:
    TranslationTable();
    TranslationTable(const TranslationTable&) = delete;
    TranslationTable& operator=(const TranslationTable&) = delete;

    // The column answered by lookups: the main window's language (0 German, 1 English,
    // ...). A number outside 0 ... 19 answers with the German text.
    int language = 0;

    // Sets where translate.dat lives (program directory and per-user configuration
    // directory, each ending in "/" or empty) and loads it. With both empty the table lives
    // in memory only. `datadirs` are where the program's shipped table may lie (searched in
    // order): it is read when neither directory has a translate.dat, and otherwise fills in
    // the rows and translations the user's table lacks.
    void InitTranslation(const std::string& progpath, const std::string& configdir,
                         const std::vector<std::string>& datadirs = {});

    // The lookup. Returns the text of the current language for a German text; leading and
    // trailing blanks of the input are kept around the answer. Adds a row (and rewrites the
    // file) for a text not yet in the table. Texts in and out are UTF-8.
    std::string TranslateText(const std::string& text);
    std::u16string TranslateText(const std::u16string& text);

    // The same lookup for a text of a window's component. The table is keyed by the German
    // text alone; the window and component names say where the text came from and do not
    // change the answer.
    std::string TranslateComponentText(std::string_view window, std::string_view component,
                                       const std::string& text);

    // Built-in message n (1 ... 40) in the current language. For any other n the first form
    // leaves `text` unchanged and returns false; the second returns an empty text.
    bool GetMessageText(int n, std::string& text);
    std::string GetMessageText(int n);

    // Passes every built-in message through the lookup once, so each has a row.
    void RegisterMessages();

    // Reads translate.dat into the table (replacing what it held), merges the shipped table
    // into it and rebuilds the index. A missing or unreadable file gives an empty table; a
    // file shorter than its counts gives the rows that are complete.
    void LoadTranslateFile();
    // Writes the whole table. False when it could not be written (the table is kept).
    bool SaveTranslateFile();

    // Rebuilds the index from the rows: one key per row whose German text is not empty,
    // every bucket sorted. Needed after column 0 of a row changed or a row was deleted.
    void rebuildIndex();
    // Sorts entries lo ... hi of bucket b by key (UTF-16 code units, ordinal); rows with
    // the same German text keep their order.
    void SortIndexBucket(int b, std::int64_t lo, std::int64_t hi);

    std::uint32_t rowCount() const { return rows.count(); }
    const std::u16string& cell(std::uint32_t row, int col) const;
    std::string cellText(std::uint32_t row, int col) const { return utf16ToUtf8(cell(row, col)); }
    // Replaces a cell (row < rowCount, 0 <= col < 20; others are ignored). Does not touch
    // the index or the file: after column 0 changed call rebuildIndex, then save.
    void SetCellText(std::uint32_t row, int col, std::string_view text);
    void SetCellText(std::uint32_t row, int col, std::u16string text);
    // Removes a row and rebuilds the index; the file is not touched.
    void deleteRow(std::uint32_t row);

    // The file the table was read from / is read from next, the shipped table (empty when
    // there is none), and the last file written.
    std::string translateFileForReading() const;
    std::string shippedTranslateFile() const;
    const std::string& lastSavedPath() const { return lastsaved; }

    // Read access to the index (for checks): bucket b.
    const TDynaArray<TTransKey>& bucket(int b) const { return *index[b]; }

private:
    TTransRow* currow = nullptr;  // the row list's current record
    TTransKey* curkey = nullptr;  // the current record of whichever bucket moved last
    TDynaArray<TTransRow> rows{&currow};
    std::array<std::unique_ptr<TDynaArray<TTransKey>>, transBuckets> index;
    std::string progpath, configdir, lastsaved;
    std::vector<std::string> datadirs;

    // Finds the row of a German text (already without blanks); -1 when there is none.
    std::int64_t findRow(const std::u16string& key);
    // Appends a row for a new German text and its key; false when no memory was had.
    bool addRow(const std::u16string& key);
    // The lookup on UTF-16; false when the answer is the input itself.
    bool lookup(const std::u16string& text, std::u16string& answer);
};

// The program's one table, set up by the main window at start (InitTranslation).
TranslationTable& translations();
// Shorthands for the program's table.
std::string TranslateText(const std::string& text);
bool GetMessageText(int n, std::string& text);
std::string GetMessageText(int n);

// What the window translation translates, by the kind of component, in this order. Every
// kind that can show a hint has it translated, so that no hint stays German.
enum class ComponentKind {
    Other,        // left alone
    Label,        // caption, then hint
    RadioButton,  // caption, then hint
    Form,         // caption, then hint
    CheckBox,     // hint, then caption
    Button,       // caption, then hint (buttons with a picture too)
    GroupBox,     // caption, then hint
    MenuItem,     // caption, then hint
    SpinEdit,     // hint
    ToolButton,   // hint
    ComboBox,     // every item (the selected index restored after each), then hint
    StringGrid,   // the cell of row 0 in every column, then hint
    ListView,     // every column caption, then hint
    FileDialog,   // the filter text
    Memo,         // every line, then hint
    Edit,         // the text, then hint
};
enum class ComponentText { Caption, Hint, Items, TitleRow, ColumnCaptions, Filter, Lines, Text };
std::vector<ComponentText> componentTexts(ComponentKind kind);

// The walk of the window translation: breadth first over the ownership tree from root;
// each component's owned components are visited from the last owned to the first, passed
// to `translate` and queued in that order. The root itself is not passed (a window root's
// caption is translated by the caller first). `ownedOf(node)` returns the owned components
// in ownership order.
template <class Node, class OwnedOf, class Translate>
void walkOwnedComponents(Node root, OwnedOf ownedOf, Translate translate)
{
    std::deque<Node> queue{root};
    while (!queue.empty()) {
        const auto owned = ownedOf(queue.front());
        for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
            translate(*it);
            queue.push_back(*it);
        }
        queue.pop_front();
    }
}

}  // namespace kerbon
