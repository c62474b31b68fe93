#include "media/vox_player.h"

#include <new>

#include "core/report.h"
#include "media/media_failure.h"

cVoxPlayer::cVoxPlayer()
    : m_lpVox(nullptr), m_nCount(0), m_nPlaying(-1), m_hModule(nullptr), m_pfnCreateVox(nullptr) {}

cVoxPlayer::~cVoxPlayer() { Release(); }

bool cVoxPlayer::LoadLibrary() {
    if (!m_hModule) m_hModule = LoadLibraryA("Vox.dll");
    m_pfnCreateVox = m_hModule ? (CREATEVOXFUNC)GetProcAddress(m_hModule, "CreateVox") : nullptr;
    return m_pfnCreateVox != nullptr;
}

DWORD cVoxPlayer::Init(int n) {
    if (m_lpVox) {
        for (int i = 0; i < m_nCount; ++i)
            if (m_lpVox[i]) m_lpVox[i]->Release();
        delete[] m_lpVox;
        m_lpVox = nullptr;
        m_nCount = 0;
    }
    m_nPlaying = -1;
    if (n < 0 || !m_pfnCreateVox) return 0;
    m_lpVox = new (std::nothrow) IVox*[(size_t)n]();
    if (!m_lpVox) {
        OutOfMemoryClose();
        return 0;
    }
    m_nCount = n;
    for (int i = 0; i < n; ++i) {
        m_lpVox[i] = m_pfnCreateVox();
        if (!m_lpVox[i]) {
            OutOfMemoryClose();
            return 0;
        }
    }
    return 1;
}

DWORD cVoxPlayer::Play(int index, const char* path, DWORD loop) {
    if (!path || !*path) return 0;
    Stop();
    if (index < 0 || index >= m_nCount || !m_lpVox[index]) return 0;
    IVox* vox = m_lpVox[index];
    vox->Close();
    if (!vox->Load(path)) {
        if (MediaFileExists(path)) ReportMediaFailure(path, VoxLoadFailure());
        m_nPlaying = -1;
        return 0;
    }
    vox->SetLoop(loop ? 0x7FFFFFFF : 0);
    vox->Play();
    m_nPlaying = index;
    return 1;
}

void cVoxPlayer::Stop() {
    if (m_nPlaying >= 0 && m_nPlaying < m_nCount && m_lpVox[m_nPlaying]) m_lpVox[m_nPlaying]->Stop();
    m_nPlaying = -1;
}

void cVoxPlayer::Release() {
    if (m_lpVox) {
        for (int i = 0; i < m_nCount; ++i)
            if (m_lpVox[i]) m_lpVox[i]->Release();
        delete[] m_lpVox;
    }
    m_lpVox = nullptr;
    m_nCount = 0;
    m_nPlaying = -1;
    if (m_hModule) FreeLibrary(m_hModule);
    m_hModule = nullptr;
    m_pfnCreateVox = nullptr;
}
