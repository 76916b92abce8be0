// kerbon-cli save: load a drawing and save it again, exactly as the editor's
// "Speichern unter..." writes the line list.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "dxf/LineStore.h"

using namespace kerbon;

namespace {

const char* const usageText =
    "usage: kerbon-cli save SRC DST [--encoding ENC] [--strict]\n"
    "  Saves SRC to DST in the encoding SRC was read in, each line ended by CR LF.\n"
    "  --encoding ENC  save in ENC instead: ansi, utf-8, utf-8-bom, utf-16le, utf-16be\n"
    "  --strict        refuse to save when characters would be lost because the encoding\n"
    "                  cannot hold them; without it they are named on stderr, replaced\n"
    "                  ('?' in ansi) and the file is saved\n";

int usage()
{
    std::fputs(usageText, stderr);
    return 2;
}

}  // namespace

int cmdSave(int argc, char** argv)
{
    const char* paths[2] = {nullptr, nullptr};
    int npaths = 0;
    bool strict = false;
    std::optional<Encoding> encoding;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--strict") == 0) {
            strict = true;
        } else if (std::strcmp(argv[i], "--encoding") == 0) {
            if (i + 1 >= argc || !(encoding = encodingFromName(argv[i + 1])))
                return usage();
            ++i;
        } else if (npaths < 2) {
            paths[npaths++] = argv[i];
        } else {
            return usage();
        }
    }
    if (npaths < 2)
        return usage();

    LineStore store;
    if (isBinaryDxfFile(paths[0])) {  // the lines of a binary file would be saved corrupted
        std::fprintf(stderr, "kerbon-cli: %s is a binary DXF file; only DXF text files can be "
                             "saved, nothing written\n", paths[0]);
        return 1;
    }
    if (!loadLines(paths[0], store)) {
        std::fprintf(stderr, "kerbon-cli: cannot open %s\n", paths[0]);
        return 1;
    }
    if (encoding)
        store.encoding = *encoding;
    const std::vector<char32_t> lost = unrepresentable(store);
    if (!lost.empty()) {
        std::fprintf(stderr, "kerbon-cli: %s cannot hold these characters: %s\n",
                     encodingName(store.encoding), describeChars(lost).c_str());
        if (strict) {
            std::fprintf(stderr, "kerbon-cli: not saved (--strict)\n");
            return 1;
        }
    }
    if (!saveLines(paths[1], store)) {
        std::fprintf(stderr, "kerbon-cli: cannot write %s\n", paths[1]);
        return 1;
    }
    return 0;
}
