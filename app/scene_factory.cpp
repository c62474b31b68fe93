// Builds the scene object of each scene number.
#include <new>

#include "app/scene_manager.h"
#include "frontend/scene_option.h"
#include "frontend/scene_save.h"
#include "frontend/scene_stage_select.h"
#include "frontend/scene_title.h"
#include "frontend/scene_world_map.h"
#include "play/play_scene.h"

cScene* CreateScene(int n) {
    switch (n) {
    case SCENE_TITLE:
        return new (std::nothrow) cSceneTitle();
    case SCENE_WORLDMAP:
        return new (std::nothrow) cSceneWorldMap();
    case SCENE_SAVE:
        return new (std::nothrow) cSceneSave();
    case SCENE_STAGESELECT:
        return new (std::nothrow) cSceneStageSelect();
    case SCENE_OPTION:
        return new (std::nothrow) cSceneOption();
    case SCENE_PLAY:
        return new (std::nothrow) cPlayScene();
    default:
        return nullptr;
    }
}
