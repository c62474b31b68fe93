// One scroll axis of the play scene: the view's position in dots on x or on y, held inside the
// range the stage's scroll limits allow, with the forced scrolling of the stage.
#pragma once

#include <cstdint>

class cScroll {
public:
    // Keeps the position inside the range; the minimum wins over the maximum when the range is
    // shorter than the view. The argument is not used.
    void Clamp(int unused = 0);
    // One sub-step of forced scrolling: position += speed, then Clamp.
    void Step();
    // `value` in tenths of a dot per frame, spread over the stage's n sub-steps. Returns 0.
    int SetSpeed(int enabled, int value);
    // The range from the stage's first and last scroll block and its two limit switches.
    void SetRange(int first, int last, int limitStart, int limitEnd);
    // The geometry of the axis for a stage `blocks` long with its extension word: axis 0 (x,
    // view 640, row length the smallest power of two above blocks + 19) or 1 (y, view 480).
    // Sizes beyond the block map's bound are cut; the position is left alone.
    void SetAxis(int axis, int blocks, int extension);

    double m_dPos = 0.0;      // left or top edge of the view, in dots
    int32_t m_bChanged = 0;   // 1 when the last Clamp put the position on a bound
    int32_t m_nAxis = 0;      // 0 x, 1 y
    int32_t m_nView = 0;      // 640 or 480
    int32_t m_nMin = 0;       // lowest position
    int32_t m_nMax = 0;       // the view's far edge may not pass it
    int32_t m_nBase = 0;      // dot position of the stage's first block (margin x 32)
    int32_t m_nDefaultMax = 0;  // the maximum when the end limit is off
    int32_t m_nMargin = 0;    // blocks of margin on each side of the stage
    int32_t m_nExtent = 0;    // the stage's extension word + 640
    int32_t m_nMapSize = 0;   // stage blocks + 2 margins
    int32_t m_nRowLength = 0; // x: the block map's row length; y: the map size
    int32_t m_nRowShift = 0;  // x: log2 of the row length; y: 0
    double m_dSpeed = 0.0;    // dots per sub-step of forced scrolling
    int32_t m_bScroll = 0;    // 1 while forced scrolling is on

    // The range as doubles for the objects' clamps, which run for every object in every
    // sub-step: m_nMin, m_nMax, m_nBase, m_nDefaultMax and m_nMapSize x 32, exactly. SetAxis
    // and SetRange, the only writers of those words, prepare them.
    double m_dMin = 0.0;
    double m_dMax = 0.0;
    double m_dBase = 0.0;
    double m_dDefaultMax = 0.0;
    double m_dTotal = 0.0;

private:
    void PrepareBounds();
};
