// Builds the scene object of each scene number.
#include <new>

#include "app/scene_manager.h"
#include "frontend/scene_save.h"
#include "frontend/scene_title.h"
#include "frontend/scene_world_map.h"
#include "play/play_scene.h"

namespace {

// The world map, story save, stage select and option scenes are not built yet: until they are,
// each slot holds this plain scene object, which draws nothing and never leaves. It is not a
// finished scene.
class cPlainScene : public cScene {
public:
    void Run() override {
        if (m_nState < 0) {
            Init();
            m_nState = 0;
        }
    }
};

}  // namespace

cScene* CreateScene(int n) {
    switch (n) {
    case SCENE_TITLE:
        return new (std::nothrow) cSceneTitle();
    case SCENE_SAVE:
        return new (std::nothrow) cSceneSave();
    case SCENE_WORLDMAP:
        return new (std::nothrow) cSceneWorldMap();
    case SCENE_STAGESELECT:
    case SCENE_OPTION:
        return new (std::nothrow) cPlainScene();
    case SCENE_PLAY:
        return new (std::nothrow) cPlayScene();
    default:
        return nullptr;
    }
}
