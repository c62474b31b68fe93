// Stage files ("data\stg4\*.stg4_NNN"): the end-mark check, the loader thread that reads a
// stage into g_LoadedStage while the calling thread keeps its messages flowing, and the play
// entry that loads a stage and prepares it for play.
#pragma once

#include <cstdint>

#include "platform/win32/win32.h"

class cStage;

// The last word of every stage file of data version 173 and later.
constexpr uint32_t kStageEndMark = 123456789;

namespace StageFile {

// TRUE when the file may be loaded: a file that cannot be opened (the loader reports it), a
// file older than 174, or one ending with the mark. Otherwise "ステージファイル %s が破損して
// います！" is shown, WM_CLOSE is posted to the main window and the result is FALSE. A file of
// version 174 or later too short to hold its version word and a mark is damaged.
BOOL CheckEndMark(const char* path);

// The loader thread's body: loads g_LoadedStage from its stage file path and sets its
// load-done flag when the load succeeded and was not stopped; then wakes the thread that
// waits for it. The parameter is unused.
unsigned LoadThread(void* param);

// Set while a load is being stopped: the stage read ends at its next definition.
bool StopRequested();

}  // namespace StageFile

// Loads a stage file into g_LoadedStage on the loader thread and prepares it for play.
// `numbered`: the highest existing "name.stg4_NNN" is taken (FALSE, with no message, when
// there is none). The path is made relative to the current directory and kept as the stage's
// file path. The end mark is checked first; while the loader runs, the calling thread pumps
// its messages (a WM_QUIT stops the load, is posted again, and gives FALSE). A failed load
// shows "ステージファイル %s の読み込みに失敗しました！"; a stage without a hero shows
// "主人公が配置されていないのでプレイできません！" and posts WM_CLOSE. With a target, the target
// takes the settings, backgrounds, texts, parts and numbers and loses its definitions.
BOOL PlayStageFile(const char* name, BOOL numbered, cStage* target);

// The settings copy of a loaded stage: the target takes the settings, backgrounds, texts, parts
// and numbers of the source and loses its definitions (the stage loader's and the replay
// loader's hand-over to g_StageSettings).
void TakeStageSettings(cStage& target, const cStage& source);
