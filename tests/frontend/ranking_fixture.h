// The fixture of the ranking board and stage select tests: the menu scenes' fixture with the
// cursor sheet (asset 49) extended by the marks those screens draw: the cleared mark (32 x 32 at
// (96, 0)) and the ranking place mark (16 x 16 at (16, 48)).
#pragma once

#include "tests/frontend/scene_fixture.h"
#include "tools/bmp_writer.h"

namespace rankingtest {

inline void FillRect(tools::BmpPicture& p, int x, int y, int w, int h, uint32_t rgb) {
    for (int j = y; j < y + h && j < p.height; ++j)
        for (int i = x; i < x + w && i < p.width; ++i) p.rgb[(size_t)j * p.width + i] = rgb;
}

// "bmp\Accessory.bmp" with the menu cursor, the list cursor, a green tick block for a cleared
// stage and a red place mark, on the transparent colour.
inline bool WriteMarkedAccessory(cGameFolder& folder) {
    tools::BmpPicture p = tools::SolidPicture(128, 64, 0xFF00FF);
    for (int j = 0; j < 24; ++j) FillRect(p, 2, 4 + j, 12 - (j < 12 ? 12 - j : j - 11), 1, 0xFFE020);
    FillRect(p, 64, 0, 16, 16, 0x20E0FF);
    FillRect(p, 100, 4, 24, 24, 0x20C040);
    FillRect(p, 106, 10, 12, 12, 0xFFFFFF);
    FillRect(p, 18, 50, 12, 12, 0xE02020);
    return tools::WriteBmp(folder.HostPath("bmp\\Accessory.bmp"), p, tools::BmpOptions{});
}

class RankingFixture : public scenetest::SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WriteMarkedAccessory(*folder));
        folder->MakeFolder("user_data\\free");
        g_RankingHolder.Reset();
        Open();
        int assets[2] = {49, 45};
        ASSERT_TRUE(DDReloadSurfaces(g_SurfaceData, assets, 2));
    }
    void TearDown() override {
        g_RankingHolder.Reset();
        SceneFixture::TearDown();
    }
};

}  // namespace rankingtest
