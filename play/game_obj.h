// The base of every object that lives in a stage: characters, items and shots. It holds the
// position and speed in dots, the size box, the graphic's screen rectangle, the block cells,
// the animation and the current and base sizes (current = base x scale), and moves the object
// one sub-step at a time with the speed limit, clamped to the bounds of the play scene's scroll
// axes.
#pragma once

#include <cstdint>
#include <memory>

#include <list>

class cAnime;
class cChara;
class cStagePartA;
struct AnimeFrame;
struct CHARASEARCH;

// What a movement toward a point keeps between its steps: the direction (1 left, 2 right, 0
// none), the speed it writes, the speed setting (dots per sub-step), the no-scroll and
// no-escape settings and the snap-to-target setting (put the object on the point on arrival).
struct AIMSTATE {
    int32_t nDir;
    double dSpeedX, dSpeedY;
    double dSpeed;
    int32_t bNoScroll;
    int32_t bNoEscape;
    int32_t bSnap;
};

// The object's animation player, held by value but declared apart so that the headers of the
// game objects need not include the sequencer's.
class cObjAnime {
public:
    cObjAnime();
    ~cObjAnime();
    cObjAnime(const cObjAnime& other);
    cObjAnime& operator=(const cObjAnime& other);
    cAnime& operator*() const { return *m_lpAnime; }
    cAnime* operator->() const { return m_lpAnime.get(); }

private:
    std::unique_ptr<cAnime> m_lpAnime;
};

// Life counters and times of this value never count down.
constexpr int32_t kEndlessLife = 2147483647;

// Result codes of the clamp and step operations.
enum {
    CLAMP_INSIDE = 0,       // inside the scroll range
    CLAMP_SCROLL = 1,       // beyond the scroll range
    CLAMP_STAGE = 2,        // beyond the stage range
    CLAMP_MAPEDGE = 3,      // held at the map's edge
    CLAMP_SCROLL_BOTTOM = 4,
    CLAMP_STAGE_BOTTOM = 5,
    CLAMP_MAPEDGE_BOTTOM = 6,
};

// Where the screen lies on the map: the two scroll positions of the play scene's axes (0, 0
// outside play). A pass that asks many objects whether they are in view takes it once.
struct SCREENVIEW {
    double dX, dY;
};
SCREENVIEW CurrentScreenView();

// The far edges of a stage range block (see cGameObj::IsNearScrollEdge) for the present view and
// map, taken once for a pass over many objects: which of the four edges are enabled, their
// places in whole dots, and the map's last dot along each axis.
struct FAREDGES {
    bool abOn[4];       // left, right, top, bottom
    int32_t anEdge[4];  // same order
    double dLastX, dLastY;
};
FAREDGES FarEdgesOf(const cStagePartA& range);

class cGameObj {
public:
    // Every field 0 except the life time (kEndlessLife), an empty animation.
    cGameObj();
    virtual ~cGameObj() = default;

    // ---- the thirteen operations every object has ----
    // Copies the base fields of another object.
    virtual void CopyFrom(const cGameObj& other);
    // Sizes to the new scale, keeping the centre x; nothing when the scales are equal.
    virtual void SetScale(int newScale, int oldScale);
    virtual void ScaleHitBoxes(int) {}
    virtual void AdjustForScale(int, int) {}
    virtual void UpdateRectX() {}
    virtual void UpdateRectY() {}
    virtual void MoveTo(int, int) {}
    virtual void MoveToResult(int, int, void*) {}
    virtual void MoveToX(int) {}
    virtual void MoveToXResult(int, void*) {}
    virtual void MoveToY(int) {}
    virtual void MoveToYResult(int, void*) {}

    // Sets the object up: identifier, sides, kind, the animation (a table, or none to keep the
    // frames it has) started at `anime`, offsets and sizes as base and current values, speeds
    // and flags cleared, then the movement mode.
    void Init(int id, int playerSide, int side2, int blockSide, int kind, const AnimeFrame* const* table, int anime,
              int graphOffX, int graphOffY, int width, int height, int graphWidth, int graphHeight, int dir,
              int moveMode, int16_t extraCode);
    // 0 walking; 1 flying; 2 flying, movement mode 1; 3 flying, movement mode 2; others nothing.
    void SetMoveMode(int mode);

    // Holds the position inside the bounds of the play scene's axes (mode 0 the scroll range,
    // 1 the stage range, 2 the whole map) and answers CLAMP_... ; then the far edge and cells.
    int ClampX(int mode);
    int ClampY(int mode);
    // The speed held to the stage's limit per sub-step, one step, the clamp: 1-3 (x), 1-6 (y).
    int StepX(int mode);
    int StepY(int mode);
    // Unless flying: the stage's gravity per sub-step.
    void AddGravity();
    // Brings a speed towards 0 by the deceleration when `apply` is set.
    void ApplySpeedX(double& speed, int apply);

    // The graphic's rectangle on screen from the position and the scroll position.
    void GetGraphicRect();
    // The same with the play scene's two rounding switches (x, y): a switch on takes the
    // position and the scroll position apart as whole dots.
    void CalcScreenRect();
    // Whether a cell at a corner of the size box (left/top, left/bottom, right/top,
    // right/bottom) is solid for the object's block side; at its place, or with the box at
    // (x, y).
    bool HitsBlockCorners() const;
    bool HitsBlockAt(double x, double y) const;
    // The centre of the screen rectangle.
    void GetAnchor(double& x, double& y) const;
    // The character of a list nearest to the anchor that passes the filters (on screen only
    // when the stage compares on screen), or none.
    cChara* FindNearestFromAnchor(const std::list<cChara*>& list, const CHARASEARCH& filters) const;
    // One step of a movement toward (toX, toY) from the screen rectangle's centre: the state's
    // direction and speeds by AimVelocity; 1 on arrival (the object is put on the point when
    // the state snaps). AimFromPoint: along x only; AimFromAngle: along y only.
    int AimAtTarget(AIMSTATE& aim, const cGameObj* obj, double toX, double toY);
    int AimFromPoint(AIMSTATE& aim, const cGameObj* obj, double toX);
    int AimFromAngle(AIMSTATE& aim, const cGameObj* obj, double toY);
    bool IsOnScreen() const;
    bool IsInView(int skipHorizontal, int skipVertical) const;
    // The same against a view taken before: inside the 640 x 480 screen at the view, a half of
    // the test skipped when asked.
    bool IsInView(const SCREENVIEW& view, int skipHorizontal, int skipVertical) const {
        if (!skipHorizontal && !(m_dRight >= view.dX && m_dX < view.dX + 640.0)) return false;
        if (skipVertical) return true;
        return m_dBottom >= view.dY && m_dY < view.dY + 480.0;
    }
    // Inside the whole map (flag set) or inside the stage range.
    bool IsInStageY(int wholeMap) const;
    // Whether the object has left the area of a stage range block (four enable flags left,
    // right, top, bottom, then the four distances in blocks) or the map.
    bool IsNearScrollEdge(const cStagePartA& range) const;
    // The same against edges taken before.
    bool IsNearScrollEdge(const FAREDGES& e) const {
        if (m_bAlwaysActive) return false;
        if (e.abOn[0] && e.anEdge[0] >= m_dRight) return true;
        if (e.abOn[1] && e.anEdge[1] <= m_dX) return true;
        if (e.abOn[3] && e.anEdge[3] <= m_dY) return true;
        if (e.abOn[2] && e.anEdge[2] >= m_dBottom) return true;
        return m_dX <= 0.0 || m_dRight >= e.dLastX || m_dY <= 0.0 || m_dBottom >= e.dLastY;
    }
    int GetDir() const { return m_nDir > 0 ? 1 : -1; }
    // The number of the animation now playing.
    int AnimeNumber() const;

    int32_t m_nId;
    int32_t m_nLifeTime;
    int32_t m_nDir;          // > 0 faces right
    int16_t m_nExtraCode;
    int32_t m_nKind;
    cObjAnime m_Anime;
    int32_t m_nRectLeft, m_nRectTop, m_nRectRight, m_nRectBottom;  // on screen, inclusive
    int32_t m_nGraphOffX, m_nGraphOffY;    // graphic's top-left from the position (scaled)
    int32_t m_nGraphWidth, m_nGraphHeight; // graphic cell (scaled)
    int32_t m_nBaseGraphOffX, m_nBaseGraphOffY;
    int32_t m_nBaseGraphWidth, m_nBaseGraphHeight;
    int32_t m_nPlayerSide;   // non-zero: the player's side
    int32_t m_nSide2;
    int32_t m_nBlockSide;    // the side the block solidity test takes
    double m_dX, m_dY;       // top-left of the size box
    double m_dRight, m_dBottom;  // inclusive far edges
    int32_t m_nCellLeft, m_nCellTop, m_nCellRight, m_nCellBottom;
    double m_dSpeedX, m_dSpeedY;  // dots per sub-step
    double m_dMoveX, m_dMoveY;    // set by movement commands
    double m_dDecel;
    int32_t m_nWidth, m_nHeight;  // size box (scaled)
    int32_t m_nBaseWidth, m_nBaseHeight;
    int32_t m_bFlying;
    int32_t m_nMoveMode;
    int32_t m_bAppeared;
    int32_t m_bAlwaysActive;  // never taken for lying beyond its activation range
    uint8_t m_byFlag;
};

// A double position as an int, truncated toward zero (held inside the int range; NaN gives 0).
// Inline: every step, clamp and block look-up of the frame passes through it.
inline int32_t DotToInt(double v) {
    // Inside (-2^31 - 1, 2^31) the truncation lands in the int range (the two ends included);
    // only NaN and the values beyond take the second test.
    if (v > -2147483649.0 && v < 2147483648.0) return (int32_t)v;
    if (!(v == v)) return 0;
    return v > 0.0 ? INT32_MAX : INT32_MIN;
}
// The block column (axis 0) or row (axis 1) at which the stage begins on the map: the margin in
// front of it (10 without a play scene).
int StageOriginBlocks(int axis);
