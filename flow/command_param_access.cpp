// The getters and setters of the variable-driven command parameters.
#include "flow/command_param_access.h"

#include "core/checked.h"

namespace {

// One field of a command: its address and width in bytes; none when the command lacks it.
struct CMDFIELD {
    void* pv = nullptr;
    int nBytes = 0;
};

CMDFIELD Field(uint8_t& f) { return {&f, 1}; }
CMDFIELD Field(uint16_t& f) { return {&f, 2}; }
CMDFIELD Field(int32_t& f) { return {&f, 4}; }

int32_t ReadField(const CMDFIELD& f) {
    switch (f.nBytes) {
        case 1: return (int8_t)*(uint8_t*)f.pv;
        case 2: return (int16_t)*(uint16_t*)f.pv;
        default: return *(int32_t*)f.pv;
    }
}

void WriteField(const CMDFIELD& f, int32_t value) {
    switch (f.nBytes) {
        case 1: *(uint8_t*)f.pv = (uint8_t)(value & 0xFF); break;
        case 2: *(uint16_t*)f.pv = (uint16_t)(value & 0xFFFF); break;
        default: *(int32_t*)f.pv = value; break;
    }
}

// Move settings: the line and charge moves (2, 5), the homing move (6), the warp (20).
CMDFIELD MoveField(int kind, int p, cFlowCmd& cmd) {
    if (!cmd.m_pMove) return {};
    cEdMove& m = *cmd.m_pMove;
    switch (kind) {
        case 2:
        case 5:
            switch (p) {
                case 0: return Field(m.TargetXBlocks());
                case 1: return Field(m.TargetXDots());
                case 2: return Field(m.TargetYBlocks());
                case 3: return Field(m.TargetYDots());
                case 4: return Field(m.Angle());
                case 5: return Field(m.AngleStep());
            }
            break;
        case 6:
            switch (p) {
                case 0: return Field(m.HomingDelay());
                case 1: return Field(m.HomingDelayStep());
                case 2: return Field(m.TargetXBlocks());
                case 3: return Field(m.TargetXDots());
                case 4: return Field(m.TargetYBlocks());
                case 5: return Field(m.TargetYDots());
            }
            break;
        case 20:
            switch (p) {
                case 0: return Field(m.Distance());
                case 1: return Field(m.DistanceStep());
                case 2: return Field(m.TargetXBlocks());
                case 3: return Field(m.TargetYBlocks());
                case 4: return Field(m.TargetXDots());
                case 5: return Field(m.TargetYDots());
            }
            break;
    }
    return {};
}

// Shot settings by the row numbers of the shot command (kind 11).
CMDFIELD ShotRowField(int row, cEdShot& s) {
    switch (row) {
        case 0: return Field(s.Graphic());
        case 1: return Field(s.ZLayer());
        case 2:
        case 3:
        case 4: return Field(s.FormationParams()[row - 2]);
        case 5: return Field(s.FormationCount());
        case 6: return Field(s.ExtraCalls());
        case 7: return Field(s.Angle());
        case 8: return Field(s.AngleStep());
        case 9: return Field(s.AngleSpread());
        case 10: return Field(s.OffsetX());
        case 11: return Field(s.OffsetXStep());
        case 12: return Field(s.OffsetY());
        case 13: return Field(s.OffsetYStep());
        case 14: return Field(s.Group());
        case 15:
        case 16:
        case 17: return Field(s.TrajectoryParams()[row - 15]);
        case 18: return Field(s.Speed());
        case 19: return Field(s.SpeedStep());
        case 20: return Field(s.Accel());
        case 21: return Field(s.AccelStep());
        case 22: return Field(s.Range());
        case 23: return Field(s.RangeStep());
        case 24: return Field(s.Life());
        case 25: return Field(s.LifeStep());
        case 26: return Field(s.ClashStrength());
        case 27: return Field(s.Power());
        case 28: return Field(s.Impact());
    }
    return {};
}

// The sword and the summons reuse fields of the shot command: their rows in its numbering.
constexpr int kSwordRows[] = {14, 1, 27, 28};
constexpr int kBlockSummonRows[] = {2, 3, 4, 5, 10, 12};
// Their life time is the field of the shot command's row 22.
constexpr int kCharaSummonRows[] = {22, 14, 2, 3, 4, 5, 10, 12};
constexpr int kItemSummonRows[] = {22, 2, 3, 4, 5, 10, 12};

template <size_t N>
int RowOf(const int (&rows)[N], int p) {
    return (p >= 0 && (size_t)p < N) ? rows[p] : -1;
}

CMDFIELD ShotField(int kind, int p, cFlowCmd& cmd) {
    if (!cmd.m_pShot) return {};
    int row = -1;
    switch (kind) {
        case 11: row = p; break;
        case 12: row = RowOf(kSwordRows, p); break;
        case 13: row = RowOf(kBlockSummonRows, p); break;
        case 14: row = RowOf(kCharaSummonRows, p); break;
        case 15: row = RowOf(kItemSummonRows, p); break;
    }
    return ShotRowField(row, *cmd.m_pShot);
}

// Kinds whose parameters live in the integer parameter list: P index per parameter number.
constexpr int kStageClearP[] = {1, 6, 7, 3, 4};
constexpr int kMessageP[] = {13, 1, 2, 3, 4};
constexpr int kTargetP[] = {1, 9, 12};
constexpr int kStatusP[] = {8, 9};
constexpr int kVanishP[] = {1};
constexpr int kGraphicP[] = {1, 2};
constexpr int kEffectP[] = {2, 3, 4, 5, 6};
// Parameter 0, the picture ID, is the ID the picture is managed by (as the message ID).
constexpr int kPictureP[] = {13, 2, 3, 4, 5, 7};
constexpr int kScreenColourP[] = {0, 1, 2, 3};
constexpr int kBackgroundP[] = {0};

CMDFIELD ListField(int kind, int p, cFlowCmd& cmd) {
    int index = -1;
    switch (kind) {
        case 17: index = RowOf(kStageClearP, p); break;
        case 19: index = RowOf(kMessageP, p); break;
        case 21: index = RowOf(kTargetP, p); break;
        case 22: index = RowOf(kStatusP, p); break;
        case 24: index = RowOf(kVanishP, p); break;
        case 26: index = RowOf(kGraphicP, p); break;
        case 29: index = RowOf(kEffectP, p); break;
        case 32: index = RowOf(kPictureP, p); break;
        case 33: index = RowOf(kScreenColourP, p); break;
        case 34: index = RowOf(kBackgroundP, p); break;
    }
    if (index < 0) return {};
    return Field(CheckedAt(cmd.m_vecParams, index));
}

template <int K>
CMDFIELD KindField(int p, cFlowCmd& cmd) {
    if constexpr (K == 2 || K == 5 || K == 6 || K == 20) return MoveField(K, p, cmd);
    else if constexpr (K >= 11 && K <= 15) return ShotField(K, p, cmd);
    else return ListField(K, p, cmd);
}

template <int K>
BOOL Get(int32_t& value, int p, cFlowCmd& cmd) {
    CMDFIELD f = KindField<K>(p, cmd);
    if (!f.pv) return FALSE;
    value = ReadField(f);
    return TRUE;
}

template <int K>
void Set(int32_t value, int p, cFlowCmd& cmd) {
    CMDFIELD f = KindField<K>(p, cmd);
    if (f.pv) WriteField(f, value);
}

// Kinds 3, 4 and 7: a pair with nothing to read or write.
BOOL GetNothing(int32_t&, int, cFlowCmd&) { return FALSE; }
void SetNothing(int32_t, int, cFlowCmd&) {}

}  // namespace

const CMDPARAMGETFUNC g_CommandParamGet[kMainCmdKindCount] = {
    nullptr,   nullptr,   Get<2>,    GetNothing, GetNothing, Get<5>,  Get<6>,  GetNothing, nullptr, nullptr,
    nullptr,   Get<11>,   Get<12>,   Get<13>,    Get<14>,    Get<15>, nullptr, Get<17>,    nullptr, Get<19>,
    Get<20>,   Get<21>,   Get<22>,   nullptr,    Get<24>,    nullptr, Get<26>, nullptr,    nullptr, Get<29>,
    nullptr,   nullptr,   Get<32>,   Get<33>,    Get<34>,    nullptr, nullptr, nullptr,    nullptr, nullptr,
};

const CMDPARAMSETFUNC g_CommandParamSet[kMainCmdKindCount] = {
    nullptr,   nullptr,   Set<2>,    SetNothing, SetNothing, Set<5>,  Set<6>,  SetNothing, nullptr, nullptr,
    nullptr,   Set<11>,   Set<12>,   Set<13>,    Set<14>,    Set<15>, nullptr, Set<17>,    nullptr, Set<19>,
    Set<20>,   Set<21>,   Set<22>,   nullptr,    Set<24>,    nullptr, Set<26>, nullptr,    nullptr, Set<29>,
    nullptr,   nullptr,   Set<32>,   Set<33>,    Set<34>,    nullptr, nullptr, nullptr,    nullptr, nullptr,
};

CMDPARAMGETFUNC CommandParamGetter(int kind) {
    return (kind >= 0 && kind < kMainCmdKindCount) ? g_CommandParamGet[kind] : nullptr;
}

CMDPARAMSETFUNC CommandParamSetter(int kind) {
    return (kind >= 0 && kind < kMainCmdKindCount) ? g_CommandParamSet[kind] : nullptr;
}
