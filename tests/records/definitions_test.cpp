// Block, character and item definitions: exact bytes at 754, the template copy of every field
// group from the common palette and from the stage being read, validation and writing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "records/common_palette.h"
#include "records/database.h"
#include "records/palette_lists.h"
#include "records/stage.h"
#include "test_support.h"
#include "tools/records/stage_writer.h"

using namespace recordtest;

namespace {

class DefinitionsTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        CreateDefaultDatabase(g_Database);
        g_CommonPalette = cCommonPalette();
        g_CommonPalette.FixUp();
        g_LoadedStage.Clear();
    }
    void TearDown() override {
        CreateDefaultDatabase(g_Database);
        g_CommonPalette = cCommonPalette();
        g_LoadedStage.Clear();
        RecordTest::TearDown();
    }
};

// A flow of one wait command, written by hand.
void WaitFlowBytes(cByteImage& b) {
    b.U32(8).U8(5).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U32(1).U32(1);  // flow body, empty name
    b.U32(0).U32(0).U32(1);                                                  // no conditions, one command
    b.U32(8).U8(0).U8(1).U16(10).U16(0).U8(0).U16(0).U8(0).U16(0).U32(1).U32(1);
    b.U32(0).U32(0).U32(0).U32(0);                                           // no parts, flows, parameters
}

cFlow WaitFlow() {
    cFlow f;
    f.m_byId = 5;
    cFlowCmd c;
    c.m_cKind = 1;
    c.m_wTime = 10;
    f.m_vecCmds.push_back(c);
    return f;
}

TEST_F(DefinitionsTest, ABlockDefinitionHasExactBytes) {
    cBlockRec b;
    b.m_byB3 = 3, b.m_byB4 = 4, b.m_wGraphic = 5, b.m_byGraphicKind = 6, b.m_wGraphic2 = 7, b.m_byGraphicKind2 = 8;
    b.m_byB9 = 9, b.m_byB10 = 10, b.m_wB11 = 11, b.m_byB12 = 12, b.m_byB13 = 13, b.m_byB14 = 14, b.m_nB15 = -15;
    b.m_byItemKind = 1, b.m_wItemIndex = 1, b.m_byB18 = 18;
    b.m_strName = "壁";
    b.m_sPlaceX = -1, b.m_sPlaceY = 2;
    cFlowCond c;
    c.m_cKind = 2;
    b.m_vecConds.push_back(c);

    cByteImage x;
    x.U32(754).U32(18);
    x.U8(0).U16(0).U8(3).U8(4).U16(5).U8(6).U16(7).U8(8).U8(9).U8(10).U16(11).U8(12).U8(13).U8(14).I32(-15);
    x.U8(1).U16(1).U8(18);                                           // 26 bytes of values
    x.U32(1).U32(3).Raw("\x95\xc7", 2).U8(0);                        // "壁"
    x.I16(-1).I16(2);
    x.U32(11);
    for (int i = 0; i < 11; ++i) x.U8(0);
    x.U32(1).U32(17).U8(2);
    for (int i = 0; i < 3; ++i) x.I32(0);
    for (int i = 0; i < 15; ++i) x.U8(0);                            // a3 ... shape (index i16, index2 u16)
    x.U32(0);
    EXPECT_EQ(FileImage(b), x.Data());
    cBlockRec back;
    ASSERT_TRUE(ReadImage(back, x.Data()));
    EXPECT_EQ(back.m_nB15, -15);
    EXPECT_EQ(back.m_sPlaceX, -1);
    EXPECT_EQ(FileImage(back), x.Data());
}

TEST_F(DefinitionsTest, ACharacterDefinitionHasExactBytes) {
    cCharaRec c;
    c.m_byC3 = 3, c.m_byC4 = 4, c.m_byC5 = 5, c.m_byC6 = 6, c.m_sOffsetXBase = -7, c.m_sOffsetXStep = 8;
    c.m_sOffsetYBase = -9, c.m_sOffsetYStep = 10, c.m_byOffsetXMirror = 1, c.m_byOffsetYMirror = 1;
    c.m_wGraphic = 13, c.m_byGraphicKind = 1, c.m_wC15 = 15, c.m_wAnimeSet = 0, c.m_byC17 = 17, c.m_byC18 = 18;
    c.m_wCharaEffect1 = 1, c.m_byC20 = 20, c.m_byC21 = 21, c.m_wCharaEffect2 = 1, c.m_byC23 = 23, c.m_byC24 = 24;
    c.m_wC25 = 25, c.m_byRole = 1, c.m_byC27 = 27, c.m_byC28 = 28, c.m_byC29 = 29, c.m_byC30 = 30, c.m_byC31 = 31;
    c.m_byC32 = 32, c.m_byC33 = 33, c.m_byC34 = 34, c.m_byC35 = 35, c.m_byC36 = 36, c.m_byC37 = 37, c.m_byC38 = 38;
    c.m_nC39 = -39, c.m_nC40 = 40, c.m_wC41 = 41, c.m_byC42 = 42, c.m_nC43 = 430000, c.m_byC44 = 44, c.m_sEffect = 1;
    c.m_nC46 = -46, c.m_byC47 = 47, c.m_nC48 = 48, c.m_byC49 = 49, c.m_byC50 = 50, c.m_wC51 = 51, c.m_byC52 = 52;
    c.m_byC53 = 53;
    c.m_strName = "敵";
    c.m_sPlaceX = 4, c.m_sPlaceY = 5, c.m_nPlaceValue = -1;
    c.m_vecFlows.push_back(WaitFlow());

    cByteImage x;
    x.U32(754).U32(53);
    x.U8(0).U16(0).U8(3).U8(4).U8(5).U8(6).I16(-7).I16(8).I16(-9).I16(10).U8(1).U8(1).U16(13).U8(1).U16(15);
    x.U16(0).U8(17).U8(18).U16(1).U8(20).U8(21).U16(1).U8(23).U8(24).U16(25);
    for (int i = 26; i <= 38; ++i) x.U8((uint8_t)(i == 26 ? 1 : i));
    x.I32(-39).I32(40).U16(41).U8(42).I32(430000).U8(44).I16(1).I32(-46).U8(47).I32(48).U8(49).U8(50).U16(51);
    x.U8(52).U8(53);                                                 // 82 bytes of values
    x.U32(1).U32(3).Raw("\x93\x47", 2).U8(0);                        // "敵"
    x.I16(4).I16(5).I32(-1);
    x.U32(37);
    for (int i = 0; i < 37; ++i) x.U8(0);
    x.U32(0);                                                        // conditions
    x.U32(1);                                                        // flows
    WaitFlowBytes(x);
    EXPECT_EQ(FileImage(c), x.Data());
    cCharaRec back;
    ASSERT_TRUE(ReadImage(back, x.Data()));
    EXPECT_EQ(back.m_nC43, 430000);
    EXPECT_EQ(back.m_nPlaceValue, -1);
    ASSERT_EQ(back.m_vecFlows.size(), 1u);
    EXPECT_EQ(FileImage(back), x.Data());
    EXPECT_EQ(back.OffsetX(2, 0), -7 + 16);
    EXPECT_EQ(back.OffsetX(2, 1), 7 - 16);
    EXPECT_EQ(back.OffsetY(1, 1), 9 - 10);
}

TEST_F(DefinitionsTest, AnItemDefinitionHasExactBytes) {
    cItemRec it;
    it.m_byI3 = 3, it.m_byI4 = 4, it.m_wI5 = 5, it.m_wI6 = 6, it.m_wGraphic = 7, it.m_byGraphicKind = 8, it.m_wI9 = 9;
    it.m_byI10 = 10, it.m_byI11 = 11, it.m_byI12 = 12, it.m_wI13 = 13, it.m_byI14 = 14, it.m_byI15 = 15;
    it.m_byI16 = 16, it.m_wSound = 1;
    it.m_strName = "薬";
    cFlowCmd wait;
    wait.m_byInstant = 1;
    wait.m_cKind = 3;  // game wait
    wait.m_vecParams = {30};
    it.m_vecCmds.push_back(wait);

    cByteImage x;
    x.U32(754).U32(17);
    x.U8(0).U16(0).U8(3).U8(4).U16(5).U16(6).U16(7).U8(8).U16(9).U8(10).U8(11).U8(12).U16(13).U8(14).U8(15);
    x.U8(16).U16(1);                                                 // 24 bytes of values
    x.U32(1).U32(3).Raw("\x96\xf2", 2).U8(0);                        // "薬"
    x.I16(0).I16(0);
    x.U32(13);
    for (int i = 0; i < 13; ++i) x.U8(0);
    x.U32(0);                                                        // conditions
    x.U32(1).U32(8).U8(1).U8(3).U16(0).U16(0).U8(0).U16(0).U8(0).U16(0).U32(1).U32(1);
    x.U32(0).U32(0).U32(0).U32(1).I32(30);
    EXPECT_EQ(FileImage(it), x.Data());
    cItemRec back;
    ASSERT_TRUE(ReadImage(back, x.Data()));
    EXPECT_EQ(FileImage(back), x.Data());
}

TEST_F(DefinitionsTest, WritingValidatesFirst) {
    cItemRec it;
    it.m_wSound = 2;  // two sounds in the default database
    it.m_byI16 = 0;
    it.m_byTemplateKind = 2;
    it.m_wTemplateIndex = 5;
    FileImage(it);
    EXPECT_EQ(it.m_wSound, 0);
    EXPECT_EQ(it.m_byI16, 1);
    EXPECT_EQ(it.m_byTemplateKind, 0);
    EXPECT_EQ(it.m_wTemplateIndex, 0);

    cBlockRec b;
    b.m_wGraphic = 0;
    b.m_byB12 = b.m_byB18 = 7;
    b.m_byItemKind = 1;
    b.m_wItemIndex = 2;  // the common palette has two items
    FileImage(b);
    EXPECT_EQ(b.m_byB12 + b.m_byB18, 0);
    EXPECT_EQ(b.m_byItemKind, 0);

    cCharaRec c;
    c.m_byRole = 0;
    c.m_byC6 = c.m_byC34 = 1;
    c.m_byC35 = 0;
    c.m_byGraphicKind = 4;
    c.m_wGraphic = 2;  // two dedicated bitmaps
    c.m_wAnimeSet = 1;
    c.m_wCharaEffect1 = c.m_wCharaEffect2 = 2;
    c.m_sEffect = (int16_t)g_Database.m_vecEffect.size();
    c.m_vecFlows.push_back(cFlow());  // empty: removed
    c.m_vecFlows.push_back(WaitFlow());
    FileImage(c);
    EXPECT_EQ(c.m_byC6 + c.m_byC34, 0);
    EXPECT_EQ(c.m_byC35, 1);
    EXPECT_EQ(c.m_wGraphic, 1);
    EXPECT_EQ(c.m_wAnimeSet + c.m_wCharaEffect1 + c.m_wCharaEffect2 + c.m_sEffect, 0);
    EXPECT_EQ(c.m_vecFlows.size(), 1u);
    // The effect number is compared signed: -1 is below the count and stays.
    cCharaRec none;
    none.m_sEffect = -1;
    FileImage(none);
    EXPECT_EQ(none.m_sEffect, -1);
}

TEST_F(DefinitionsTest, ATemplatePastItsListIsDroppedAndCopiesNothing) {
    g_CommonPalette.m_vecCharas[1].m_strName = "テンプレ";
    cCharaRec c;
    c.m_byTemplateKind = 1;
    c.m_wTemplateIndex = 1;
    c.m_vecTemplateFlags.assign(kCharaGroupCount, 1);
    c.m_strName = "元";
    const std::vector<uint8_t> image = FileImage(c);
    g_CommonPalette.m_vecCharas.resize(1);  // the template is gone when the file is read
    cCharaRec back;
    ASSERT_TRUE(ReadImage(back, image));
    EXPECT_EQ(back.m_byTemplateKind, 0);
    EXPECT_EQ(back.m_strName, "元");
}

// ---- the template copy of every group ----

// Fills every value block of a definition with small distinct values (base + block number);
// the records' checks are made to accept them by a larger database.
void FillValues(cDataFile& r, int base) {
    int i = 0;
    for (const FIELDDESC& f : r.Layout().vecValues) {
        if (!f.StoredIn(kDataVersion) || !f.pfnAccess) continue;
        void* p = f.pfnAccess(r);
        const int v = base + i++;
        switch (f.nSize) {
            case 1: *(uint8_t*)p = (uint8_t)v; break;
            case 2: *(uint16_t*)p = (uint16_t)v; break;
            case 4: *(int32_t*)p = v; break;
            default: *(double*)p = v; break;
        }
    }
}

// Whether block i of two definitions holds the same bytes.
bool SameBlock(cDataFile& a, cDataFile& b, size_t i) {
    const FIELDDESC& f = a.Layout().vecValues[i];
    return std::memcmp(f.pfnAccess(a), f.pfnAccess(b), (size_t)f.nSize * f.nCount) == 0;
}

// Groups of each class: the numbers of the fields they copy (1-based, the file order) and
// whether they copy the name or the nested list.
struct GROUP {
    std::vector<int> fields;
    bool name = false;
    int lists = 0;  // 1 the conditions, 2 the flows (characters) or commands (items)
};

const std::vector<GROUP>& CharaGroups() {
    static const std::vector<GROUP> g = {
        {{}, true},    {{26, 27}}, {{28}},        {{29}},     {{3, 4}, false, 1}, {{5}},     {{6}},
        {{7, 8, 11}},  {{9, 10, 12}}, {{14, 13, 15}}, {{16}}, {{17}},                {{18}},    {{19, 20, 21}},
        {{22, 23}},    {{24, 25}}, {{31}},        {{30}},     {{32, 33}},            {{34}},    {{35}},
        {{36}},        {{37, 38}}, {{39}},        {{40}},     {{42}},                {{43}},    {{44}},
        {{45}},        {{46}},     {{47}},        {{41}},     {{52, 53}},            {{51, 50}}, {{48}},
        {{49}},        {{}, false, 2},
    };
    return g;
}

const std::vector<GROUP>& BlockGroups() {
    static const std::vector<GROUP> g = {
        {{}, true}, {{3, 4}, false, 1}, {{6, 5, 7}}, {{8}}, {{9}}, {{10, 11}}, {{12}}, {{13}}, {{14, 15}},
        {{16, 17}}, {{18}},
    };
    return g;
}

const std::vector<GROUP>& ItemGroups() {
    static const std::vector<GROUP> g = {
        {{}, true}, {{3, 4}, false, 1}, {{5}}, {{6}}, {{8, 7, 9}}, {{10}}, {{11}}, {{12, 13}}, {{16}}, {{15}},
        {{14}}, {{17}}, {{}, false, 2},
    };
    return g;
}

size_t ListSize(cBlockRec& r, int list) { return list == 1 ? r.m_vecConds.size() : 0; }
size_t ListSize(cCharaRec& r, int list) { return list == 1 ? r.m_vecConds.size() : r.m_vecFlows.size(); }
size_t ListSize(cItemRec& r, int list) { return list == 1 ? r.m_vecConds.size() : r.m_vecCmds.size(); }

void GiveLists(cBlockRec& r, int n) { r.m_vecConds.resize(n); }
void GiveLists(cCharaRec& r, int n) {
    r.m_vecConds.resize(n);
    r.m_vecFlows.assign(n, WaitFlow());
}
void GiveLists(cItemRec& r, int n) {
    r.m_vecConds.resize(n);
    r.m_vecCmds.resize(n);
    for (auto& c : r.m_vecCmds) c.m_cKind = 1;
}

template <class T> std::vector<T>& StageList(cStage& s);
template <> std::vector<cBlockRec>& StageList(cStage& s) { return s.m_vecBlocks; }
template <> std::vector<cCharaRec>& StageList(cStage& s) { return s.m_vecCharas; }
template <> std::vector<cItemRec>& StageList(cStage& s) { return s.m_vecItems; }
template <class T> std::vector<T>& StagePalette(cStage& s);
template <> std::vector<cBlockRec>& StagePalette(cStage& s) { return s.m_vecPaletteBlocks; }
template <> std::vector<cCharaRec>& StagePalette(cStage& s) { return s.m_vecPaletteCharas; }
template <> std::vector<cItemRec>& StagePalette(cStage& s) { return s.m_vecPaletteItems; }
template <class T> std::vector<T>& CommonList();
template <> std::vector<cBlockRec>& CommonList() { return g_CommonPalette.m_vecBlocks; }
template <> std::vector<cCharaRec>& CommonList() { return g_CommonPalette.m_vecCharas; }
template <> std::vector<cItemRec>& CommonList() { return g_CommonPalette.m_vecItems; }

// For each group: a definition taking only that group from a template, read from the common
// palette (kind 1) or as a placed definition of a stage whose palette holds the template
// (kind 2); exactly that group's fields come from the template.
template <class T>
void CheckEveryGroup(const std::vector<GROUP>& groups, int kind) {
    T tmpl;
    FillValues(tmpl, 3);
    tmpl.m_byTemplateKind = 0;
    tmpl.m_wTemplateIndex = 0;
    tmpl.m_strName = "テンプレ";
    GiveLists(tmpl, 2);
    T own;
    FillValues(own, 60);
    own.m_strName = "元";
    GiveLists(own, 1);
    own.m_byTemplateKind = (uint8_t)kind;
    own.m_wTemplateIndex = 1;
    // What each definition holds after its own checks.
    T tmplChecked = tmpl, ownChecked = own;
    tmplChecked.Validate();
    ownChecked.Validate();

    for (size_t g = 0; g < groups.size(); ++g) {
        SCOPED_TRACE("kind " + std::to_string(kind) + " group " + std::to_string(g));
        T def = own;
        def.m_vecTemplateFlags.assign(groups.size(), 0);
        def.m_vecTemplateFlags[g] = 1;
        T got;
        if (kind == 1) {
            CommonList<T>().resize(2);
            CommonList<T>()[1] = tmpl;
            ASSERT_TRUE(ReadImage(got, FileImage(def)));
        } else {
            cStage stage;
            StagePalette<T>(stage).resize(2);
            StagePalette<T>(stage)[1] = tmpl;
            StageList<T>(stage).assign(1, def);
            // Writing checks kind-2 references against the loaded stage's palette.
            StagePalette<T>(g_LoadedStage).resize(2);
            ASSERT_TRUE(ReadImage(g_LoadedStage, FileImage(stage)));
            ASSERT_EQ(StageList<T>(g_LoadedStage).size(), 1u);
            got = StageList<T>(g_LoadedStage)[0];
        }
        for (size_t i = 2; i < got.Layout().vecValues.size(); ++i) {
            const bool copied = std::count(groups[g].fields.begin(), groups[g].fields.end(), (int)i + 1) > 0;
            EXPECT_TRUE(SameBlock(got, copied ? tmplChecked : ownChecked, i)) << "field " << i + 1;
        }
        EXPECT_EQ(got.m_strName, groups[g].name ? "テンプレ" : "元");
        for (int list : {1, 2})
            EXPECT_EQ(ListSize(got, list), (groups[g].lists == list ? ListSize(tmpl, list) : ListSize(own, list)))
                << "list " << list;
    }
}

TEST_F(DefinitionsTest, TheTemplateCopyTakesExactlyTheFlaggedGroup) {
    // A database large enough for the filled values.
    g_Database.m_vecAnimeSet.resize(200);
    g_Database.m_vecBmpCharaExc.resize(200);
    g_Database.m_vecCharaEffect.resize(200);
    g_Database.m_vecEffect.resize(200);
    g_Database.m_vecSound.resize(200);
    for (int kind : {1, 2}) {
        CheckEveryGroup<cBlockRec>(BlockGroups(), kind);
        CheckEveryGroup<cCharaRec>(CharaGroups(), kind);
        CheckEveryGroup<cItemRec>(ItemGroups(), kind);
    }
}

TEST_F(DefinitionsTest, FlagsBeyondTheGroupsAndUnknownKindsCopyNothing) {
    cItemRec tmpl;
    tmpl.m_strName = "テンプレ";
    g_CommonPalette.m_vecItems[1] = tmpl;
    cItemRec def;
    def.m_strName = "元";
    def.m_byTemplateKind = 1;
    def.m_wTemplateIndex = 1;
    def.m_vecTemplateFlags.assign(40, 0);
    def.m_vecTemplateFlags[39] = 1;
    cItemRec got;
    ASSERT_TRUE(ReadImage(got, FileImage(def)));
    EXPECT_EQ(got.m_strName, "元");
    EXPECT_EQ(got.m_vecTemplateFlags.size(), 40u);

    def.m_vecTemplateFlags.assign(kItemGroupCount, 1);
    def.m_byTemplateKind = 7;  // acts as none
    ASSERT_TRUE(ReadImage(got, FileImage(def)));
    EXPECT_EQ(got.m_strName, "元");
    EXPECT_EQ(got.m_byTemplateKind, 7);
}

TEST_F(DefinitionsTest, PaletteRecordForLooksUpItems) {
    g_LoadedStage.m_vecPaletteItems.resize(3);
    EXPECT_EQ(PaletteRecordFor(1, 1), &g_CommonPalette.m_vecItems[1]);
    EXPECT_EQ(PaletteRecordFor(2, 2), &g_LoadedStage.m_vecPaletteItems[2]);
    EXPECT_EQ(PaletteRecordFor(2, 3), nullptr);
    EXPECT_EQ(PaletteRecordFor(0, 0), nullptr);
    EXPECT_EQ(PaletteRecordFor(3, 0), nullptr);
    EXPECT_EQ(PaletteRecordFor(1, -1), nullptr);
}

TEST_F(DefinitionsTest, DamagedDefinitionsLoadWithoutACrash) {
    cCharaRec c = MakeSampleChara(1, 2, 2, 3);
    CheckDamagedImages<cCharaRec>(FileImage(c), [] { return cCharaRec(); });
    cItemRec it = MakeSampleItem(2);
    CheckDamagedImages<cItemRec>(FileImage(it), [] { return cItemRec(); });
    cBlockRec b = MakeSampleBlock(4);
    CheckDamagedImages<cBlockRec>(FileImage(b), [] { return cBlockRec(); });
}

}  // namespace
