// The files kept beside the program: the bytes serve as translate.dat and as options.dat.
// The table is loaded, merged with the shipped one, looked up in the language options.dat
// names (any number), grown by new texts and built-in messages and saved; the saved file must read
// back as the table.
#include <cstddef>
#include <cstdint>

#include "edit/Editor.h"
#include "fuzz_support.h"
#include "i18n/translateunit.h"

using namespace kerbon;

namespace {

bool sameRows(const TranslationTable& t, const std::vector<TTransRow>& rows)
{
    if (rows.size() != t.rowCount())
        return false;
    for (uint32_t r = 0; r < t.rowCount(); ++r)
        for (int c = 0; c < transColumns; ++c)
            if (t.cell(r, c) != rows[r].cells[c])
                return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::CpuLimit limit;
    static const std::vector<TTransRow> shipped =
        readTranslateFile(KERBON_SOURCE_DATA_DIR "translate.dat");
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string dir = fuzz::scratchDir();
    fuzz::require(fuzz::writeFile(dir + "translate.dat", bytes), "cannot write translate.dat");
    fuzz::require(fuzz::writeFile(dir + "options.dat", bytes), "cannot write options.dat");

    fuzz::QuietUi ui;
    Editor ed(ui);
    ed.progpath = dir;
    ed.LoadOptions();

    std::vector<TTransRow> merged = readTranslateFile(dir + "translate.dat");
    mergeShipped(merged, shipped);

    TranslationTable t;
    t.InitTranslation(dir, "");
    t.language = ed.languagesetto;
    // Every text the table lacks becomes a row and rewrites the file: a few lookups suffice.
    t.TranslateText("  Öffnen...  ");
    t.TranslateText(std::string(bytes.substr(0, 40)));
    const int n = int(fuzz::inputChoice(bytes, builtinMessages + 2));  // 0 ... 41
    t.GetMessageText(n);
    t.GetMessageText(builtinMessages + 1 - n);
    fuzz::require(t.SaveTranslateFile(), "cannot save translate.dat");
    fuzz::require(sameRows(t, readTranslateFile(t.lastSavedPath())),
                  "saved translate.dat reads back as another table");
    return 0;
}
