#include "play/scroll.h"

#include <algorithm>

#include "records/stage.h"

namespace {
constexpr int32_t kBlockDots = 32;
constexpr int32_t kMargin = 10;
}  // namespace

void cScroll::Clamp(int) {
    if (m_dPos < (double)m_nMin) {
        m_dPos = m_nMin;
        m_bChanged = 1;
        return;
    }
    if (m_dPos + (double)m_nView >= (double)m_nMax) {
        m_dPos = (double)m_nMax - (double)m_nView;
        if (m_dPos < (double)m_nMin) m_dPos = m_nMin;
        m_bChanged = 1;
        return;
    }
    m_bChanged = 0;
}

void cScroll::Step() {
    m_dPos += m_dSpeed;
    Clamp();
}

int cScroll::SetSpeed(int enabled, int value) {
    if (enabled) {
        // The sub-step count is at least 1 once a hit level is set; a stage record that never
        // had one counts as 1 rather than dividing by zero.
        double n = g_StageSettings.m_adSubStep[cStage::STEP_N];
        if (!(n >= 1.0)) n = 1.0;
        m_dSpeed = value * 0.1 / n;
        m_bScroll = 1;
    } else {
        m_dSpeed = 0.0;
        m_bScroll = 0;
    }
    return 0;
}

void cScroll::SetRange(int first, int last, int limitStart, int limitEnd) {
    // 64-bit intermediates: the block numbers come from the stage file.
    auto dots = [this](int64_t blocks) {
        return (int32_t)std::clamp<int64_t>(m_nBase + blocks * kBlockDots, INT32_MIN / 2, INT32_MAX / 2);
    };
    m_nMin = limitStart ? dots(first) : m_nBase;
    if (limitEnd)
        m_nMax = std::max(dots((int64_t)last + 1), m_nMin);
    else
        m_nMax = m_nDefaultMax;
    PrepareBounds();
}

void cScroll::SetAxis(int axis, int blocks, int extension) {
    blocks = std::clamp(blocks, 0, kMaxStageSide);
    m_nAxis = axis;
    m_nView = axis == 0 ? 640 : 480;
    m_nMargin = kMargin;
    m_nMapSize = blocks + 2 * kMargin;
    if (axis == 0) {
        // The smallest power of two above width + 19: the block map's row length and shift.
        m_nRowShift = 0;
        while ((1 << m_nRowShift) <= blocks + 19) ++m_nRowShift;
        m_nRowLength = 1 << m_nRowShift;
    } else {
        m_nRowShift = 0;
        m_nRowLength = m_nMapSize;
    }
    m_nBase = kMargin * kBlockDots;
    m_nDefaultMax = (blocks + kMargin) * kBlockDots;
    m_nExtent = (int32_t)std::clamp<int64_t>((int64_t)extension + 640, INT32_MIN / 2, INT32_MAX / 2);
    PrepareBounds();
}

void cScroll::PrepareBounds() {
    m_dMin = (double)m_nMin;
    m_dMax = (double)m_nMax;
    m_dBase = (double)m_nBase;
    m_dDefaultMax = (double)m_nDefaultMax;
    m_dTotal = (double)m_nMapSize * 32.0;
}
