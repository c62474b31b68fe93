// A message window of the play scene's message list: the settings the message command (or the
// game wait, or the hero's item icon) gives it, its text with the "#" codes expanded, and the
// state of its window (measured extent, held position, display time, opening counter). A text
// window owns one record of the message surface list (play/picture_lists.h), into which its
// text is rendered once; the link is looked up before every use.
#pragma once

#include <cstdint>
#include <string>

struct DDSURFACEDATA;

// Position modes: what the window shows.
enum { MSGPOS_NONE = 0, MSGPOS_TEXT = 1, MSGPOS_GRAPHIC = 2, MSGPOS_SURFACE = 3 };
// Placement options of the message command.
enum {
    MSGPLACE_CENTRE = 0,
    MSGPLACE_ABOVE_SELF = 1,
    MSGPLACE_BELOW_SELF = 2,
    MSGPLACE_ON_SELF = 3,
    MSGPLACE_ABOVE_HERO = 4,
    MSGPLACE_BELOW_HERO = 5,
    MSGPLACE_ON_HERO = 6,
    MSGPLACE_SCREEN = 7,
    MSGPLACE_STAGE = 8,
};
// The display mode whose time the window counts.
constexpr int32_t kMessageTimed = 2;
// Frames the growing window takes to open.
constexpr int kMessageOpenFrames = 10;

// The settings handed to ShowMessageWindow.
struct MESSAGESETTINGS {
    int32_t nPosMode = MSGPOS_NONE;
    std::string strText;
    int32_t nGraphKind = 0, nGraphIndex = 0, nGraphFrame = 0;  // position mode 2
    int32_t nPlace = MSGPLACE_CENTRE;
    int32_t nBlockX = 0, nBlockY = 0;    // screen blocks (options 7 and 8)
    int32_t nOffsetX = 0, nOffsetY = 0;  // dots
    int32_t bKeepOnScreen = 0;
    int32_t nFixed = 0;                  // the fixed-position setting
    int32_t nDispMode = 0;
    int32_t nTime = 0;                   // frames (display mode 2)
    int32_t bCountWhileHeld = 0;
    int32_t nCharaId = 0;                // the character it is placed at (options 1-6)
    int32_t bAppear = 0;                 // the window grows open over kMessageOpenFrames
    int32_t bExpand = 0;                 // "#" codes are expanded
    int32_t bRefresh = 0;
    int32_t nRefreshInterval = 0;        // frames
    int32_t bBitmapFont = 0;             // framed bitmap-font text, else plain text
    int32_t bManagedById = 0;
    int32_t nId = 0;
};

class MessageObj {
public:
    MESSAGESETTINGS m_Set;
    std::string m_strShown;          // the text as shown (codes expanded)
    int32_t m_nTextWidth = 0;        // measured text extent + 2 (the surface's size)
    int32_t m_nTextHeight = 0;
    int32_t m_nWidth = 0;            // window size: surface + 8 (16 x 16 for modes 2 and 3)
    int32_t m_nHeight = 0;
    int32_t m_nTimeLeft = 0;
    int32_t m_bPosHeld = 0;          // the first position is held (as a stage position)
    int32_t m_nHeldX = 0, m_nHeldY = 0;
    double m_dAppear = 0.0;          // opening counter
    int32_t m_nDrawX = 0, m_nDrawY = 0;  // where the window was placed last
    DDSURFACEDATA* m_lpSurface = nullptr;  // record in the message surface list, or none
};
