#include "app/system_report.h"

#include "core/format.h"
#include "platform/win32/codepage.h"
#include "core/report.h"
#include "media/draw_device.h"
#include "platform/host/host.h"

int GetOSName(std::string* text, int* major, int* minor) {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    int ma = 5, mi = 1;
    std::string name;
    if (GetVersionExA(&v)) {
        switch (v.dwPlatformId) {
        case VER_PLATFORM_WIN32s:
            name = "Windows 3.1";
            ma = 1;
            mi = 0;
            break;
        case VER_PLATFORM_WIN32_WINDOWS:
            name = v.dwMinorVersion == 0 ? "Windows 95" : v.dwMinorVersion == 10 ? "Windows 98"
                   : v.dwMinorVersion == 90 ? "Windows Me" : "";
            ma = 1;
            mi = (int)v.dwMinorVersion;
            break;
        case VER_PLATFORM_WIN32_NT:
            ma = (int)v.dwMajorVersion;
            mi = (int)v.dwMinorVersion;
            if (ma == 3) name = "Windows NT 3.51";
            else if (ma == 4) name = "Windows NT 4.0";
            else if (ma == 5 && mi == 0) name = "Windows 2000";
            else if (ma == 5 && mi == 1) name = "Windows XP";
            else if (ma == 5 && mi == 2) name = "Windows XP Professional x64 Edition ?";
            else if (ma == 6 && mi == 0) name = "Windows Vista";
            else if (ma == 6 && mi == 1) name = "Windows 7";
            break;
        default:
            break;
        }
        // A system the table does not know is named by the host itself.
        if (name.empty()) name = HostSystemName();
    }
    if (major) *major = ma;
    if (minor) *minor = mi;
    char buf[512];
    int n = (int)FormatBounded(buf, sizeof buf, "%s %s PID %d Build %d", name.c_str(), v.szCSDVersion,
                               (int)v.dwPlatformId, (int)v.dwBuildNumber);
    if (text) *text = buf;
    return n;
}

bool IsOSVersionAtLeast(int major, int minor) {
    int ma = 0, mi = 0;
    GetOSName(nullptr, &ma, &mi);
    return ma != major ? ma > major : mi >= minor;
}

void GetMemoryStatus(MEMORYSTATUS* status) { GlobalMemoryStatus(status); }

double GetCPUClock(std::string* vendor, std::string* brand) {
    // The host knows the clock; no busy wait is needed to measure it.
    double hz = 0;
    HostProcessor(vendor, brand, &hz);
    return hz;
}

long long GetDiskFree(const char* directory) {
    ULONGLONG freeBytes = 0;
    if (!GetDiskFreeSpaceExA(directory, &freeBytes, nullptr, nullptr)) return 0;
    return freeBytes > 2147483647ull ? 2147483647ll : (long long)freeBytes;
}

int WriteSystemInfo() {
    std::string os, vendor, brand;
    GetOSName(&os, nullptr, nullptr);
    if (!WriteReport("OS : %s", os.c_str())) return 0;
    double hz = GetCPUClock(&vendor, &brand);
    WriteReport("CPU : %s %s %d", vendor.c_str(), brand.c_str(), (int)(hz * 0.000001));
    MEMORYSTATUS m{};
    GetMemoryStatus(&m);
    const double mb = 1.0 / 1048576.0;
    WriteReport("Mem Total : %.3fMB", m.dwTotalPhys * mb);
    WriteReport("Mem Free : %3.fMB", m.dwAvailPhys * mb);
    WriteReport("Vir Total : %.3fMB", m.dwTotalVirtual * mb);
    WriteReport("Vir Free : %3.fMB", m.dwAvailVirtual * mb);
    WriteReport("HD Free : %3.fMB", GetDiskFree(nullptr) * mb);
    return 1;
}

// The format checks of the report: one row per usage word, a surface and a texture check each.
static const struct {
    const char* label;
    DWORD usage;
} kUsageRows[] = {
    {"AU", D3DUSAGE_AUTOGENMIPMAP}, {"DE", D3DUSAGE_DEPTHSTENCIL}, {"DM", D3DUSAGE_DMAP},
    {"DO", D3DUSAGE_DONOTCLIP},     {"DY", D3DUSAGE_DYNAMIC},      {"NP", D3DUSAGE_NPATCHES},
    {"PO", D3DUSAGE_POINTS},        {"RT", D3DUSAGE_RENDERTARGET}, {"RE", D3DUSAGE_RTPATCHES},
    {"SO", D3DUSAGE_SOFTWAREPROCESSING}, {"WR", D3DUSAGE_WRITEONLY},
};

static const char* CheckSymbol(HRESULT hr) {
    if (hr == D3D_OK) return "○ ";
    if (hr == D3DERR_NOTAVAILABLE) return "× ";
    if (hr == D3DERR_INVALIDCALL) return "？ ";
    return "－ ";
}

void WriteDxDiagInfo(int flag) {
    if (!g_lpDDDevice || !g_lpD3DDevice || !g_lpD3D) return;
    int ma = 0, mi = 0, pa = 0;
    host::SdlVersion(&ma, &mi, &pa);
    std::string driver = host::VideoDriverName();
    // What stands behind the drawing interfaces here: SDL's video driver and the software renderer.
    WriteReport("SDL %d.%d.%d (%s), software rasterizer", ma, mi, pa, driver.c_str());
    WriteReport("TextureMem : %dMB", (int)(g_lpD3DDevice->GetAvailableTextureMem() / (1024 * 1024)));
    WriteReport("---デバイス%d", 0);
    WriteReport("Destination : %s", Utf8ToCp932(host::DisplayName()).c_str());
    MEMORYSTATUS m{};
    GlobalMemoryStatus(&m);
    WriteReport("VRAM : %.0f MB (shared with the system)", m.dwTotalPhys / 1048576.0);
    WriteReport("Driver : %s %1d.%02d.%04d.%04d", driver.c_str(), ma, mi, pa, 0);
    WriteReport("DDI : %d", GetDDIVersion());
    D3DCAPS9 c{};
    g_lpD3DDevice->GetDeviceCaps(&c);
    WriteReport("TextureMaxSize : (%d,%d)", (int)c.MaxTextureWidth, (int)c.MaxTextureHeight);
    WriteReport("TextureMaxBlend : (%d,%d)", (int)c.MaxTextureBlendStages, (int)c.MaxSimultaneousTextures);
    if (flag) {
        WriteReport("Caps %08X %08X %08X %08X DevCaps %08X Misc %08X Raster %08X Tex %08X Filter %08X Addr %08X "
                    "TexOp %08X Aspect %u Prims %u Index %u",
                    (unsigned)c.Caps, (unsigned)c.Caps2, (unsigned)c.Caps3, (unsigned)c.PresentationIntervals,
                    (unsigned)c.DevCaps, (unsigned)c.PrimitiveMiscCaps, (unsigned)c.RasterCaps,
                    (unsigned)c.TextureCaps, (unsigned)c.TextureFilterCaps, (unsigned)c.TextureAddressCaps,
                    (unsigned)c.TextureOpCaps, (unsigned)c.MaxTextureAspectRatio, (unsigned)c.MaxPrimitiveCount,
                    (unsigned)c.MaxVertexIndex);
    }
    if (c.Caps3 & D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD) WriteReport("D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD");
    if (c.TextureCaps & D3DPTEXTURECAPS_POW2) WriteReport("D3DPTEXTURECAPS_POW2");
    if (c.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) WriteReport("D3DPTEXTURECAPS_SQUAREONLY");
    if (c.Caps2 & D3DCAPS2_DYNAMICTEXTURES) WriteReport("D3DCAPS2_DYNAMICTEXTURES");
    D3DFORMAT display = g_lpDDDevice->BackFormat;
    for (const auto& row : kUsageRows) {
        HRESULT su = g_lpD3D->CheckDeviceFormat(g_lpDDDevice->nAdapter, g_lpDDDevice->DevType, display, row.usage,
                                                D3DRTYPE_SURFACE, g_lpDDDevice->TexFormat);
        HRESULT te = g_lpD3D->CheckDeviceFormat(g_lpDDDevice->nAdapter, g_lpDDDevice->DevType, display, row.usage,
                                                D3DRTYPE_TEXTURE, g_lpDDDevice->TexFormat);
        WriteReport("%s-SU%s%s-TE%s", row.label, CheckSymbol(su), row.label, CheckSymbol(te));
    }
    bool accelerated = !host::IsHeadless();
    WriteReport("DirectDraw : %s", accelerated ? "○" : "×");
    WriteReport("Direct3D : %s", accelerated ? "○" : "×");
    WriteReport("AGP : %s", "×");
}

int WriteDisplayInfo(int flag) {
    if (!WriteReport(g_bDDWindowMode ? "Mode : Window" : "Mode : Fullscreen")) return 0;
    WriteReport("Bpp : %d", g_nDDBpp);
    if (g_lpDD) {
        DWORD total = 0, free = 0;
        DDGetVideoMemory(&total, &free);
        WriteReport("VRAM Total : %.3fMB", total / 1048576.0);
        WriteReport("VRAM Free : %.3fMB", free / 1048576.0);
        WriteReport("RR : %u", (unsigned)DDGetMonitorFrequency());
    }
    if (g_lpDDDevice) WriteDxDiagInfo(flag);
    return 1;
}
