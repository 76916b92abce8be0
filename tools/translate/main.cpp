// kerbon-translate: keeps translations/texts.txt complete and makes data/translate.dat from it.
//
//   kerbon-translate list   [SOURCE_DIR]   the program's German texts without English
//   kerbon-translate update [SOURCE_DIR]   adds those texts to translations/texts.txt with an
//                                          empty "en:" line and writes data/translate.dat
//
// SOURCE_DIR is the repository (default: the one this program was built from). The program's
// windows are built offscreen; no display is needed.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "collect.h"
#include "i18n/progfiles.h"
#include "texttable.h"

using namespace kerbon::texts;

namespace {

constexpr const char* tablePath = "translations/texts.txt";

// "src/edit/Editor.cpp:196" -> "src/edit/Editor.cpp": a file name stays true longer.
std::string withoutLineNumber(const std::string& origin)
{
    const std::size_t colon = origin.rfind(':');
    if (!origin.starts_with("src/") || colon == std::string::npos)
        return origin;
    return origin.substr(0, colon);
}

int usage()
{
    std::fprintf(stderr, "usage: kerbon-translate list|update [SOURCE_DIR]\n");
    return 2;
}

bool readFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return true;
}

// Writes beside the target and renames it into place.
bool replaceFile(const std::string& dir, const std::string& name, const std::string& bytes)
{
    return !kerbon::writeProgFile(dir, "", name, bytes).empty();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
        return usage();
    const std::string mode = argv[1];
    if (mode != "list" && mode != "update")
        return usage();
    std::string root = argc == 3 ? argv[2] : KERBON_SOURCE_DIR;
    if (!root.ends_with('/'))
        root += '/';
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kerbon");

    std::string text;
    if (!readFile(root + tablePath, text)) {
        std::fprintf(stderr, "kerbon-translate: cannot read %s%s\n", root.c_str(), tablePath);
        return 1;
    }
    TextTable table;
    std::string error;
    if (!parseTextTable(text, table, error)) {
        std::fprintf(stderr, "%s%s: %s\n", root.c_str(), tablePath, error.c_str());
        return 1;
    }

    const std::vector<FoundText> found = collectProgramTexts(root);
    std::string added;
    int missing = 0;
    for (const FoundText& f : found) {
        const Entry* e = table.find(f.german);
        if (e && !e->cells[1].empty())
            continue;
        ++missing;
        std::printf("%s  (%s)\n", escapeText(f.german).c_str(), f.origin.c_str());
        if (!e) {
            Entry n;
            n.cells[0] = f.german;
            added += formatEntry(n, withoutLineNumber(f.origin), true);
        }
    }
    std::set<std::string> used;
    for (const FoundText& f : found)
        used.insert(f.german);
    for (const Entry& e : table.entries)
        if (!used.count(e.cells[0]))
            std::printf("note: %s:%d \"%s\" is no longer shown by the program\n", tablePath,
                        e.line, escapeText(e.cells[0]).c_str());

    if (mode == "list") {
        std::printf("%d text(s) without English\n", missing);
        return missing == 0 ? 0 : 1;
    }
    if (!added.empty()) {
        if (!text.empty() && !text.ends_with("\n\n"))
            text += text.ends_with('\n') ? "\n" : "\n\n";
        added.pop_back();  // no blank line at the end of the file
        text += added;
        if (!replaceFile(root + "translations/", "texts.txt", text) ||
            !parseTextTable(text, table, error)) {
            std::fprintf(stderr, "kerbon-translate: cannot update %s\n", tablePath);
            return 1;
        }
    }
    if (!replaceFile(root + "data/", "translate.dat", translateFileBytes(table))) {
        std::fprintf(stderr, "kerbon-translate: cannot write data/translate.dat\n");
        return 1;
    }
    std::printf("%d text(s) without English%s; data/translate.dat has %zu rows\n", missing,
                missing ? " (fill in their \"en:\" lines and run update again)" : "",
                table.entries.size());
    return 0;
}
