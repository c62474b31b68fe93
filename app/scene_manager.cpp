#include "app/scene_manager.h"

#include <new>

#include "core/report.h"
#include "play/play_scene.h"

cSceneManager g_SceneManager;
cPlayScene* g_lpPlayScene = nullptr;

static void DeleteSlot(cSceneManager& m, int i) {
    if (!m.m_lpScenes[i]) return;
    if (i == SCENE_PLAY) g_lpPlayScene = nullptr;  // never left dangling
    delete m.m_lpScenes[i];
    m.m_lpScenes[i] = nullptr;
}

void cSceneManager::Switch(int n) {
    static const int order[SCENE_COUNT] = {0, 2, 1, 3, 4, 5};
    for (int i : order)
        if (i != n) DeleteSlot(*this, i);
    if (n < 0 || n >= SCENE_COUNT) return;
    if (m_lpScenes[n]) return;
    m_lpScenes[n] = CreateScene(n);
    if (!m_lpScenes[n]) {
        OutOfMemoryClose();
        return;
    }
    if (n == SCENE_PLAY) g_lpPlayScene = static_cast<cPlayScene*>(m_lpScenes[n]);
}

void cSceneManager::DestroyAll() {
    static const int order[SCENE_COUNT] = {0, 1, 2, 3, 5, 4};
    for (int i : order) DeleteSlot(*this, i);
}

cScene* cSceneManager::Current() const {
    if (m_nCurrent < 0 || m_nCurrent >= SCENE_COUNT) return nullptr;
    return m_lpScenes[m_nCurrent];
}
