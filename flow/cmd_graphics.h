// The commands that change how a character or the screen looks and sounds (kinds 26-36): graphic,
// base animation set, flow animation, effect objects, character effects, screen effects,
// pictures, screen colour, backgrounds, sound effects and music. Each body takes the acting
// character and the command; the flow handlers (character, instance) and the instant commands
// of items (the hero) call the same bodies.
//
// A command acts at the first step of each run of it; the rest of its time passes as a wait.
// Numbers from the records (effect, picture, animation, character and screen effect numbers,
// background numbers) are checked before use: one out of range has no effect and writes one
// report line per kind. Size percentages are held to 1-1000, colours to 0-255.
#pragma once

#include <cstdint>
#include <vector>

class cAnimeRec;
class cChara;
class cFlowCmd;
struct CMDINSTANCE;

// Placement options of the effect and picture commands.
enum {
    PLACE_SCREEN_CENTRE = 0,  // "画面中央に表示"
    PLACE_CHARA_CENTRE = 1,   // "キャラの中心に表示"
    PLACE_HERO_CENTRE = 2,    // "主人公の中心に表示"
    PLACE_SCREEN_BLOCKS = 3,  // "画面座標で指定"
    PLACE_STAGE_BLOCKS = 4,   // "ステージ座標で指定"
};

// The top-left corner in stage dots of an object of w x h placed by an option (half sizes by
// arithmetic shift). Other options, or option 2 without a hero, leave x and y unchanged.
void PlaceByOption(double& x, double& y, int w, int h, const cChara& chara, int option, int blockX, int blockY,
                   int offX, int offY);

// Kind 26: graphic kind, graphic number and graphic offset of the character's definition.
void FlowCmdChangeGraphicImpl(cChara& chara, const cFlowCmd& cmd);
// Kind 27: the base animation set (nothing when it is already the current set).
void FlowCmdChangeAnimeSetImpl(cChara& chara, const cFlowCmd& cmd);
// Kind 28: a flow animation at the front of the character's list, tagged with the running flow's
// id (-1 when no flow runs), started at its first frame.
void FlowCmdRunAnimImpl(cChara& chara, const cFlowCmd& cmd);
// Kind 29: an effect object placed by option (effect 0 removes every effect object); with the
// hold setting the game waits for the effect's whole animation.
void FlowCmdRunEffectImpl(cChara& chara, const cFlowCmd& cmd);
// The frames a holding effect holds the game: its frames' display times x 6; 0 for a bad number.
int32_t EffectHoldFrames(int id);
// Kind 30: a character effect on the character.
void FlowCmdCharaEffectImpl(cChara& chara, const cFlowCmd& cmd);
// Kind 31: a screen effect of the play scene.
void FlowCmdScreenEffectImpl(cChara& chara, const cFlowCmd& cmd);
// Kind 32: shows, replaces (by ID) or erases pictures; with the hold setting the game waits while
// the picture is shown and the picture goes afterwards.
void FlowCmdShowPictureImpl(cChara& chara, const cFlowCmd& cmd);
// Kind 33: a screen colour change with the command's eight values.
void FlowCmdScreenColourImpl(cChara& chara, const cFlowCmd& cmd);
// Kind 34: shows, hides or toggles one stage background (numbered from 1).
void FlowCmdBackgroundImpl(cChara& chara, const cFlowCmd& cmd);
// Kind 35: a project sound effect, unless it sounds only in view and the character is out of view.
void FlowCmdSoundImpl(cChara& chara, const cFlowCmd& cmd);
// Kind 36: the music request with the tune and its second value.
void FlowCmdMusicImpl(cChara& chara, const cFlowCmd& cmd);

// The flow handlers of kinds 26-36: the body at the first step of each run of the command.
void FlowCmdChangeGraphic(cChara& chara, CMDINSTANCE& inst);
void FlowCmdChangeAnimeSet(cChara& chara, CMDINSTANCE& inst);
void FlowCmdRunAnim(cChara& chara, CMDINSTANCE& inst);
void FlowCmdRunEffect(cChara& chara, CMDINSTANCE& inst);
void FlowCmdCharaEffect(cChara& chara, CMDINSTANCE& inst);
void FlowCmdScreenEffect(cChara& chara, CMDINSTANCE& inst);
void FlowCmdShowPicture(cChara& chara, CMDINSTANCE& inst);
void FlowCmdScreenColour(cChara& chara, CMDINSTANCE& inst);
void FlowCmdBackground(cChara& chara, CMDINSTANCE& inst);
void FlowCmdSound(cChara& chara, CMDINSTANCE& inst);
void FlowCmdMusic(cChara& chara, CMDINSTANCE& inst);

// Flow animations (flow/flow_anime.cpp).
// The frames of a flow animation of the project's animation list up to its first loop point
// (its whole length without one); 0 for a bad number.
int32_t FlowAnimeLeadFrames(int anime);
// Starts animation `anime` of the project's list as a flow animation at the front of the
// character's list, tagged `flowId`, `skip` frames into it, with its two counts. false (nothing
// started, one report line) for a number outside the list.
bool StartFlowAnime(cChara& chara, int anime, int flowId, int skip, int32_t count, int32_t count2);

// The project's animation list (flow/cmd_graphics.cpp), for the flow animations.
const std::vector<cAnimeRec>& ProjectAnimes();

// Clears the records of reported numbers (each is reported once per run).
void ResetGraphicCmdReports();
void ResetFlowAnimeReports();
