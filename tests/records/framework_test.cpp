// The record framework: exact bytes, version gates, strings, copies, short and damaged files,
// atomic saves.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "flow/flow.h"
#include "records/record_list.h"
#include "records/stage.h"
#include "test_support.h"
#include "tools/records/sample_record.h"

using namespace recordtest;

namespace {

class FrameworkTest : public RecordTest {};

cSampleRecord MakeSample() {
    cSampleRecord r;
    r.m_byFlag = 0xAB;
    r.m_sShort = -2;
    r.m_anWords[0] = 1;
    r.m_anWords[1] = 0x01020304;
    r.m_anWords[2] = 0xFFFFFFFF;
    r.m_nGated = -7;
    r.m_llLong = 0x1122334455667788LL;
    r.m_dRate = 0.5;
    r.m_strName = "名前";
    r.m_strNote = "";
    r.m_vecItems.resize(1);
    r.m_vecItems[0].m_nValue = 9;
    r.m_vecItems[0].m_strLabel = "x";
    return r;
}

// The sample record above, written by hand.
std::vector<uint8_t> SampleBytes754() {
    cByteImage b;
    b.U32(754);
    b.U32(6);                     // value blocks at 754
    b.U8(0xAB);                   // byte
    b.U16(0xFFFE);                // short -2
    b.U32(1).U32(0x01020304).U32(0xFFFFFFFF);
    b.I32(-7);                    // gated word
    b.U64(0x1122334455667788ULL);
    b.F64(0.5);
    b.U32(2);                     // strings
    b.U32(5).Raw("\x96\xbc\x91\x4f", 4).U8(0);  // "名前" in Shift-JIS with its NUL
    b.U32(1);                     // empty note: the length word alone
    b.U32(1);                     // one item
    b.U32(1).I32(9).U32(1).U32(2).Raw("x", 1).U8(0);
    return b.Data();
}

TEST_F(FrameworkTest, WritesExactlyTheHandWrittenBytesAndReadsThemBack) {
    cSampleRecord r = MakeSample();
    EXPECT_EQ(FileImage(r), SampleBytes754());

    cSampleRecord back;
    ASSERT_TRUE(ReadImage(back, SampleBytes754()));
    EXPECT_EQ(back.m_byFlag, 0xAB);
    EXPECT_EQ(back.m_sShort, -2);
    EXPECT_EQ(back.m_anWords[1], 0x01020304u);
    EXPECT_EQ(back.m_anWords[2], 0xFFFFFFFFu);
    EXPECT_EQ(back.m_nGated, -7);
    EXPECT_EQ(back.m_llLong, 0x1122334455667788LL);
    EXPECT_EQ(back.m_dRate, 0.5);
    EXPECT_EQ(back.m_strName, "名前");
    ASSERT_EQ(back.m_vecItems.size(), 1u);
    EXPECT_EQ(back.m_vecItems[0].m_nValue, 9);
    EXPECT_EQ(back.m_vecItems[0].m_strLabel, "x");
    EXPECT_EQ(FileImage(back), SampleBytes754());

    // Through a real file too.
    ASSERT_EQ(r.SaveFile("sample.dat"), 1);
    EXPECT_EQ(folder_->ReadFile("sample.dat"), SampleBytes754());
    cSampleRecord loaded;
    ASSERT_EQ(loaded.LoadFile("sample.dat"), 1);
    EXPECT_EQ(g_nFileVersion, 754u);
    EXPECT_EQ(FileImage(loaded), SampleBytes754());
}

TEST_F(FrameworkTest, OldVersionsKeepTheFieldsTheyDoNotStoreAndAreWrittenAs754) {
    // Version 155: no gated word, no note; a dropped word between the words and the long.
    cByteImage b;
    b.U32(155).U32(6);
    b.U8(1).U16(2).U32(3).U32(4).U32(5);
    b.U32(0xDEADBEEF);  // dropped
    b.U64(6).F64(7.0);
    b.U32(1).Str("old");
    b.U32(0);  // no items
    cSampleRecord r = MakeSample();
    r.m_strNote = "kept";
    ASSERT_TRUE(ReadImage(r, b));
    EXPECT_EQ(r.m_byFlag, 1);
    EXPECT_EQ(r.m_anWords[2], 5u);
    EXPECT_EQ(r.m_llLong, 6);
    EXPECT_EQ(r.m_dRate, 7.0);
    EXPECT_EQ(r.m_nGated, -7);        // not stored at 155: kept
    EXPECT_EQ(r.m_strNote, "kept");   // not stored at 155: kept
    EXPECT_EQ(r.m_strName, "old");
    EXPECT_TRUE(r.m_vecItems.empty());
    // Written again it is a 754 file with every field of 754 and no dropped word.
    std::vector<uint8_t> out = FileImage(r);
    cByteImage want;
    want.U32(754).U32(6).U8(1).U16(2).U32(3).U32(4).U32(5).I32(-7).U64(6).F64(7.0);
    want.U32(2).Str("old").Str("kept").U32(0);
    EXPECT_EQ(out, want.Data());
    EXPECT_EQ(cSampleRecord().Layout().CountValues(155), 6u);
    EXPECT_EQ(cSampleRecord().Layout().CountValues(160), 5u);
    EXPECT_EQ(cSampleRecord().Layout().CountValues(754), 6u);
}

TEST_F(FrameworkTest, StringsAreReadAndWrittenAsTheContainerSays) {
    struct Case {
        const char* name;
        std::vector<uint8_t> stored;  // the string's bytes in the file
        BOOL strip;
        std::string expect;
    };
    std::string longText(5118, 'a');
    const Case cases[] = {
        {"empty as length 1", cByteImage().U32(1), FALSE, ""},
        {"length 0 reads as empty", cByteImage().U32(0), FALSE, ""},
        {"embedded NUL ends the text", cByteImage().U32(6).Raw("ab\0cd\0", 6), FALSE, "ab"},
        {"CR LF kept without the switch", cByteImage().Str("a\r\nb"), FALSE, "a\r\nb"},
        {"CR removed with the switch", cByteImage().Str("a\r\nb\r"), TRUE, "a\nb"},
        {"no NUL inside the length", cByteImage().U32(3).Raw("xyz", 3), FALSE, "xyz"},
        {"sixteen bytes without a NUL", cByteImage().U32(16).Raw("0123456789abcdef", 16), FALSE, "0123456789abcdef"},
        {"NUL as the sixteenth byte", cByteImage().U32(16).Raw("0123456789abcde\0", 16), FALSE, "0123456789abcde"},
        {"seventeen bytes, NUL at the end", cByteImage().Str("0123456789abcdef"), FALSE, "0123456789abcdef"},
        {"over-long text cut on a character boundary", cByteImage().Str(longText + "あい"), FALSE, longText},
    };
    // At the end of the file, and with more bytes after it (no NUL among them): the text ends
    // within its own length either way.
    for (size_t trailing : {0u, 20u}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << trailing << " bytes after");
            g_bStripReturns = c.strip;
            cSampleItem item;
            item.m_strLabel = "before";
            cByteImage b;
            b.U32(754).U32(1).I32(0).U32(1).Bytes(c.stored).Bytes(std::vector<uint8_t>(trailing, 'Q'));
            ASSERT_TRUE(ReadImage(item, b));
            EXPECT_EQ(item.m_strLabel, c.expect);
        }
    }
    g_bStripReturns = FALSE;

    // Writing cuts the member at its first NUL and at 5,119 bytes.
    cSampleItem item;
    item.m_strLabel = std::string("ab\0cd", 5);
    EXPECT_EQ(RecordBody(item), cByteImage().U32(1).I32(0).U32(1).Str("ab").Data());
    EXPECT_EQ(item.m_strLabel, "ab");
    item.m_strLabel = longText + "あい";
    std::vector<uint8_t> body = RecordBody(item);
    EXPECT_EQ(item.m_strLabel, longText);
    EXPECT_EQ(body, cByteImage().U32(1).I32(0).U32(1).Str(longText).Data());
}

TEST_F(FrameworkTest, ClearCopyAndStripWorkOnTheRegisteredMembers) {
    cSampleRecord a = MakeSample();
    a.Clear();
    EXPECT_EQ(a.m_byFlag, 0);
    EXPECT_EQ(a.m_anWords[2], 0u);
    EXPECT_EQ(a.m_dRate, 0.0);
    EXPECT_EQ(a.m_strName, "");
    EXPECT_EQ(a.m_vecItems.size(), 1u);  // not registered: untouched

    cSampleRecord src = MakeSample();
    src.m_strName = "a\rb";
    cSampleRecord dst;
    dst.CopyFrom(src);
    EXPECT_EQ(dst.m_llLong, src.m_llLong);
    EXPECT_EQ(dst.m_strName, "a\rb");
    EXPECT_TRUE(dst.m_vecItems.empty());  // lists are the class's own business
    dst.StripReturns();
    EXPECT_EQ(dst.m_strName, "ab");

    // A default copy is a full, independent record.
    cSampleRecord copy = src;
    copy.m_anWords[0] = 77;
    EXPECT_EQ(src.m_anWords[0], 1u);
    EXPECT_EQ(FileImage(copy).size(), FileImage(src).size());

    // A record of another class is refused.
    cSampleItem other;
    other.m_nValue = 5;
    other.CopyFrom(src);
    EXPECT_EQ(other.m_nValue, 5);
    EXPECT_NE(Report().find("different classes"), std::string::npos);
}

TEST_F(FrameworkTest, OpeningFailsForMissingShortAndOverlongNames) {
    cSampleRecord r;
    g_nFileVersion = 123;
    EXPECT_EQ(r.LoadFile("missing.dat"), 0);
    // Fewer than 4 bytes: a failed open, not a stale version from the previous file.
    folder_->WriteFile("three.dat", {1, 2, 3});
    EXPECT_EQ(r.LoadFile("three.dat"), 0);
    EXPECT_EQ(g_nFileVersion, 123u);
    // An empty name opens "err".
    folder_->WriteFile("err", cByteImage().U32(321));
    cRecordReader reader;
    EXPECT_EQ(cDataFile::OpenRead(reader, ""), 1);
    EXPECT_EQ(g_nFileVersion, 321u);
    std::string longName(300, 'n');
    EXPECT_EQ(cDataFile::OpenRead(reader, longName.c_str()), 0);
}

TEST_F(FrameworkTest, ShortFilesLoadWhatTheyHoldAndSaySo) {
    std::vector<uint8_t> full = SampleBytes754();
    // Cut inside the long word: the bytes before it load, the rest keeps its values.
    std::vector<uint8_t> cut(full.begin(), full.begin() + 4 + 4 + 1 + 2 + 12 + 4 + 3);
    cSampleRecord r;
    r.m_llLong = 42;
    r.m_strName = "keep";
    ASSERT_TRUE(folder_->WriteFile("cut.dat", cut));
    EXPECT_EQ(r.LoadFile("cut.dat"), 1);
    EXPECT_EQ(r.m_nGated, -7);
    EXPECT_EQ(r.m_llLong, 42);
    EXPECT_EQ(r.m_strName, "keep");
    EXPECT_NE(Report().find("cut.dat: the file ends early at byte 27"), std::string::npos) << Report();
}

TEST_F(FrameworkTest, CountsThatCannotFitEndTheRead) {
    // Items counted 0xFFFFFFFF: nothing is allocated and the list stays as it was.
    std::vector<uint8_t> image = SampleBytes754();
    size_t countAt = image.size() - 22;  // the item count
    ASSERT_EQ(image[countAt], 1);
    for (int i = 0; i < 4; ++i) image[countAt + i] = 0xFF;
    cSampleRecord r;
    r.m_vecItems.resize(2);
    cRecordReader reader;
    ASSERT_TRUE(ReadImage(r, image, &reader));
    EXPECT_TRUE(reader.Damaged());
    EXPECT_EQ(r.m_vecItems.size(), 2u);
    EXPECT_EQ(r.m_strName, "名前");
    EXPECT_NE(Report().find("count 4294967295 does not fit"), std::string::npos) << Report();
}

TEST_F(FrameworkTest, MoreBlocksThanTheLayoutRegistersEndTheRead) {
    cSampleItem item;
    item.m_nValue = 3;
    cRecordReader reader;
    ASSERT_TRUE(ReadImage(item, cByteImage().U32(754).U32(2).I32(5).I32(6).U32(0), &reader));
    EXPECT_TRUE(reader.Damaged());
    EXPECT_EQ(item.m_nValue, 3);
    cSampleItem item2;
    ASSERT_TRUE(ReadImage(item2, cByteImage().U32(754).U32(1).I32(5).U32(2).Str("a").Str("b"), &reader));
    EXPECT_TRUE(reader.Damaged());
    EXPECT_EQ(item2.m_nValue, 5);
    EXPECT_EQ(item2.m_strLabel, "");
}

TEST_F(FrameworkTest, AnInterruptedSaveKeepsTheOldFile) {
    cSampleRecord r = MakeSample();
    ASSERT_EQ(r.SaveFile("save.dat"), 1);
    std::vector<uint8_t> before = folder_->ReadFile("save.dat");
    r.m_strName = "new name that is longer";
    for (long long failAt : {0LL, 1LL, 20LL}) {
        SetRecordWriteFailureAfter(failAt);
        EXPECT_EQ(r.SaveFile("save.dat"), 0);
        SetRecordWriteFailureAfter(-1);
        EXPECT_EQ(folder_->ReadFile("save.dat"), before);
        EXPECT_FALSE(folder_->Exists("save.dat.tmp"));
    }
    EXPECT_NE(Report().find("save.dat: saving failed; the old file is kept"), std::string::npos);
    // A folder that does not exist: nothing is written, 0.
    EXPECT_EQ(r.SaveFile("nowhere\\save.dat"), 0);
    EXPECT_EQ(r.SaveFile("save.dat"), 1);
    EXPECT_NE(folder_->ReadFile("save.dat"), before);
}

TEST_F(FrameworkTest, ListsOfValuesAndStrings) {
    cRecordWriter w;
    std::vector<uint16_t> words{1, 0xFFFF};
    std::vector<std::string> texts{"", "b"};
    WriteValueList(w, words);
    WriteStringList(w, texts);
    EXPECT_EQ(w.Data(), cByteImage().U32(2).U16(1).U16(0xFFFF).U32(2).U32(1).Str("b").Data());
    cRecordReader r;
    r.OpenMemory(w.Data().data(), w.Data().size(), "lists");
    std::vector<uint16_t> words2;
    std::vector<std::string> texts2{"x", "y", "z"};
    EXPECT_TRUE(ReadValueList(r, words2));
    EXPECT_TRUE(ReadStringList(r, texts2));
    EXPECT_EQ(words2, words);
    EXPECT_EQ(texts2, texts);
    EXPECT_FALSE(r.Ended());
}

// Every value byte of a body read in the current version lands in its member: the body is
// written back byte for byte. With room after the body and without it (the read may look
// ahead only where the file has bytes), for records of small members with padding between
// them and of members stored in another order than they lie.
template <class T>
void ExpectBodyRoundTrip(T& rec, uint32_t seed) {
    const RECORDLAYOUT& layout = rec.Layout();
    size_t valueBytes = 0;
    for (const FIELDDESC& f : layout.vecValues)
        if (f.StoredIn(kDataVersion)) valueBytes += (size_t)f.nSize * f.nCount;
    std::mt19937 rng(seed);
    cByteImage body;
    body.U32(layout.CountValues(kDataVersion));
    for (size_t i = 0; i < valueBytes; ++i) body.U8((uint8_t)rng());
    const uint32_t strings = layout.CountStrings(kDataVersion);
    body.U32(strings);
    for (uint32_t i = 0; i < strings; ++i) body.U32(1);
    for (bool room : {false, true}) {
        SCOPED_TRACE(room ? "room after the body" : "the body ends the file");
        std::vector<uint8_t> image = body.Data();
        if (room) image.resize(image.size() + 16, 0xEE);
        cRecordReader r;
        r.OpenMemory(image.data(), image.size(), "body");
        g_nFileVersion = kDataVersion;
        rec.cDataFile::Read(r);
        EXPECT_FALSE(r.Ended());
        EXPECT_EQ(r.Offset(), body.Data().size());
        cRecordWriter w;
        rec.cDataFile::Write(w);
        EXPECT_EQ(w.Data(), body.Data());
    }
}

// Records whose layouts list every member, so a read may store over their padding: values
// shorter than sixteen bytes past the record base (the read must not touch the base), stored
// in another order than they lie, and a run that ends inside the last sixteen-byte piece.
struct cListedShort : cDataFile {
    uint8_t m_byA = 0;
    uint32_t m_nB = 0;
    uint16_t m_wC = 0;
    uint8_t m_byD = 0;
    const RECORDLAYOUT& Layout() const override {
        using C = cListedShort;
        static const RECORDLAYOUT layout = cLayoutBuilder()
                                               .Values<&C::m_byA>()
                                               .Values<&C::m_nB>()
                                               .Values<&C::m_wC>()
                                               .Values<&C::m_byD>()
                                               .EveryMemberListed()
                                               .Build();
        return layout;
    }
};
struct cListedReordered : cDataFile {
    uint8_t m_abA[5] = {};
    uint16_t m_wB = 0;
    uint32_t m_anC[6] = {};
    uint8_t m_byD = 0;
    double m_dE = 0;
    uint8_t m_byF = 0;
    const RECORDLAYOUT& Layout() const override {
        using C = cListedReordered;
        static const RECORDLAYOUT layout = cLayoutBuilder()
                                               .Values<&C::m_anC>()
                                               .Values<&C::m_byF>()
                                               .Values<&C::m_abA>()
                                               .Values<&C::m_dE>()
                                               .Values<&C::m_wB>()
                                               .Values<&C::m_byD>()
                                               .EveryMemberListed()
                                               .Build();
        return layout;
    }
};

TEST_F(FrameworkTest, LayoutsListingEveryMemberReadEachValueIntoPlace) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(seed);
        cListedShort a;
        ExpectBodyRoundTrip(a, seed);
        cListedReordered b;
        ExpectBodyRoundTrip(b, seed);
        // The records are still whole objects of their classes.
        EXPECT_EQ(&a.Layout(), &cListedShort().Layout());
        EXPECT_EQ(&b.Layout(), &cListedReordered().Layout());
    }
}

// A layout that derived classes share: the plan is made from whichever record reads first,
// and records of the other classes (their record base elsewhere in the whole object, their
// own members after it) still read every value into place and leave their own members alone.
struct cPlanBase : cDataFile {
    uint8_t m_byA = 0;
    uint32_t m_nB = 0;
    uint16_t m_wC = 0;
    double m_dD = 0;
    uint8_t m_byE = 0;
    const RECORDLAYOUT& Layout() const override {
        using C = cPlanBase;
        static const RECORDLAYOUT layout = cLayoutBuilder()
                                               .Values<&C::m_byA>()
                                               .Values<&C::m_nB>()
                                               .Values<&C::m_wC>()
                                               .Values<&C::m_dD>()
                                               .Values<&C::m_byE>()
                                               .Build();
        return layout;
    }
};
struct cPlanDerived : cPlanBase {
    uint64_t m_llOwn = 0x0123456789ABCDEFULL;
};
struct cPlanOther {
    virtual ~cPlanOther() = default;
    uint64_t m_llOther = 0x5A5A5A5A5A5A5A5AULL;
};
struct cPlanMixed : cPlanOther, cPlanDerived {};

TEST_F(FrameworkTest, RecordsOfClassesSharingALayoutReadIntoPlaceWhicheverMadeItsPlan) {
    cPlanDerived first;  // makes the plan
    ExpectBodyRoundTrip(first, 1);
    cPlanBase base;
    ExpectBodyRoundTrip(base, 2);
    cPlanMixed mixed;
    ASSERT_NE(static_cast<void*>(static_cast<cDataFile*>(&mixed)), static_cast<void*>(&mixed));
    ExpectBodyRoundTrip(mixed, 3);
    cPlanDerived again;
    ExpectBodyRoundTrip(again, 4);
    EXPECT_EQ(first.m_llOwn, 0x0123456789ABCDEFULL);
    EXPECT_EQ(again.m_llOwn, 0x0123456789ABCDEFULL);
    EXPECT_EQ(mixed.m_llOwn, 0x0123456789ABCDEFULL);
    EXPECT_EQ(mixed.m_llOther, 0x5A5A5A5A5A5A5A5AULL);
}

TEST_F(FrameworkTest, EveryValueByteOfACurrentBodyReachesItsMember) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(seed);
        { cBlockRec r; ExpectBodyRoundTrip(r, seed); }
        { cCharaRec r; ExpectBodyRoundTrip(r, seed); }
        { cItemRec r; ExpectBodyRoundTrip(r, seed); }
        { cFlow r; ExpectBodyRoundTrip(r, seed); }
        { cFlowCmd r; ExpectBodyRoundTrip(r, seed); }
        { cFlowCond r; ExpectBodyRoundTrip(r, seed); }  // stored in another order
        { cFlowKeyCond r; ExpectBodyRoundTrip(r, seed); }
        { cEdMove r; ExpectBodyRoundTrip(r, seed); }
        { cEdShot r; ExpectBodyRoundTrip(r, seed); }
        { cBackgroundRec r; ExpectBodyRoundTrip(r, seed); }
        { cSampleRecord r; ExpectBodyRoundTrip(r, seed); }
        // The stage's body has run-time members between its stored ones: they keep their values.
        cStage stage;
        stage.m_nValue85 = 0x5A5A5A5A;
        stage.m_strFilePath = "data\\stg4\\a.stg4_001";
        stage.m_bLoadDone = 7;
        stage.m_nSpeedLimit = -9;
        ExpectBodyRoundTrip(stage, seed);
        EXPECT_EQ(stage.m_nValue85, 0x5A5A5A5A);
        EXPECT_EQ(stage.m_strFilePath, "data\\stg4\\a.stg4_001");
        EXPECT_EQ(stage.m_bLoadDone, 7);
        EXPECT_EQ(stage.m_nSpeedLimit, -9);
    }
}

}  // namespace
