// Bitmap slots from a generated game folder in both back ends: files under bmp, the background
// pictures in the game folder itself, blank "E" slots, optional and required slots; shared
// textures; sheet text and number layout.
#include "platform/host/script.h"
#include "platform/win32/codepage.h"
#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

class AssetLoad : public DrawFixture, public testing::WithParamInterface<Mode> {};

}  // namespace

TEST_P(AssetLoad, SlotsLoadFromTheGameFolder) {
    Open(GetParam());
    tools::BmpPicture back = tools::SolidPicture(64, 48, 0x204080);
    // The program's names are Shift-JIS; the file system's are UTF-8.
    ASSERT_TRUE(tools::WriteBmp(folder + "/" + Cp932ToUtf8("背景その1.bmp"), back, tools::BmpOptions{24, false, false}));
    // Start-up's slot, a sheet with its views, a background, an optional missing sheet and
    // missing background, and every blank slot.
    EXPECT_TRUE(Load({1}));
    EXPECT_TRUE(Load({4, 5, 22, 23, 55, 56, 6, 7, 24, 25, 63, 64, 65, 66, 67, 68, 69, 70}));
    EXPECT_EQ(g_SurfaceData[1].nWidth, 32);
    EXPECT_EQ(g_SurfaceData[55].nWidth, 64);
    EXPECT_EQ(g_SurfaceData[55].nHeight, 48);
    EXPECT_TRUE(g_SurfaceData[55].lpDT || g_SurfaceData[55].lpDD);
    EXPECT_FALSE(g_SurfaceData[56].lpDT || g_SurfaceData[56].lpDD);  // optional, missing: nothing
    EXPECT_FALSE(g_SurfaceData[6].lpDT || g_SurfaceData[6].lpDD);
    EXPECT_EQ(g_SurfaceData[63].nWidth, 256);
    EXPECT_EQ(g_SurfaceData[63].nHeight, 960);
    EXPECT_EQ(g_SurfaceData[69].nWidth, 1024);
    EXPECT_STREQ(g_SurfaceData[67].szFileName, "E");
    if (g_lpDDDevice) {
        // Views draw their owner's texture; releasing a view leaves the owner drawable.
        EXPECT_EQ(g_SurfaceData[5].lpDT->lpTexture, nullptr);
        EXPECT_EQ(g_SurfaceData[5].nMirrorW, 32);
        EXPECT_EQ(g_SurfaceData[70].lpDT->bSysMem, 1u);
        EXPECT_EQ(g_SurfaceData[69].lpDT->bRenderTarget, 1u);  // "VIDEO_NORT" is made as a render target
        IDirect3DTexture9* owner = g_SurfaceData[4].lpDT->lpTexture;
        DDReleaseSurface(&g_SurfaceData[5]);
        EXPECT_EQ(g_SurfaceData[4].lpDT->lpTexture, owner);
        DDBlt(&g_BackBufferSD, 0, 0, 32, 32, &g_SurfaceData[4], 0, 0, 1);
        DDEndScene();
        EXPECT_NE(BackPixels()->GetArgb(10, 10) & 0xFFFFFF, 0u);
    } else {
        EXPECT_EQ(g_SurfaceData[22].nMemType, 1);  // system-memory copies
        EXPECT_EQ(g_SurfaceData[4].nMemType, 0);
    }

    // A required picture that is missing stops the load with the loader's message.
    host::script::LoadText(Cp932ToUtf8("msgbox ok \"bmp\\Block.bmp の読み込みに失敗！\"\n"), folder);
    EXPECT_FALSE(Load({2}));
    int answer = 0;
    EXPECT_FALSE(host::script::TakeMessageBoxAnswer("エラー", "bmp\\Block.bmp の読み込みに失敗！", MB_OK, &answer))
        << "the message was not shown";
    host::script::Reset();
    EXPECT_FALSE(g_SurfaceData[2].lpDT || g_SurfaceData[2].lpDD);
}

INSTANTIATE_TEST_SUITE_P(Modes, AssetLoad,
                         testing::Values(Mode{"d3d_32", 1, 32, 1}, Mode{"dd_16", 0, 16, 0}),
                         [](const testing::TestParamInfo<Mode>& i) { return std::string(i.param.name); });

TEST_F(DrawFixture, PowerOfTwoDeviceRoundsTextureSizes) {
    d3d9::Testing().requirePow2 = true;
    Open(Mode{"d3d_32", 1, 32, 1});
    ASSERT_TRUE(tools::WriteBmp(folder + "/bmp/Block.bmp", tools::SolidPicture(100, 60, 0x808080),
                                tools::BmpOptions{24, false, false}));
    ASSERT_TRUE(Load({2}));
    EXPECT_EQ(g_SurfaceData[2].nWidth, 100);
    EXPECT_EQ(g_SurfaceData[2].nHeight, 60);
    EXPECT_EQ(g_SurfaceData[2].nTexWidth, 128);
    EXPECT_EQ(g_SurfaceData[2].nTexHeight, 64);
    // Texture coordinates use the texture's size: the picture maps one texel to one pixel.
    DDBlt(&g_BackBufferSD, 0, 0, 100, 60, &g_SurfaceData[2], 0, 0, 0);
    DDEndScene();
    EXPECT_EQ(BackPixels()->GetArgb(99, 59) & 0xFFFFFF, 0x808080u);
    EXPECT_NE(BackPixels()->GetArgb(100, 59) & 0xFFFFFF, 0x808080u);
}

TEST_F(DrawFixture, FailedTexturesNeverCountAsLoaded) {
    Open(Mode{"d3d_32", 1, 32, 1});
    EXPECT_TRUE(DDCheckCreateResult(0));
    for (int code : {4, 8, 9, (int)D3DERR_INVALIDCALL, (int)E_OUTOFMEMORY, 1}) EXPECT_FALSE(DDCheckCreateResult(code)) << code;
    d3d9::Testing().failTextures = 1;
    host::script::LoadText("msgbox ok \"Character1.bmp\"\n", folder);
    EXPECT_FALSE(Load({4}));
    host::script::Reset();
    EXPECT_EQ(g_SurfaceData[4].lpDT, nullptr);
    EXPECT_NE(Report().find("テクスチャの作成に失敗。(bmp\\Character1.bmp)"), std::string::npos);
}

TEST_F(DrawFixture, SheetTextAndNumberLayout) {
    Open(Mode{"dd_32", 0, 32, 0});
    ASSERT_TRUE(Load({51, 67}));
    DDSURFACEDATA *dst = &g_SurfaceData[67], *chars = &g_SurfaceData[51];
    raster::Surface* p = Pixels(*dst);
    raster::Surface* sheet = Pixels(*chars);
    auto cell = [&](int code) { return sheet->Get((code & 15) * 8 + 4, (code >> 4) * 8 + 4); };
    DDFillRect(dst, 0, 0, 640, 480, 0);
    DDDrawCharText(dst, 16, 8, 8, 8, chars, "AB\nC");
    EXPECT_EQ(p->Get(16 + 4, 12), cell('A'));
    EXPECT_EQ(p->Get(24 + 4, 12), cell('B'));
    EXPECT_EQ(p->Get(16 + 4, 20), cell('C'));  // one row down at the left edge of the text
    // Half-width katakana come from rows 0-1 and 8-9.
    DDDrawCharText(dst, 0, 100, 8, 8, chars, "\xA6\xC0");
    EXPECT_EQ(p->Get(4, 104), cell(0x06));
    EXPECT_EQ(p->Get(12, 104), cell(0x80));
    // A row that reaches 640 pixels goes on one row down.
    std::string row(81, 'Q');
    DDDrawCharText(dst, 0, 200, 8, 8, chars, row.c_str());
    EXPECT_EQ(p->Get(636, 204), cell('Q'));
    EXPECT_EQ(p->Get(4, 212), cell('Q'));
    EXPECT_NE(p->Get(12, 212), cell('Q'));
    // 7 with at least three digits of 16: one digit, 32 to the right (16 centred).
    DDFillRect(dst, 0, 0, 640, 480, 0);
    DDDrawNumber(dst, 100, 300, 16, 8, chars, 0, 3 * 8, 1, 7, 3, 0);
    DDDrawNumber(dst, 100, 320, 16, 8, chars, 0, 3 * 8, 1, 7, 3, 1);
    uint32_t bg = p->Get(0, 0);
    EXPECT_EQ(p->Get(100 + 32 + 4, 304), sheet->Get(7 * 16 + 4, 3 * 8 + 4));
    EXPECT_EQ(p->Get(100 + 16 + 4, 304), bg);
    EXPECT_EQ(p->Get(100 + 16 + 4, 324), sheet->Get(7 * 16 + 4, 3 * 8 + 4));
    // Circles: radius 0 draws nothing.
    DDFillRect(dst, 0, 0, 640, 480, 0);
    DDDrawCircle(dst, 50, 50, 0, 9);
    EXPECT_EQ(p->Get(50, 50), bg);
    DDDrawCircle(dst, 2, 2, 5, 9);
    EXPECT_EQ(p->Get(7, 2), PalNumToRGB(9));
}
