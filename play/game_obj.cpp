#include "play/game_obj.h"

#include <algorithm>
#include <cmath>

#include "app/scene_manager.h"
#include "media/anime.h"
#include "play/block_map.h"
#include "play/chara_search.h"
#include "play/play_scene.h"
#include "play/stage_words.h"
#include "records/stage.h"

namespace {

// The axes of the live play scene; an object outside play sees empty axes.
const cScroll s_NoAxis;
const cScroll& AxisX() { return g_lpPlayScene ? g_lpPlayScene->m_ScrollX : s_NoAxis; }
const cScroll& AxisY() { return g_lpPlayScene ? g_lpPlayScene->m_ScrollY : s_NoAxis; }

// The bounds a clamp holds an object in along one axis: scroll range, stage range (the stage's
// blocks without the margins) and the whole map.
struct BOUNDS {
    double scrollMin, scrollMax, stageMin, stageMax, total;
};
BOUNDS Bounds(const cScroll& s) { return BOUNDS{s.m_dMin, s.m_dMax, s.m_dBase, s.m_dDefaultMax, s.m_dTotal}; }

// A size times a scale, held inside the int range.
int32_t Scaled(int32_t base, int scale) {
    return (int32_t)std::clamp<int64_t>((int64_t)base * scale, INT32_MIN, INT32_MAX);
}

}  // namespace

cObjAnime::cObjAnime() : m_lpAnime(std::make_unique<cAnime>()) {}
cObjAnime::~cObjAnime() = default;
cObjAnime::cObjAnime(const cObjAnime& other) : m_lpAnime(std::make_unique<cAnime>(*other.m_lpAnime)) {}
cObjAnime& cObjAnime::operator=(const cObjAnime& other) {
    if (this != &other) *m_lpAnime = *other.m_lpAnime;
    return *this;
}

int StageOriginBlocks(int axis) {
    if (!g_lpPlayScene) return 10;
    const cScroll& s = axis == 0 ? g_lpPlayScene->m_ScrollX : g_lpPlayScene->m_ScrollY;
    return s.m_nBase / 32;
}

cGameObj::cGameObj()
    : m_nId(0), m_nLifeTime(kEndlessLife), m_nDir(0), m_nExtraCode(0), m_nKind(0), m_nRectLeft(0), m_nRectTop(0),
      m_nRectRight(0), m_nRectBottom(0), m_nGraphOffX(0), m_nGraphOffY(0), m_nGraphWidth(0), m_nGraphHeight(0),
      m_nBaseGraphOffX(0), m_nBaseGraphOffY(0), m_nBaseGraphWidth(0), m_nBaseGraphHeight(0), m_nPlayerSide(0),
      m_nSide2(0), m_nBlockSide(0), m_dX(0), m_dY(0), m_dRight(0), m_dBottom(0), m_nCellLeft(0), m_nCellTop(0),
      m_nCellRight(0), m_nCellBottom(0), m_dSpeedX(0), m_dSpeedY(0), m_dMoveX(0), m_dMoveY(0), m_dDecel(0),
      m_nWidth(0), m_nHeight(0), m_nBaseWidth(0), m_nBaseHeight(0), m_bFlying(0), m_nMoveMode(0), m_bAppeared(0),
      m_bAlwaysActive(0), m_byFlag(0) {}

int cGameObj::AnimeNumber() const { return m_Anime->m_nNo; }

void cGameObj::CopyFrom(const cGameObj& other) {
    if (&other == this) return;
    // Every base field; the derived parts are the deriving class's.
    cGameObj::operator=(other);
}

void cGameObj::Init(int id, int playerSide, int side2, int blockSide, int kind, const AnimeFrame* const* table,
                    int anime, int graphOffX, int graphOffY, int width, int height, int graphWidth, int graphHeight,
                    int dir, int moveMode, int16_t extraCode) {
    m_nId = id;
    m_nPlayerSide = playerSide;
    m_nSide2 = side2;
    m_nBlockSide = blockSide;
    m_nKind = kind;
    m_nLifeTime = kEndlessLife;
    if (table) {
        m_Anime->SetTable(table);
        m_Anime->Set(anime, 1);
    }
    m_nGraphOffX = m_nBaseGraphOffX = graphOffX;
    m_nGraphOffY = m_nBaseGraphOffY = graphOffY;
    m_nWidth = m_nBaseWidth = width;
    m_nHeight = m_nBaseHeight = height;
    m_nGraphWidth = m_nBaseGraphWidth = graphWidth;
    m_nGraphHeight = m_nBaseGraphHeight = graphHeight;
    m_nDir = dir;
    m_nExtraCode = extraCode;
    m_dSpeedX = m_dSpeedY = m_dMoveX = m_dMoveY = 0.0;
    m_bAppeared = 0;
    m_bAlwaysActive = 0;
    m_byFlag = 0;
    SetMoveMode(moveMode);
}

void cGameObj::SetMoveMode(int mode) {
    switch (mode) {
    case 0:
        m_bFlying = 0;
        m_nMoveMode = 1;
        break;
    case 1:
        m_bFlying = 1;
        m_nMoveMode = 0;
        break;
    case 2:
        m_bFlying = 1;
        m_nMoveMode = 1;
        break;
    case 3:
        m_bFlying = 1;
        m_nMoveMode = 2;
        break;
    default:
        break;
    }
}

void cGameObj::SetScale(int newScale, int oldScale) {
    if (newScale == oldScale) return;
    m_nGraphOffX = Scaled(m_nBaseGraphOffX, newScale);
    m_nGraphOffY = Scaled(m_nBaseGraphOffY, newScale);
    m_nGraphWidth = Scaled(m_nBaseGraphWidth, newScale);
    m_nGraphHeight = Scaled(m_nBaseGraphHeight, newScale);
    m_nWidth = Scaled(m_nBaseWidth, newScale);
    m_nHeight = Scaled(m_nBaseHeight, newScale);
    m_dX -= (double)(m_nBaseWidth >> 1) * ((double)newScale - (double)oldScale);
    ClampX(2);
    AdjustForScale(newScale, oldScale);
    ScaleHitBoxes(newScale);
}

int cGameObj::ClampX(int mode) {
    const BOUNDS b = Bounds(AxisX());
    const double w = m_nWidth;
    int result = CLAMP_INSIDE;
    auto right = [&] { return m_dX + w - 1.0; };
    auto outsideScroll = [&] { return m_dX < b.scrollMin || right() >= b.scrollMax; };
    switch (mode) {
    case 0:
        if (m_dX < b.scrollMin)
            m_dX = b.scrollMin;
        else if (right() >= b.scrollMax)
            m_dX = b.scrollMax - w;
        break;
    case 1:
        if (m_dX < b.stageMin)
            m_dX = b.stageMin;
        else if (right() >= b.stageMax)
            m_dX = b.stageMax - w;
        else if (outsideScroll())
            result = CLAMP_SCROLL;
        break;
    case 2:
        if (m_dX < 0.0) {
            m_dX = 0.0;
            result = CLAMP_MAPEDGE;
        } else if (right() >= b.total) {
            m_dX = b.total - w;
            result = CLAMP_MAPEDGE;
        } else if (m_dX < b.stageMin || right() >= b.stageMax) {
            result = CLAMP_STAGE;
        } else if (outsideScroll()) {
            result = CLAMP_SCROLL;
        }
        break;
    default:
        break;
    }
    m_dRight = w + m_dX - 1.0;
    UpdateRectX();
    m_nCellLeft = DotToInt(m_dX) >> 5;
    m_nCellRight = DotToInt(m_dRight) >> 5;
    return result;
}

int cGameObj::ClampY(int mode) {
    const BOUNDS b = Bounds(AxisY());
    const double h = m_nHeight;
    int result = CLAMP_INSIDE;
    auto bottom = [&] { return m_dY + h - 1.0; };
    switch (mode) {
    case 0:
        if (m_dY < b.scrollMin)
            m_dY = b.scrollMin;
        else if (bottom() >= b.scrollMax)
            m_dY = b.scrollMax - h;
        break;
    case 1:
        if (m_dY < b.stageMin)
            m_dY = b.stageMin;
        else if (bottom() >= b.stageMax)
            m_dY = b.stageMax - h;
        else if (m_dY < b.scrollMin)
            result = CLAMP_SCROLL;
        else if (bottom() >= b.scrollMax)
            result = CLAMP_SCROLL_BOTTOM;
        break;
    case 2:
        if (m_dY < 0.0) {
            m_dY = 0.0;
            result = CLAMP_MAPEDGE;
        } else if (bottom() >= b.total) {
            m_dY = b.total - h;
            result = CLAMP_MAPEDGE_BOTTOM;
        } else if (m_dY < b.stageMin) {
            result = CLAMP_STAGE;
        } else if (bottom() >= b.stageMax) {
            result = CLAMP_STAGE_BOTTOM;
        } else if (m_dY < b.scrollMin) {
            result = CLAMP_SCROLL;
        } else if (bottom() >= b.scrollMax) {
            result = CLAMP_SCROLL_BOTTOM;
        }
        break;
    default:
        break;
    }
    m_dBottom = h + m_dY - 1.0;
    UpdateRectY();
    m_nCellTop = DotToInt(m_dY) >> 5;
    m_nCellBottom = DotToInt(m_dBottom) >> 5;
    return result;
}

int cGameObj::StepX(int mode) {
    const double limit = g_StageSettings.m_adSubStep[cStage::STEP_LIMIT];
    if (m_dSpeedX > limit) m_dSpeedX = limit;
    if (m_dSpeedX < -limit) m_dSpeedX = -limit;
    m_dX += m_dSpeedX;
    const int r = ClampX(mode);
    return (r >= CLAMP_SCROLL && r <= CLAMP_MAPEDGE) ? r : CLAMP_INSIDE;
}

int cGameObj::StepY(int mode) {
    const double limit = g_StageSettings.m_adSubStep[cStage::STEP_LIMIT];
    if (m_dSpeedY > limit) m_dSpeedY = limit;
    if (m_dSpeedY < -limit) m_dSpeedY = -limit;
    m_dY += m_dSpeedY;
    const int r = ClampY(mode);
    return (r >= CLAMP_SCROLL && r <= CLAMP_MAPEDGE_BOTTOM) ? r : CLAMP_INSIDE;
}

void cGameObj::AddGravity() {
    if (!m_bFlying) m_dSpeedY += g_StageSettings.m_adSubStep[cStage::STEP_GRAVITY];
}

void cGameObj::ApplySpeedX(double& speed, int apply) {
    if (!apply) return;
    if (speed > 0.0) {
        speed -= m_dDecel;
        if (speed < 0.0) speed = 0.0;
    } else if (speed < 0.0) {
        speed += m_dDecel;
        if (speed > 0.0) speed = 0.0;
    }
}

void cGameObj::GetGraphicRect() {
    const double sx = DotToInt(AxisX().m_dPos), sy = DotToInt(AxisY().m_dPos);
    m_nRectLeft = DotToInt(m_dX - m_nGraphOffX - sx);
    m_nRectTop = DotToInt(m_dY - m_nGraphOffY - sy);
    m_nRectRight = (int32_t)std::clamp<int64_t>((int64_t)m_nRectLeft + m_nGraphWidth - 1, INT32_MIN, INT32_MAX);
    m_nRectBottom = (int32_t)std::clamp<int64_t>((int64_t)m_nRectTop + m_nGraphHeight - 1, INT32_MIN, INT32_MAX);
}

SCREENVIEW CurrentScreenView() { return SCREENVIEW{AxisX().m_dPos, AxisY().m_dPos}; }

bool cGameObj::IsOnScreen() const { return IsInView(CurrentScreenView(), 0, 0); }

bool cGameObj::IsInView(int skipHorizontal, int skipVertical) const {
    return IsInView(CurrentScreenView(), skipHorizontal, skipVertical);
}

bool cGameObj::IsInStageY(int wholeMap) const {
    const BOUNDS x = Bounds(AxisX()), y = Bounds(AxisY());
    if (wholeMap) return m_dX >= 0.0 && m_dRight < x.total && m_dY >= 0.0 && m_dBottom < y.total;
    return m_dX >= x.stageMin && m_dRight < x.stageMax && m_dY >= y.stageMin && m_dBottom < y.stageMax;
}

FAREDGES FarEdgesOf(const cStagePartA& range) {
    const double sx = AxisX().m_dPos, sy = AxisY().m_dPos;
    FAREDGES e;
    // Enable flags left, right, top, bottom; then the distances in the same order.
    for (int i = 0; i < 4; ++i) e.abOn[i] = range.Value(i) != 0;
    e.anEdge[0] = DotToInt(sx - 32.0 * range.Value(4));
    e.anEdge[1] = DotToInt(sx + 640.0 + 32.0 * range.Value(5));
    e.anEdge[2] = DotToInt(sy - 32.0 * range.Value(6));
    e.anEdge[3] = DotToInt(sy + 480.0 + 32.0 * range.Value(7));
    e.dLastX = Bounds(AxisX()).total - 1.0;
    e.dLastY = Bounds(AxisY()).total - 1.0;
    return e;
}

bool cGameObj::IsNearScrollEdge(const cStagePartA& range) const { return IsNearScrollEdge(FarEdgesOf(range)); }

void cGameObj::CalcScreenRect() {
    const cScroll& ax = AxisX();
    const cScroll& ay = AxisY();
    const bool roundX = g_lpPlayScene && g_lpPlayScene->m_abRoundRect[0];
    const bool roundY = g_lpPlayScene && g_lpPlayScene->m_abRoundRect[1];
    const int64_t left = roundX ? (int64_t)DotToInt(m_dX) - DotToInt(ax.m_dPos) - m_nGraphOffX
                                : (int64_t)DotToInt(m_dX - ax.m_dPos - m_nGraphOffX);
    const int64_t top = roundY ? (int64_t)DotToInt(m_dY) - DotToInt(ay.m_dPos) - m_nGraphOffY
                               : (int64_t)DotToInt(m_dY - ay.m_dPos - m_nGraphOffY);
    m_nRectLeft = (int32_t)std::clamp<int64_t>(left, INT32_MIN / 2, INT32_MAX / 2);
    m_nRectTop = (int32_t)std::clamp<int64_t>(top, INT32_MIN / 2, INT32_MAX / 2);
    m_nRectRight = (int32_t)std::clamp<int64_t>((int64_t)m_nRectLeft + m_nGraphWidth - 1, INT32_MIN, INT32_MAX);
    m_nRectBottom = (int32_t)std::clamp<int64_t>((int64_t)m_nRectTop + m_nGraphHeight - 1, INT32_MIN, INT32_MAX);
}

bool cGameObj::HitsBlockCorners() const {
    return BlockCornersSolid(m_nCellLeft, m_nCellTop, m_nCellRight, m_nCellBottom, m_nBlockSide);
}

bool cGameObj::HitsBlockAt(double x, double y) const {
    return BlockCornersSolid(DotToInt(x) >> 5, DotToInt(y) >> 5, DotToInt(x + m_nWidth - 1.0) >> 5,
                        DotToInt(y + m_nHeight - 1.0) >> 5, m_nBlockSide);
}

void cGameObj::GetAnchor(double& x, double& y) const {
    x = (double)m_nRectLeft + (m_nGraphWidth >> 1);
    y = (double)m_nRectTop + (m_nGraphHeight >> 1);
}

cChara* cGameObj::FindNearestFromAnchor(const std::list<cChara*>& list, const CHARASEARCH& filters) const {
    double x = 0.0, y = 0.0;
    GetAnchor(x, y);
    const int mode = stageword::OnScreenHits(g_StageSettings) > 0 ? SEARCH_ON_SCREEN : SEARCH_ANYWHERE;
    return FindNearestCharacter(x, y, list, mode, filters);
}
