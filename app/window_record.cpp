#include "app/window_record.h"

#include <algorithm>

#include "core/globals.h"
#include "app/main_window.h"
#include "records/data_paths.h"

cWindowData g_WindowData;

cWindowData::cWindowData() : m_nX(0), m_nY(0), m_nWidth(0), m_nHeight(0), m_bMaximized(0) {}

const RECORDLAYOUT& cWindowData::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cWindowData::m_nX>()
                                           .Values<&cWindowData::m_nY>()
                                           .Values<&cWindowData::m_nWidth>()
                                           .Values<&cWindowData::m_nHeight>()
                                           .Values<&cWindowData::m_bMaximized>()
                                           .Build();
    return layout;
}

void cWindowData::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    // The window stays on the display: its outer size must fit after the stored position (a
    // record written on a larger display, or at another scale, would put it partly outside).
    int fullW = std::max(0, GetSystemMetrics(SM_CXFULLSCREEN)), fullH = std::max(0, GetSystemMetrics(SM_CYFULLSCREEN));
    m_nX = std::clamp<int32_t>(m_nX, 0, std::max(0, fullW - g_MainWindow.m_nOuterW));
    m_nY = std::clamp<int32_t>(m_nY, 0, std::max(0, fullH - g_MainWindow.m_nOuterH));
    // A size from the file stays within what the window can have and the display can show.
    int maxW = std::min(std::max(g_MainWindow.m_nMaxTrackW, 1), std::max(GetSystemMetrics(SM_CXFULLSCREEN), 1));
    int maxH = std::min(std::max(g_MainWindow.m_nMaxTrackH, 1), std::max(GetSystemMetrics(SM_CYFULLSCREEN), 1));
    int minW = std::min(g_MainWindow.m_nMinTrackW, maxW), minH = std::min(g_MainWindow.m_nMinTrackH, maxH);
    m_nWidth = std::clamp<int32_t>(m_nWidth, minW, maxW);
    m_nHeight = std::clamp<int32_t>(m_nHeight, minH, maxH);
    m_bMaximized = m_bMaximized ? 1 : 0;
}

void StoreWindowPlacement(int x, int y, int width, int height, int maximized) {
    g_WindowData.m_nX = x;
    g_WindowData.m_nY = y;
    g_WindowData.m_nWidth = width;
    g_WindowData.m_nHeight = height;
    g_WindowData.m_bMaximized = maximized;
}

void SaveWindowRecordOnClose(HWND hwnd, int windowMode) {
    if (windowMode == 0 || !g_bInitialized || IsIconic(hwnd)) return;
    // The outer top-left corner, the same kind of position that start-up moves the window to.
    RECT r;
    GetWindowRect(hwnd, &r);
    const RECT& c = g_MainWindow.m_rcClient;
    StoreWindowPlacement(r.left, r.top, c.right - c.left, c.bottom - c.top, IsZoomed(hwnd) ? 1 : 0);
    g_WindowData.SaveFile(g_PathTable[PATH_WINDOW]);
}

int RestoreWindowRecord(int windowMode, bool direct3d, int showCmd) {
    if (windowMode == 0) return showCmd;
    if (!g_WindowData.LoadFile(g_PathTable[PATH_WINDOW])) return showCmd;
    g_MainWindow.Move(g_WindowData.m_nX, g_WindowData.m_nY);
    if (direct3d && windowMode == 2) g_MainWindow.ResizeClient(g_WindowData.m_nWidth, g_WindowData.m_nHeight);
    return g_WindowData.m_bMaximized ? SW_SHOWMAXIMIZED : showCmd;
}
