#pragma once
// The title mark-up: plain runs and groups "{code,n}". For every code except "c"
// a group gives the n characters after its closing brace the code's style; "c"
// stands for the one character with ANSI code n. The parser only splits a text
// into runs; what a code means (font, offset, symbol) is up to each drawing class.
#include "platform/VbError.h"
#include <QString>
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

// Font number (of the font set) and vertical offset of a run: plain runs and "c" font 2;
// "t" and "h" the index font 4, lowered 0.35 or raised 0.25 times the run's height;
// "g" the Greek font 3, raised 0.1 times the height of "g"; "gt" and "gh" the Greek
// index font 5, lowered or raised like "t" and "h". Any other code keeps the previous
// run's font, without an offset.
struct MarkupStyle {
    std::optional<int> font;   // nullopt: the previous run's font
    double factor = 0.0;       // times the line height (positive raises)
    bool ofRun = true;         // height of the run, else of the code's own letter
};
MarkupStyle MarkupStyleOf(const MarkupRun& run);
