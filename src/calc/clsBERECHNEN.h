#pragma once
// The water-pressure calculation of the active record: reads the groundwater levels,
// layers, flow lines and structure outlines of both sides, checks them, computes the
// seepage head loss, the pressure polygons and their components, and writes the
// base-corner components (A1) and the vertical- and horizontal-section rows (A2, A3).
// One object serves one run.
#include "CalcInput.h"
#include "SectionRows.h"
#include "platform/Context.h"
#include <QString>
#include <memory>
#include <vector>

class clsDATEN;
class VbError;

class clsBERECHNEN {
public:
    explicit clsBERECHNEN(Context& ctx);
    ~clsBERECHNEN();
    clsBERECHNEN(const clsBERECHNEN&) = delete;
    clsBERECHNEN& operator=(const clsBERECHNEN&) = delete;

    // Sets the context's progress bar to 0, then runs. True when the results were
    // computed and written completely; False after an input message, the
    // base-direction message, or an error (after its box). A run that is refused or
    // fails leaves A1 to A3 as they were.
    bool BERECHNUNG();

private:
    // One per-side list of E3, E4 or E5: its running-number column, the fewest rows
    // it needs, what it is called in the input message, its two columns (named in the
    // table and as the input window titles them), whether the first row needs a
    // value in the second column, and whether it lists layers (depths growing
    // downward, permeabilities not negative).
    struct Column {
        const char* name;
        const char* title;
    };
    struct ListSpec {
        clsDATEN& view;
        const char* index;
        int minimumRows;
        const char* group;
        Column column1;
        Column column2;
        bool firstRowNeedsColumn2;
        bool layers;
    };
    // The run between creating and releasing the views.
    bool calculate();
    bool readInput();
    // A groundwater level; a missing one is refused with the input message.
    bool readLevel(const char* column, int16_t K, float& level);
    bool readList(const ListSpec& spec, int16_t K, std::vector<float>& first, std::vector<float>& second);
    // True when every row of the list has the values it needs and, for layers, values
    // a soil can have. The first row that fails is refused with the input message
    // (check, then the row and what is wrong with it): false, as after a read that
    // failed (after the view's box).
    bool plausible(const ListSpec& spec, int16_t K, int16_t AN, const QString& check);
    static QString sideName(int16_t K);
    void message(const QString& text, const QString& title);
    void runtimeError(const QString& routine, const VbError& e);
    bool writeResults(const BaseCorners& base, const std::vector<SectionRow>& rows);
    bool writeAll(const BaseCorners& base, const std::vector<SectionRow>& rows);
    bool writeRow(const SectionRow& row);

    Context& ctx_;
    // What the run works on, taken from ctx_ at its start and held until its end: a
    // yield inside the writes may replace the main window's cnnX, but the run reads,
    // writes and commits on the one connection it began with.
    Context run_;
    std::shared_ptr<clsDATEN> E2_, E3_, E4_, E5_, A1_, A2_, A3_;
    CalcInput in_;
};
