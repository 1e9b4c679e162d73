#pragma once
// The result page on the main window's stand-in, on a project database holding the
// records that tremol-setup writes; its areas can draw on recording surfaces.
#include "pages/common/SectionPageFixture.h"
#include "pages/result/mdiSEITE1.h"

using RecordedPage = RecordingAreas<mdiSEITE1>;

class ResultPages : public SectionPages {
protected:
    template <class Page = RecordedPage>
    Page* load()
    {
        return SectionPages::load<Page>();
    }
};
