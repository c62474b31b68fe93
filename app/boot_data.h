// "user_data\Boot.dat": the drawing mode chosen in the start-up dialog and whether to ask again.
#pragma once

#include <cstdint>

#include "records/data_file.h"

class cBootData : public cDataFile {
public:
    cBootData();
    // The same in every data version: the drawing mode, then the do-not-show flag.
    const RECORDLAYOUT& Layout() const override;

    int32_t m_nDrawMode;  // 1 Direct3D 9, 0 DirectDraw 7
    int32_t m_bNoShow;    // non-zero: the start-up dialog is not shown
};

// The boot data of the run (read once at start-up, written only by the dialog's Start).
extern cBootData g_BootData;
