// The code command's formula language: lines and what they compute, write and say.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/scene_manager.h"
#include "core/helpers.h"
#include "core/report.h"
#include "flow/expression.h"
#include "flow/expression_words.h"
#include "platform/win32/crt.h"
#include "platform/win32/files.h"
#include "play/chara_def.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

std::vector<std::string> g_messages;

bool CatchBox(const char* text, const char* caption, UINT, int* answer) {
    EXPECT_STREQ(caption, "エラー");
    g_messages.push_back(text);
    *answer = IDOK;
    return true;
}

// The running character is a stage character whose target is the hero.
class Expression : public testing::Test {
protected:
    void SetUp() override {
        const std::string dir = std::string(VELMORA_BINARY_DIR) + "/tmp/flow";
        std::filesystem::create_directories(dir);
        reportPath = dir + "/Report_expression." + testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        ASSERT_EQ(OpenReport(WindowsPathFromHost(reportPath).c_str()), 1);
        SetFullScreenMessageBox(CatchBox);
        g_messages.clear();
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
        savedVars = g_SaveData.m_vecCommonVars;
        savedScore = g_SaveData.m_nScore;
        savedLives = g_SaveData.m_nLives;
        g_SaveData.m_vecCommonVars.assign(11, 0);
        g_SaveData.m_vecCommonVars[1] = 4;
        g_SaveData.m_vecCommonVars[2] = 10;
        g_SaveData.m_nScore = 0;
        g_SaveData.m_nLives = 3;
        cCharaRec rec;
        rec.m_nC39 = 500;
        rec.m_nC40 = 50;
        const int32_t place[4] = {0, 0, -1, 0};
        g_vecHero.assign(1, cHero());
        g_vecHero[0].SetupFromPlacement(0, rec, place);
        g_vecHero[0].m_vecVar.assign(9, 0);
        rec.m_nC39 = 100;
        rec.m_nC40 = 100;
        rec.m_byC17 = 4;
        g_listStageChara.emplace_back();
        my = &g_listStageChara.back();
        my->SetUp(&rec, place);
        my->m_nId = 7;
        my->m_nTargetId = Hero().m_nId;
        my->m_vecVar.assign(9, 0);
        scene.m_lpRunChara = my;
    }
    void TearDown() override {
        SetFullScreenMessageBox(nullptr);
        g_vecHero.clear();
        g_listStageChara.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
        g_SaveData.m_vecCommonVars = savedVars;
        g_SaveData.m_nScore = savedScore;
        g_SaveData.m_nLives = savedLives;
    }
    static cHero& Hero() { return g_vecHero[0]; }
    static int32_t& C(int n) { return g_SaveData.m_vecCommonVars[(size_t)n]; }
    int32_t& S(int n) { return scene.m_vecStageVars[(size_t)n]; }
    // The value of a line, with the error flag cleared first as the code command does.
    int32_t Eval(const std::string& line) {
        g_bExprError = 0;
        return EvalExpression(line, my);
    }
    std::string Report() const {
        std::ifstream in(reportPath, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::string reportPath;
    cPlayScene scene;
    cStageChara* my = nullptr;
    std::vector<int32_t> savedVars;
    int32_t savedScore = 0, savedLives = 0;
};

const std::string kNoParen = "\")\"が見つかりません！";
const std::string kBadArgs = "関数 rand の引数が不正です！";
std::string DivMessage(const std::string& flat) { return "0除算が行われました！(" + flat + ")"; }

// Lines on variables, with C1 = 4 and C2 = 10 before each: value, error flag, C1, C2, S3 after,
// and the message shown (empty: none).
TEST_F(Expression, LinesComputeAndAssignAsTheKitDoes) {
    struct {
        const char* line;
        int32_t value;
        int error;
        int32_t c1, c2, s3;
        std::string message;
    } cases[] = {
        // The three passes, left to right within a pass.
        {"C1 = C1 + 1", 5, 0, 5, 10, 0, ""},
        {"S3 = ( C1 + 2 ) * 3", 18, 0, 4, 10, 18, ""},
        {"C1 = 10 - 3 - 2", 5, 0, 5, 10, 0, ""},
        {"C1 = 2 + 3 * 4", 14, 0, 14, 10, 0, ""},
        {"C1 = 2 * 3 + 4 % 3", 7, 0, 7, 10, 0, ""},
        {"C1 = 20 / 2 / 5", 2, 0, 2, 10, 0, ""},
        {"C1 = C2 - C1 * 2", 2, 0, 2, 10, 0, ""},
        {"C2 = 7 / -2", -3, 0, 4, -3, 0, ""},
        {"C2 = -7 % 2", -1, 0, 4, -1, 0, ""},
        {"C2 = 7 % -3", 1, 0, 4, 1, 0, ""},
        // Parentheses: nested, at the start of a word only; the inner texts are flat texts.
        {"C1 = ( ( ( 1 + 1 ) * 2 ) + 1 ) * 2", 10, 0, 10, 10, 0, ""},
        {"C1 = ((1 + 2) * (3 + 4))", 21, 0, 21, 10, 0, ""},
        {"C1 = (C2)", 10, 0, 10, 10, 0, ""},
        {"C1(5)", 4, 0, 4, 10, 0, ""},                // not a call: "1(5)" is index 1
        {"( C1+2 )", 4, 0, 4, 10, 0, ""},             // one word: C1
        {"C1=5", 4, 0, 4, 10, 0, ""},                 // one word: C1, nothing written
        {"-C1", 0, 0, 4, 10, 0, ""},                  // a number without digits
        {"C1 = -5 * -2", 10, 0, 10, 10, 0, ""},
        {"C1 = ( 0 - 5 ) * 2", -10, 0, -10, 10, 0, ""},  // the value comes back as "-5"
        {"3 + 4", 7, 0, 4, 10, 0, ""},
        {"", 0, 0, 4, 10, 0, ""},
        {"   ", 0, 0, 4, 10, 0, ""},
        {"C2", 10, 0, 4, 10, 0, ""},
        {"C1 = 5 C2 = C1", 4, 0, 5, 4, 0, ""},        // values are read before anything is written
        {"C1 = 5 + + 3", 5, 0, 5, 10, 0, ""},         // an operator read as an operand counts 0
        {"C1 = = 3", 0, 0, 0, 10, 0, ""},
        {"C1 = 12abc", 12, 0, 12, 10, 0, ""},
        {"Cx = 3", 3, 0, 4, 10, 0, ""},               // "Cx" is common variable 0
        // Assignments are clamped to the variables' range.
        {"C1 = 2000000", 999999, 0, 999999, 10, 0, ""},
        {"C1 = 0 - 2000000", -999999, 0, -999999, 10, 0, ""},
        // Division by zero: the message with the flat text, the level is 0, and the enclosing
        // text goes on.
        {"C2 = 5 / 0", 0, 1, 4, 10, 0, DivMessage("C2 = 5 / 0")},
        {"C2 = 5 % C0", 0, 1, 4, 10, 0, DivMessage("C2 = 5 % C0")},
        {"C1 = ( 5 / 0 )", 0, 1, 0, 10, 0, DivMessage(" 5 / 0 ")},
        // Parentheses and calls that do not close.
        {"C1 = (1 + 2", 0, 1, 4, 10, 0, kNoParen},
        {"C1 = C2(3", 0, 1, 4, 10, 0, kNoParen},
        {"C1 = rand(1, 2", 0, 1, 4, 10, 0, kNoParen},
        {"C1 = rand(1)", 0, 1, 4, 10, 0, kBadArgs},
        {"C1 = rand(1, 2, 3)", 0, 1, 4, 10, 0, kBadArgs},
        {"C1 = rand(1,)", 0, 1, 4, 10, 0, kBadArgs},  // an empty argument does not count
        {"C1 = rand()", 0, 1, 4, 10, 0, kBadArgs},
        {"C1 = foo.hp", 0, 1, 4, 10, 0, "オブジェクト \"foo.\" が認識できません！"},
        {"C1 = .hp", 0, 1, 4, 10, 0, "オブジェクト \".\" が認識できません！"},
        // Refused without a message and without a change: no operand on one side, a left side
        // that names no storage (a number, an operator, the result of an earlier "="), a status
        // word of "sys."
        {"= 5", 0, 1, 4, 10, 0, ""},
        {"C1 = 5 +", 0, 1, 4, 10, 0, ""},
        {"* C1 = 5", 0, 1, 4, 10, 0, ""},
        {"5 = 3", 0, 1, 4, 10, 0, ""},
        {"C1 = C2 = 5", 0, 1, 4, 10, 0, ""},
        {"sys.hp = 5", 0, 1, 4, 10, 0, ""},
        {"C1 = sys.mhp", 0, 1, 4, 10, 0, ""},
    };
    for (const auto& c : cases) {
        C(0) = 0;
        C(1) = 4;
        C(2) = 10;
        S(3) = 0;
        g_messages.clear();
        EXPECT_EQ(Eval(c.line), c.value) << c.line;
        EXPECT_EQ(g_bExprError, c.error) << c.line;
        EXPECT_EQ(C(1), c.c1) << c.line;
        EXPECT_EQ(C(2), c.c2) << c.line;
        EXPECT_EQ(S(3), c.s3) << c.line;
        if (c.message.empty()) {
            EXPECT_TRUE(g_messages.empty()) << c.line << ": " << (g_messages.empty() ? "" : g_messages[0]);
        } else {
            ASSERT_EQ(g_messages.size(), 1u) << c.line;
            EXPECT_EQ(g_messages[0], c.message) << c.line;
        }
    }
}

TEST_F(Expression, ArithmeticWrapsAsSigned32Bits) {
    struct { const char* line; int32_t value; } cases[] = {
        {"2147483647 + 1", INT_MIN},
        {"-2147483648 - 1", INT_MAX},
        {"65536 * 65536", 0},
        {"65537 * 65537", 131073},
        {"-2147483648 / -1", INT_MIN},
        {"-2147483648 % -1", 0},
        {"-2147483648 * -1", INT_MIN},
        {"99999999999", INT_MAX},   // a number past the range is held at its end
        {"-99999999999", INT_MIN},
        {"C1 = 2147483647 + 1", -999999},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Eval(c.line), c.value) << c.line;
        EXPECT_EQ(g_bExprError, 0) << c.line;
    }
}

// Every status word: what it reads, and what an assignment of a value stores.
TEST_F(Expression, StatusWordsHaveTheirWidthsAndRanges) {
    cCharaRec& d = my->m_Def;
    charadef::CharaIdField(d) = 0xFF;  // i8: reads -1
    charadef::MarkField(d) = 0xFFFE;   // i16: reads -2
    my->m_byLayer = 3;
    EXPECT_EQ(Eval("my.cid"), -1);
    EXPECT_EQ(Eval("my.mark"), -2);
    EXPECT_EQ(Eval("z"), 3);
    my->m_vecVar[8] = 77;
    EXPECT_EQ(Eval("my.v8"), 77);
    EXPECT_EQ(Eval("my.v8 = v8 + 1"), 78);
    EXPECT_EQ(my->m_vecVar[8], 78);

    struct {
        const char* word;
        int32_t assigned, stored;
    } cases[] = {
        {"v1", 5000000, 999999}, {"v4", -5000000, -999999}, {"hp", 99999, 100}, {"hp", -5, 0},
        {"sp", 200, 100},       {"mhp", 2000000, 999999}, {"mhp", 0, 1},      {"msp", -3, 1},
        {"cid", 200, 99},       {"cid", -1, 0},           {"z", 9, 7},         {"z", -1, 0},
        {"mark", 500, 119},     {"sight", 50, 40},        {"power", -2000000, -999999},
        {"imp", -30, -20},      {"imp", 30, 20},          {"def", -5, 0},     {"impd", 21, 20},
        {"stop", 300, 200},     {"stop", -1, 0},          {"getsc", 1234567, 999999},
    };
    for (const auto& c : cases) {
        const std::string line = std::string("my.") + c.word + " = " + std::to_string(c.assigned);
        EXPECT_EQ(Eval(line), c.stored) << line;
        EXPECT_EQ(g_bExprError, 0) << line;
        EXPECT_EQ(Eval(std::string("my.") + c.word), c.stored) << line;
    }
    // The narrow words hold exactly their bytes.
    Eval("my.imp = -20");
    EXPECT_EQ(charadef::BodyImpactField(d), 0xEC);
    Eval("my.mark = 119");
    EXPECT_EQ(charadef::MarkField(d), 119);
    Eval("my.stop = 150");
    EXPECT_EQ(charadef::DecelField(d), 150);
    EXPECT_EQ(charadef::MaxHPField(d), 1);  // the last "mhp" case
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(Expression, WritesThatChangeMoreThanTheirWord) {
    // A new maximum brings HP and SP into 1 .. the maximum.
    my->m_nHP = 50;
    Eval("my.mhp = 10");
    EXPECT_EQ(my->m_nHP, 10);
    my->m_nHP = 0;
    Eval("my.mhp = 20");
    EXPECT_EQ(my->m_nHP, 1);
    my->m_nSP = 0;
    Eval("my.msp = 30");
    EXPECT_EQ(my->m_nSP, 1);
    // The range of "hp" is the maximum when the token is made.
    EXPECT_EQ(Eval("my.hp = 99999"), 20);
    // Sight of a stage character gives its range in dots; the hero's sight is only written.
    Eval("my.sight = 6");
    EXPECT_EQ(my->m_nSightRange, 6 * 16);
    Hero().m_nSightRange = 123;
    EXPECT_EQ(Eval("pl.sight = 5"), 5);
    EXPECT_EQ(charadef::SightField(Hero().m_Def), 5);
    EXPECT_EQ(Hero().m_nSightRange, 123);
    // Another character's HP at 0 asks for the death check; the running character's does not.
    Eval("my.hp = 0");
    EXPECT_EQ(scene.m_bDeathCheck, 0);
    Eval("tg.hp = tg.hp - 1000");
    EXPECT_EQ(Hero().m_nHP, 0);
    EXPECT_EQ(scene.m_bDeathCheck, 1);
    // "pl" is the first hero, "tg" the target.
    Hero().m_vecVar[2] = 9;
    EXPECT_EQ(Eval("C1 = pl.v2 + tg.v2"), 18);
    EXPECT_EQ(Eval("tg. v2"), 9);  // the object stays until a word is made
}

TEST_F(Expression, SystemWords) {
    scene.m_nTimeLimit = 120;
    scene.m_bNoTimeLimit = 1;
    EXPECT_EQ(Eval("sys.time"), 120);
    EXPECT_EQ(Eval("sys.time = 5000"), 999);
    EXPECT_EQ(Eval("time = -1"), 0);
    EXPECT_EQ(scene.m_nTimeLimit, 0);
    g_StageSettings.m_bAutoScrollX = 1;
    EXPECT_EQ(Eval("sys.scrlx = 1000"), 480);
    EXPECT_EQ(g_StageSettings.m_nAutoScrollSpeedX, 480);
    EXPECT_EQ(scene.m_ScrollX.m_bScroll, 1);
    EXPECT_DOUBLE_EQ(scene.m_ScrollX.m_dSpeed, 48.0);
    EXPECT_EQ(Eval("sys.scrly = -20"), -20);
    EXPECT_EQ(scene.m_ScrollY.m_bScroll, 0);  // vertical scrolling is off in this stage
    EXPECT_EQ(g_StageSettings.m_nAutoScrollSpeedY, -20);
    EXPECT_EQ(Eval("score = 1500000"), 999999);
    EXPECT_EQ(Eval("sys.score = score - 1000000"), 0);
    EXPECT_EQ(Eval("life = 200"), 99);
    EXPECT_EQ(Eval("life = -200"), 0);
    // Unlimited lives read as 0 and stay unlimited.
    g_SaveData.m_nLives = kUnlimitedLives;
    EXPECT_EQ(Eval("sys.life"), 0);
    EXPECT_EQ(Eval("sys.life = 5"), kUnlimitedLives);
    EXPECT_EQ(g_SaveData.m_nLives, kUnlimitedLives);
    // Without a play scene there is no time and no stage variable.
    g_lpPlayScene = nullptr;
    Eval("C1 = sys.time");
    EXPECT_EQ(g_bExprError, 1);
    Eval("S1 = 5");
    EXPECT_EQ(g_bExprError, 1);
    EXPECT_EQ(C(1), 4);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(Expression, RandDrawsFromTheSharedGenerator) {
    crt::srand(1234);
    const int expected = RandRange(1, 6);
    crt::srand(1234);
    EXPECT_EQ(Eval("tg.v2 = rand(1, 6)"), expected);
    EXPECT_EQ(Hero().m_vecVar[2], expected);
    // Bounds in either order, both included; arguments are expressions.
    bool low = false, high = false;
    for (int k = 0; k < 400; ++k) {
        const int32_t v = Eval("C1 = rand(6, 1)");
        ASSERT_TRUE(v >= 1 && v <= 6) << v;
        low |= v == 1;
        high |= v == 6;
    }
    EXPECT_TRUE(low && high);
    EXPECT_EQ(Eval("rand(( 1 + 1 ), C2 - 8) * 3"), 6);
    EXPECT_EQ(Eval("rand(rand(4,4), 4)"), 4);
    EXPECT_EQ(Eval("rand(-2147483648, -2147483648)"), INT_MIN);
    const int32_t wide = Eval("rand(-2147483648, 2147483647)");
    (void)wide;
    EXPECT_EQ(g_bExprError, 0);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(Expression, MissingObjectsAndIndexesChangeNothing) {
    // No target: the level fails without a message; an enclosing text goes on with 0.
    my->m_nTargetId = -1;
    EXPECT_EQ(Eval("C1 = tg.hp"), 0);
    EXPECT_EQ(g_bExprError, 1);
    EXPECT_EQ(C(1), 4);
    EXPECT_EQ(Eval("C1 = ( tg.hp )"), 0);
    EXPECT_EQ(C(1), 0);
    EXPECT_TRUE(g_messages.empty());
    // Indexes outside the lists are index errors; nothing is written anywhere.
    C(0) = 3;
    EXPECT_EQ(Eval("C11 = 5"), 0);
    EXPECT_EQ(g_bExprError, 1);
    EXPECT_EQ(Eval("C-1 = 5"), 0);
    EXPECT_EQ(Eval("S1001 = 5"), 0);
    EXPECT_EQ(Eval("S1000 = 5"), 5);
    EXPECT_EQ(C(0), 3);
    my->m_vecVar.assign(3, 0);
    EXPECT_EQ(Eval("my.v3 = 5"), 0);
    EXPECT_EQ(g_bExprError, 1);
    EXPECT_EQ(my->m_vecVar, (std::vector<int32_t>{0, 0, 0}));
    // No hero.
    g_vecHero.clear();
    EXPECT_EQ(Eval("C1 = pl.hp"), 0);
    EXPECT_EQ(g_bExprError, 1);
    // No running character.
    g_bExprError = 0;
    EXPECT_EQ(EvalExpression("hp", nullptr), 0);
    EXPECT_EQ(g_bExprError, 1);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(Expression, RunExpressionCodeAnswersAndClearsTheFlag) {
    g_bExprError = 1;
    EXPECT_EQ(RunExpressionCode("3 + 4", my), 1);
    EXPECT_EQ(g_bExprError, 0);
    EXPECT_EQ(RunExpressionCode("C1 = ( 5 / 0 )", my), 0);
    EXPECT_EQ(C(1), 0);  // what was written before the error stays
    EXPECT_EQ(RunExpressionCode("my.hp = my.hp - 10 * 2", my), 1);
    EXPECT_EQ(my->m_nHP, 80);
    // The gauges show the change of HP and SP of the running character, not after an error.
    EXPECT_EQ(my->m_HPGauge.nFrames, 120);
    EXPECT_DOUBLE_EQ(my->m_HPGauge.dChange, -20 * 50.0 / 100);
    EXPECT_EQ(my->m_SPGauge.nFrames, 0);
    EXPECT_EQ(RunExpressionCode("my.sp = 90 my.hp = 0 / 0", my), 0);
    EXPECT_EQ(my->m_nSP, 100);
    EXPECT_EQ(my->m_SPGauge.nFrames, 0);
    EXPECT_EQ(RunExpressionCode("my.sp = 90", my), 1);
    EXPECT_DOUBLE_EQ(my->m_SPGauge.dChange, -10 * 50.0 / 100);
    EXPECT_EQ(Hero().m_HPGauge.nFrames, 0);
    EXPECT_EQ(RunExpressionCode("tg.hp = 1", my), 1);
    EXPECT_EQ(Hero().m_HPGauge.nFrames, 0);  // only the running character's
    // The text ends at a NUL, as the program's strings do.
    EXPECT_EQ(RunExpressionCode(std::string("C2 = 1\0 + 5", 11), my), 1);
    EXPECT_EQ(C(2), 1);
}

TEST_F(Expression, LimitsEndTheLevel) {
    // Nesting deeper than the limit.
    std::string deep = "C1 = " + std::string(kExprDepthMax + 1, '(') + "7" + std::string(kExprDepthMax + 1, ')');
    EXPECT_EQ(RunExpressionCode(deep, my), 0);
    EXPECT_EQ(C(1), 0);  // the outer level goes on with 0
    std::string fits = "C1 = " + std::string(kExprDepthMax, '(') + "7" + std::string(kExprDepthMax, ')');
    EXPECT_EQ(RunExpressionCode(fits, my), 1);
    EXPECT_EQ(C(1), 7);
    // A text longer than a line holds.
    std::string longText = "C1 = 1" + std::string(kExprTextMax, ' ');
    EXPECT_EQ(RunExpressionCode(longText, my), 0);
    EXPECT_EQ(C(1), 7);
    // A text that grows past the limit as values replace parentheses.
    C(2) = -999999;
    std::string grow = "C1 =";
    while (grow.size() + 5 <= kExprTextMax) grow += " (C2)";
    EXPECT_EQ(RunExpressionCode(grow, my), 0);
    EXPECT_EQ(C(1), 7);
    // Too many words in one flat text.
    std::string many = "C1 = 0";
    for (size_t k = 0; k < kExprTokenMax; ++k) many += " + 1";
    ASSERT_LE(many.size(), kExprTextMax);
    EXPECT_EQ(RunExpressionCode(many, my), 0);
    EXPECT_EQ(C(1), 7);
    std::string enough = "C1 = 0";
    for (size_t k = 0; k + 3 < kExprTokenMax / 2; ++k) enough += " + 1";
    EXPECT_EQ(RunExpressionCode(enough, my), 1);
    EXPECT_EQ(C(1), (int32_t)(kExprTokenMax / 2 - 3));
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(Expression, RefusalsAndIndexErrorsAreReported) {
    Eval("sys.mhp = 5");
    Eval("C1 = 6 +");
    Eval("C1 = 6 +");  // the same line again: no second line
    Eval("7 = C1");
    Eval("C12 = 1");
    EXPECT_EQ(Report(),
              "Code Err : a status word of sys (sys.mhp = 5)\n"
              "Code Err : an operator without an operand (C1 = 6 +)\n"
              "Code Err : an assignment to no variable or word (7 = C1)\n"
              "err V[12] ( 11 , 4 )\n");
    EXPECT_EQ(C(1), 4);
    EXPECT_TRUE(g_messages.empty());
}

TEST(ExpressionWords, KeywordLists) {
    EXPECT_EQ(FindExprWord(g_aszExprOperator, EXPROP_COUNT, "%"), EXPROP_MOD);
    EXPECT_EQ(FindExprWord(g_aszExprStatusWord, EXPRSTATUS_COUNT, "getsc"), EXPRSTATUS_GETSC);
    EXPECT_EQ(FindExprWord(g_aszExprStatusWord, EXPRSTATUS_COUNT, "HP"), -1);  // case-sensitive
    EXPECT_EQ(FindExprWord(g_aszExprSystemWord, EXPRSYS_COUNT, "life"), EXPRSYS_LIFE);
    EXPECT_EQ(FindExprWord(g_aszExprObject, EXPROBJ_COUNT, "sys"), EXPROBJ_SYS);
    EXPECT_EQ(g_anExprOperatorPass[EXPROP_ASSIGN], 2);
    EXPECT_EQ(g_anExprOperatorPass[EXPROP_SUB], 1);
    EXPECT_EQ(g_anExprOperatorPass[EXPROP_MOD], 0);
}

}  // namespace
