#pragma once
// The input-graphic page on the main window's stand-in, on a project database holding
// the records that tremol-setup writes; its areas can draw on recording surfaces.
#include "pages/common/SectionPageFixture.h"
#include "pages/input/mdiESEITE1.h"

using RecordedInputPage = RecordingAreas<mdiESEITE1>;

// Page millimetres of the worked record's section: 7.4615385 mm per metre (MX = 13/97),
// the world window from x -3 and z -3 at the margins 11 and 7 mm.
inline double XP(double x) { return 11 + (x + 3) * 97.0 / 13.0; }
inline double YP(double z) { return 7 + (z + 3) * 97.0 / 13.0; }

class InputPages : public SectionPages {
protected:
    template <class Page = RecordedInputPage>
    Page* load()
    {
        return SectionPages::load<Page>();
    }
};
