// The conversions of flow commands read from files older than the current data version. Kind
// numbers below 734 are those files' own: at 734 every kind from 24 on moved up by one (an
// instant command's kind is its main-kind equivalent minus 15 throughout).
#include <algorithm>

#include "flow/command_kinds.h"
#include "flow/flow_cmd.h"

namespace {

// The parameter list of a command being converted: missing entries read as 0; writing one
// pads the list first.
class cParams {
public:
    explicit cParams(std::vector<int32_t>& v) : m_v(v) {}
    int32_t Get(size_t i) const { return i < m_v.size() ? m_v[i] : 0; }
    int32_t& At(size_t i) {
        if (i >= m_v.size()) m_v.resize(i + 1, 0);
        return m_v[i];
    }
    void Resize(size_t n) { m_v.resize(n, 0); }
    void Clear() { m_v.clear(); }
    // Moves P[i..] one place up, dropping the last entry, and sets P[i] = x.
    void Insert(size_t i, int32_t x) {
        if (i >= m_v.size()) return;
        for (size_t k = m_v.size() - 1; k > i; --k) m_v[k] = m_v[k - 1];
        m_v[i] = x;
    }
    void Inc(size_t i) {
        int32_t& p = At(i);
        if (p < INT32_MAX) ++p;
    }

private:
    std::vector<int32_t>& m_v;
};

// A status index moved up when a status word was inserted before it.
void ShiftStatus(cParams& p, int threshold) {
    if (p.Get(0) == 0 && p.Get(3) != 2 && p.Get(4) >= threshold) p.Inc(4);
    if (p.Get(6) == 2 && p.Get(12) != 2 && p.Get(13) >= threshold) p.Inc(13);
}

}  // namespace

void ConvertFlowCmd(cFlowCmd& cmd, uint32_t v) {
    if (v >= kDataVersion) return;
    const bool instant = cmd.IsInstant();
    // Main kinds without an instant form: an instant command never takes their conversions.
    int k = cmd.m_cKind + (instant ? kInstantKindOffset : 0);
    const bool noInstantForm = k == 5 || k == 11 || k == 14 || k == 15 || k == 16;
    cParams p(cmd.m_vecParams);
    if (!(instant && noInstantForm)) {
        if (v < 145 && k == 17) p.Resize(9);
        if (v < 166 && k == 35) {
            p.Resize(2);
            p.At(1) = 1;
        }
        if (v < 168 && k == 22) ShiftStatus(p, 10);
        if (v < 189 && k == 21) {
            p.Resize(15);
            p.Insert(2, 0);
        }
        if (v < 194 && k == 31) {
            p.Resize(15);
            p.Insert(6, 1);
        }
        if (v < 195 && (k == 29 || k == 30)) {
            p.Resize(3);
            p.At(2) = p.Get(1);
            p.At(1) = 0;
        }
        if (v < 203 && (k == 14 || k == 15)) p.Clear();
        if (v < 203 && k == 16) p.Resize(3);
        if (v < 203 && k == 22) ShiftStatus(p, 5);
        if (v < 210 && k == 23 && p.Get(0) != 2 && p.Get(1) >= 6) p.Inc(1);
        if (v < 219 && k == 25 && p.Get(0) == 3) p.At(1) = std::min(p.Get(1), 118) + 1;
        if (v < 220 && k == 11 && cmd.m_pShot) {
            uint16_t& graphic = cmd.m_pShot->Graphic();
            graphic = (uint16_t)std::min((int)graphic + 1, 119);
        }
        if (v < 514 && k == 5 && cmd.m_pMove) {
            cmd.m_pMove->Angle() = 0;
            cmd.m_pMove->AngleStep() = 0;
            cmd.m_pMove->MirrorAngle() = 1;
        }
        if (v < 545 && k == 19) {
            p.Resize(18);
            p.At(10) = 1;
        }
        if (v < 545 && k == 31) {
            p.Resize(15);
            p.At(11) = 0;
        }
        if (v < 546 && k == 19) p.At(10) = (p.Get(0) == 0 || p.Get(0) == 7) ? 1 : 0;
        if (v < 547 && k == 19) {
            p.Resize(18);
            p.At(11) = p.At(12) = p.At(13) = 0;
            p.At(14) = 1;
            p.At(15) = 0;
        }
        if (v < 547 && k == 31) {
            p.Resize(15);
            p.At(12) = p.At(13) = 0;
        }
        if (v < 556 && k == 19) {
            p.Resize(18);
            p.At(16) = 1;
        }
        if (v < 722 && k == 17 && p.Get(0) >= 2) p.Inc(0);
        if (v < 723 && k == 19) {
            p.Resize(18);
            p.At(17) = 0;
        }
        if (v < 723 && k == 31) {
            p.Resize(15);
            p.At(14) = 0;
        }
        if (v < 726 && k == 37) {
            p.Resize(5);
            p.At(0) = 11;
        }
        if (v < 727 && k == 37 && p.Get(0) == 11) {
            static const int kThresholds[] = {2, 3, 4, 14, 15, 16, 17};
            for (int t : kThresholds)
                if (p.Get(1) >= t) p.Inc(1);
        }
        if (v < 734) {
            if (k >= 24) ++k;
            // The arrange command names a command kind itself.
            if (k == 38 && p.Get(0) >= 24) p.Inc(0);
        }
        if (v < 747 && k == 21) {
            p.Resize(15);
            p.At(10) = 0;
            p.At(11) = 1;
            p.At(14) = 0;
        }
    }
    const int kind = k - (instant ? kInstantKindOffset : 0);
    if (!IsValidCmdKind(instant, kind)) {
        cmd.m_cKind = 0;
        p.Clear();
    } else {
        cmd.m_cKind = (int8_t)kind;
    }
}
