#pragma once
// The title mark-up: plain runs and groups "{code,n}". For every code except "c"
// a group gives the n characters after its closing brace the code's style; "c"
// stands for the one character with ANSI code n. The parser only splits a text
// into runs; what a code means (font, offset, symbol) is up to each drawing class.
#include "platform/OutputObject.h"
#include "platform/VbError.h"
#include <QString>
#include <array>
#include <optional>
#include <vector>

struct MarkupRun {
    bool plain = true;   // text outside groups
    QString code;        // the group's code (case kept); empty for plain runs
    QString text;        // the run's characters; for "c" the character itself
    int end = 0;         // 1-based position of the last character the run consumed
};

struct MarkupParse {
    std::vector<MarkupRun> runs;   // in order; plain runs may be empty
    bool missingComma = false;     // parsing stopped at a group without a comma
    // A malformed group (number not numeric: 13; closing brace missing or before the
    // comma, character code outside 0..255: 5). The runs before it stand.
    std::optional<VbError> error;
};

MarkupParse ParseMarkup(const QString& text);

// The text without its groups (each from its opening brace to the first closing
// brace after it), as it is measured for alignment.
QString MarkupMeasuringText(const QString& text);

// The exponent rule: a text that reads as a number in the program's locale and
// contains "E" or "e" becomes mantissa & "*10{h,k}" & exponent (k its length), so
// that the exponent is raised. nullopt for any other text.
std::optional<QString> ExponentMarkup(const QString& text);

// Fonts 1 to 5 of a font set, derived from a base font: 1 and 2 the base font, 3 the
// same in the "Symbol" face, 4 at index size, 5 in "Symbol" at index size. The index
// size is the base size / 1.175, rounded to a whole number (half to even). Font 0 is
// left alone.
void DeriveFontSet(const FontSpec& base, std::array<FontSpec, 6>& fonts);

// The font of the set a run is drawn in: 2 for plain runs and "c", 3 for "g", 4 for
// "t" and "h", 5 for "gt" and "gh"; nullopt for other codes, which keep the font of
// the run before.
std::optional<int> MarkupFontNumber(const MarkupRun& run);

// Font number (MarkupFontNumber) and vertical offset of a run: "t" and "gt" lowered 0.35
// and "h" and "gh" raised 0.25 times the run's height, "g" raised 0.1 times the height
// of "g"; plain runs, "c" and other codes stand on the line.
struct MarkupStyle {
    std::optional<int> font;   // nullopt: the previous run's font
    double factor = 0.0;       // times the line height (positive raises)
    bool ofRun = true;         // height of the run, else of the code's own letter
};
MarkupStyle MarkupStyleOf(const MarkupRun& run);
