// The translation table, its lookup, the built-in messages and translate.dat.
#include "i18n/translateunit.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "i18n/progfiles.h"

namespace kerbon {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view translateFileName = "translate.dat";

// The German texts of the built-in messages; numbers 4, 5, 35, 38 and 39 are unassigned.
constexpr std::string_view messages[builtinMessages + 1] = {
    "",
    /*  1 */ "Konte die folgende Datei nicht öffnen: ",
    /*  2 */ "Bitte schließen Sie das Program und starten Sie es neu.",
    /*  3 */ "Übersetzen",
    /*  4 */ "",
    /*  5 */ "",
    /*  6 */ "Die folgende Datei konnte nicht zum Schreiben geöffnet werden: ",
    /*  7 */ "Die Datei ist noch nicht gespeichert. Wollen Sie jetzt speichern?",
    /*  8 */ "Speichern",
    /*  9 */ "Die DXF Version dieser DXF Datei unterstützt keine Linienbreiten.",
    /* 10 */ "Die DXF Version dieser DXF untersützt keine solchen Spline Objekte.",
    /* 11 */ "DXF Datei",
    /* 12 */ "Die DXF Version dieser DXF Datei unterstützt keine Ellipsen.",
    /* 13 */ "Die DXF Version dieser DXF Datei unterstützt keine Konstruktionslinien.",
    /* 14 */ "Rot",
    /* 15 */ "Gelb",
    /* 16 */ "Grün",
    /* 17 */ "Hellblau",
    /* 18 */ "Blau",
    /* 19 */ "Rosa",
    /* 20 */ "Schwarz",
    /* 21 */ "Grau",
    /* 22 */ "Hellgrau",
    /* 23 */ "Unsichtbar",
    /* 24 */ "Sichtbar",
    /* 25 */ "Gesperrt",
    /* 26 */ "Entsperrt",
    /* 27 */ "Es existiert bereits eine Ebene mit diesem Namen.",
    /* 28 */ "Sie haben keinen Namen für die neue Ebene eingegeben.",
    /* 29 */ "Es existiert leider schon ein Linienstil mit diesem Namen.",
    /* 30 */ "Sie haben die Längen nicht korrekt eingegeben.",
    /* 31 */ "Sie haben leider keinen korrekten Namen für den Linienstil eingegeben.",
    /* 32 */ "Konnte folgende Datei nicht öffnen: ",
    /* 33 */ "Die DXF Version dieser DXF Datei unterstützt keine Strahlen.",
    /* 34 */ "unbenannt.dxf",
    /* 35 */ "",
    /* 36 */ "Die DXF Version dieser DXF untersützt keine mehrzeilen Texte. Es wird nur die "
             "erste Zeile verwendet.",
    /* 37 */ "Die DXF Version dieser DXF untersützt keine solchen \"LEADER\" Objekte.",
    /* 38 */ "",
    /* 39 */ "",
    /* 40 */ "Fehler: Konnte nicht alle Elemente auf dem Blatt unterbringen. Erhöhen Sie die "
             "Blattgröße, verringern Sie die Anzahl der Elemente oder verringern Sie den Abstand.",
};

int bucketOf(const std::u16string& key)
{
    return key.empty() ? 0 : key[0] & 0xFF;
}

void writeInt32(std::ostream& out, std::int32_t v)
{
    const auto u = std::uint32_t(v);
    const char b[4] = {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF),
                       char((u >> 24) & 0xFF)};
    out.write(b, 4);
}

bool readInt32(std::istream& in, std::int32_t& v)
{
    unsigned char b[4];
    if (!in.read(reinterpret_cast<char*>(b), 4))
        return false;
    v = std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                     std::uint32_t(b[3]) << 24);
    return true;
}

const std::u16string emptyCell;

}  // namespace

std::string columnName(int col)
{
    switch (col) {
    case 0: return "German";
    case 1: return "English";
    case 2: return "Français";
    case 3: return "Nederlands";
    default: return col > 3 && col < transColumns ? "language" + std::to_string(col) : "";
    }
}

std::string translateFileBytes(std::span<const TTransRow> rows)
{
    std::ostringstream out(std::ios::binary);
    writeInt32(out, transColumns);
    writeInt32(out, std::int32_t(rows.size()));
    for (const TTransRow& r : rows)
        for (const auto& c : r.cells)
            WriteWideString(out, std::u16string_view(c));
    return out.str();
}

std::string_view builtinMessage(int n)
{
    return n >= 1 && n <= builtinMessages ? messages[n] : std::string_view();
}

TranslationTable::TranslationTable()
{
    for (auto& b : index)
        b = std::make_unique<TDynaArray<TTransKey>>(&curkey);
}

void TranslationTable::InitTranslation(const std::string& progpath_, const std::string& configdir_,
                                       const std::vector<std::string>& datadirs_)
{
    progpath = progpath_;
    configdir = configdir_;
    datadirs = datadirs_;
    LoadTranslateFile();
}

std::string TranslationTable::shippedTranslateFile() const
{
    std::error_code ec;
    for (const std::string& dir : datadirs)
        if (!dir.empty() && fs::is_regular_file(dir + std::string(translateFileName), ec))
            return dir + std::string(translateFileName);
    return "";
}

std::string TranslationTable::translateFileForReading() const
{
    const std::string own = progFileForReading(progpath, configdir, translateFileName);
    std::error_code ec;
    if (own.empty() || fs::is_regular_file(own, ec))
        return own;
    const std::string shipped = shippedTranslateFile();
    return shipped.empty() ? own : shipped;
}

void TranslationTable::LoadTranslateFile()
{
    rows.Clear();
    const std::string path = translateFileForReading();
    std::vector<TTransRow> loaded = readTranslateFile(path);
    if (const std::string shipped = shippedTranslateFile(); !shipped.empty() && shipped != path)
        mergeShipped(loaded, readTranslateFile(shipped));
    if (TTransRow* first = rows.AddMany(std::uint32_t(loaded.size())))
        std::move(loaded.begin(), loaded.end(), first);
    rebuildIndex();
}

std::vector<TTransRow> readTranslateFile(const std::string& path)
{
    std::ifstream in;
    if (!path.empty())
        in.open(path, std::ios::binary);
    std::int32_t ncols = 0, nrows = 0;
    // A file without columns can hold no text; counts are trusted only as far as complete
    // rows are really there, so a damaged count never makes the table large by itself.
    std::vector<TTransRow> loaded;
    if (in && readInt32(in, ncols) && readInt32(in, nrows) && nrows > 0 && ncols > 0) {
        for (std::int32_t r = 0; r < nrows; ++r) {
            TTransRow row;
            bool complete = true;
            for (std::int32_t c = 0; c < ncols && complete; ++c) {
                auto s = ReadWideString(in);
                if (!s)
                    complete = false;
                else if (c < transColumns)
                    row.cells[c] = std::move(*s);
            }
            if (!complete)
                break;
            loaded.push_back(std::move(row));
        }
    }
    return loaded;
}

void mergeShipped(std::vector<TTransRow>& rows, std::vector<TTransRow> shipped)
{
    std::unordered_map<std::u16string, std::size_t> byGerman;
    for (std::size_t r = 0; r < rows.size(); ++r)
        byGerman.emplace(rows[r].cells[0], r);  // the first of equal rows answers lookups
    for (TTransRow& s : shipped) {
        if (s.cells[0].empty())
            continue;
        const auto it = byGerman.find(s.cells[0]);
        if (it == byGerman.end()) {
            byGerman.emplace(s.cells[0], rows.size());
            rows.push_back(std::move(s));
            continue;
        }
        TTransRow& own = rows[it->second];
        for (int c = 1; c < transColumns; ++c)
            if (own.cells[c].empty())
                own.cells[c] = std::move(s.cells[c]);
    }
}

bool TranslationTable::SaveTranslateFile()
{
    if (progpath.empty() && configdir.empty())
        return false;
    const std::string bytes =
        translateFileBytes(std::span<const TTransRow>(rows.poi(), rows.count()));
    lastsaved = writeProgFile(progpath, configdir, translateFileName, bytes);
    return !lastsaved.empty();
}

void TranslationTable::rebuildIndex()
{
    for (auto& b : index)
        b->Clear();
    std::uint32_t perBucket[transBuckets] = {};
    for (std::uint32_t r = 0; r < rows.count(); ++r) {
        const std::u16string& german = rows.recordAt(r).cells[0];
        if (!german.empty())
            ++perBucket[bucketOf(german)];
    }
    TTransKey* next[transBuckets] = {};
    for (int b = 0; b < transBuckets; ++b)
        next[b] = index[b]->AddMany(perBucket[b]);
    for (std::uint32_t r = 0; r < rows.count(); ++r) {
        const std::u16string& german = rows.recordAt(r).cells[0];
        const int b = bucketOf(german);
        if (german.empty() || !next[b])
            continue;
        next[b]->key = german;
        next[b]->rownr = std::int32_t(r);
        ++next[b];
    }
    for (int b = 0; b < transBuckets; ++b)
        if (index[b]->count() > 1)
            SortIndexBucket(b, 0, std::int64_t(index[b]->count()) - 1);
}

// Sorts by key, ordinal on UTF-16 code units. The sort is stable: among rows with the same
// German text the earlier row stays first and so answers the lookup. It takes n log n
// steps whatever the order of the keys in the file.
void TranslationTable::SortIndexBucket(int b, std::int64_t lo, std::int64_t hi)
{
    if (b < 0 || b >= transBuckets)
        return;
    TDynaArray<TTransKey>& keys = *index[b];
    if (lo < 0 || hi >= std::int64_t(keys.count()) || lo >= hi)
        return;
    std::stable_sort(keys.poi() + lo, keys.poi() + hi + 1,
                     [](const TTransKey& x, const TTransKey& y) { return x.key < y.key; });
}

std::int64_t TranslationTable::findRow(const std::u16string& key)
{
    TDynaArray<TTransKey>& keys = *index[bucketOf(key)];
    for (std::uint32_t i = 0; i < keys.count(); ++i) {
        const TTransKey& k = keys.recordAt(i);
        if (k.key == key && k.rownr >= 0 && std::uint32_t(k.rownr) < rows.count())
            return k.rownr;
    }
    return -1;
}

bool TranslationTable::addRow(const std::u16string& key)
{
    TTransRow* row = rows.Add();
    if (!row)
        return false;
    row->cells[0] = key;
    TTransKey* k = index[bucketOf(key)]->Add();
    if (!k) {
        rows.Delete(std::int64_t(rows.count()) - 1);
        return false;
    }
    k->key = key;
    k->rownr = std::int32_t(rows.count() - 1);
    return true;
}

bool TranslationTable::lookup(const std::u16string& text, std::u16string& answer)
{
    if (text.empty())
        return false;
    std::size_t a = 0, e = text.size();
    while (a < e && text[a] == u' ')
        ++a;
    if (a == e)
        return false;  // blanks only
    while (text[e - 1] == u' ')
        --e;
    const std::size_t t = text.size() - e;
    const std::u16string key = text.substr(a, e - a);

    const std::int64_t r = findRow(key);
    if (r < 0) {
        if (addRow(key))
            SaveTranslateFile();
        return false;
    }
    // German (and any language number the table has no column for) answers with the input
    // itself: column 0 is that text, and line breaks around it stay where they were.
    if (language <= 0 || language >= transColumns)
        return false;
    const std::u16string& c = rows.GetObject(r)->cells[language];
    if (c.empty())
        return false;
    std::size_t b = 0, f = c.size();
    while (b < f && c[b] <= u' ')
        ++b;
    while (f > b && c[f - 1] <= u' ')
        --f;
    answer.assign(a, u' ');
    answer.append(c, b, f - b);
    answer.append(t, u' ');
    return true;
}

std::u16string TranslationTable::TranslateText(const std::u16string& text)
{
    std::u16string answer;
    return lookup(text, answer) ? answer : text;
}

std::string TranslationTable::TranslateText(const std::string& text)
{
    if (text.empty())
        return text;
    std::u16string answer;
    // An untranslated text comes back byte for byte, even where it was not valid UTF-8.
    return lookup(utf8ToUtf16(text), answer) ? utf16ToUtf8(answer) : text;
}

std::string TranslationTable::TranslateComponentText(std::string_view, std::string_view,
                                                     const std::string& text)
{
    return TranslateText(text);
}

bool TranslationTable::GetMessageText(int n, std::string& text)
{
    if (n < 1 || n > builtinMessages)
        return false;
    text = TranslateText(std::string(messages[n]));
    return true;
}

std::string TranslationTable::GetMessageText(int n)
{
    std::string text;
    GetMessageText(n, text);
    return text;
}

void TranslationTable::RegisterMessages()
{
    for (int n = 1; n <= builtinMessages; ++n)
        (void)GetMessageText(n);
}

const std::u16string& TranslationTable::cell(std::uint32_t row, int col) const
{
    if (row >= rows.count() || col < 0 || col >= transColumns)
        return emptyCell;
    return rows.recordAt(row).cells[col];
}

void TranslationTable::SetCellText(std::uint32_t row, int col, std::u16string text)
{
    if (row >= rows.count() || col < 0 || col >= transColumns)
        return;
    rows.GetObject(row)->cells[col] = std::move(text);
}

void TranslationTable::SetCellText(std::uint32_t row, int col, std::string_view text)
{
    SetCellText(row, col, utf8ToUtf16(text));
}

void TranslationTable::deleteRow(std::uint32_t row)
{
    if (row >= rows.count())
        return;
    rows.Delete(row);
    rebuildIndex();
}

TranslationTable& translations()
{
    static TranslationTable table;
    return table;
}

std::string TranslateText(const std::string& text)
{
    return translations().TranslateText(text);
}

bool GetMessageText(int n, std::string& text)
{
    return translations().GetMessageText(n, text);
}

std::string GetMessageText(int n)
{
    return translations().GetMessageText(n);
}

std::vector<ComponentText> componentTexts(ComponentKind kind)
{
    using T = ComponentText;
    switch (kind) {
    case ComponentKind::Label:
    case ComponentKind::RadioButton:
    case ComponentKind::Form:
    case ComponentKind::Button:
    case ComponentKind::GroupBox:
    case ComponentKind::MenuItem: return {T::Caption, T::Hint};
    case ComponentKind::CheckBox: return {T::Hint, T::Caption};
    case ComponentKind::SpinEdit:
    case ComponentKind::ToolButton: return {T::Hint};
    case ComponentKind::ComboBox: return {T::Items, T::Hint};
    case ComponentKind::StringGrid: return {T::TitleRow, T::Hint};
    case ComponentKind::ListView: return {T::ColumnCaptions, T::Hint};
    case ComponentKind::FileDialog: return {T::Filter};
    case ComponentKind::Memo: return {T::Lines, T::Hint};
    case ComponentKind::Edit: return {T::Text, T::Hint};
    case ComponentKind::Other: break;
    }
    return {};
}

}  // namespace kerbon
