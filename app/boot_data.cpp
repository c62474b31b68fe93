#include "app/boot_data.h"

cBootData g_BootData;

cBootData::cBootData() : m_nDrawMode(0), m_bNoShow(0) {
    Clear();
    m_nDrawMode = 1;
    m_bNoShow = 0;
}

const RECORDLAYOUT& cBootData::Layout() const {
    static const RECORDLAYOUT layout =
        cLayoutBuilder().Values<&cBootData::m_nDrawMode>().Values<&cBootData::m_bNoShow>().Build();
    return layout;
}
