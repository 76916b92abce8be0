// The values of the small input dialogs, owned by the editor so that a value typed once is
// offered again the next time. The window shows them through Ui and writes back what the
// user typed; the tools read them afterwards.
#pragma once

#include <string>
#include <vector>

namespace kerbon {

// "Text hinzufügen".
struct TextValues {
    std::string text;               // Memo1: the lines, separated by "\n"
    double fontsize = 0.2;          // FontSizeEd: height of new texts (1e-06 ... 1000000)
    double fontsizeDimension = 0.5; // FontSizeDimensionEd: height of dimension texts
    double winkel = 0;              // WinkEd: angle in degrees (0 ... 360)
};

// "Array erstellen".
struct ArrayValues {
    int spalten = 4;                // SpaltenEd: columns (1 ... 10000)
    int zeilen = 4;                 // ZeilenEd: rows (1 ... 10000)
    double spaltenAbstand = 4;      // SpaltenAbstandEd: column spacing
    double zeilenAbstand = 4;       // ZeilenAbstandEd: row spacing
    double rotieren = 0;            // RotierenEd: rotation in degrees
};

// "Vieleck".
struct PolygonValues {
    int ecken = 3;                  // EckenEd: corner count (3 ... 1000)
};

// "Rotationswinkel eingeben".
struct RotationValues {
    double rot = 0;                 // RotEd: degrees, a positive angle turns clockwise
};

// "Skalierungsfaktor eingeben".
struct ScaleValues {
    double skal = 100;              // SkalEd: per cent (1e-05 ... 100000)
};

// The lines of a memo text as the text dialog holds them: split at "\n" (a "\r" before it
// is dropped); a final line break makes no empty last line, and an empty text has no line.
std::vector<std::string> memoLines(const std::string& text);

}  // namespace kerbon
