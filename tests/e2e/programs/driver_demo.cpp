// A small program on the platform layer for the test driver's end-to-end test: it opens a window,
// asks a question in a message box, presents numbered frames and prints what its window receives.
#include <cstdio>

#include "platform/host/host.h"
#include "platform/win32/win32.h"

namespace {

int g_frame = 0;

LRESULT DemoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN:
        std::printf("frame %d keydown %u\n", g_frame, (unsigned)wParam);
        return 0;
    case WM_KEYUP:
        std::printf("frame %d keyup %u\n", g_frame, (unsigned)wParam);
        return 0;
    case WM_CLOSE:
        std::printf("frame %d close\n", g_frame);
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(7);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int main() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DemoProc;
    wc.lpszClassName = "DriverDemo";
    RegisterClassExA(&wc);
    HWND hwnd = CreateWindowExA(0, "DriverDemo", "デモ", WS_POPUP | WS_CAPTION, 100, 100, 640, 480, nullptr,
                                nullptr, nullptr, nullptr);
    if (!hwnd) return 1;
    int answer = MessageBoxA(nullptr, "続けますか？", "質問", MB_YESNO);
    std::printf("answer %d\n", answer);
    ShowWindow(hwnd, SW_SHOW);
    static uint32_t pixels[64 * 48];
    MSG m;
    for (;;) {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                std::printf("quit %d after %d frames\n", (int)m.wParam, g_frame);
                std::fflush(stdout);
                return (int)m.wParam;
            }
            DispatchMessageA(&m);
        }
        // Frame g_frame: a grey level that tells the frames apart, a white dot where the frame is.
        for (int i = 0; i < 64 * 48; ++i) pixels[i] = 0x00010101u * (uint32_t)(g_frame * 10 % 256);
        pixels[g_frame % (64 * 48)] = 0x00FFFFFF;
        host::PresentFrame(hwnd, pixels, 64, 48, 64 * 4);
        ++g_frame;
        if (g_frame > 10000) return 3;  // the script never closed
    }
}
