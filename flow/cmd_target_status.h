// The target, status, vanish and item commands (kinds 21-25). The bodies (the *Impl functions)
// serve the main kinds and the instant kinds 6-10 that items run on the hero.
//
// Removing shots while the character-hit pass walks its lists would leave the pass holding
// shots that are gone, so the pass opens a cHitPassHold: shots a vanish command takes out of play
// meanwhile leave their group lists at once and the shot list when the outermost hold closes.
// Characters never leave play inside a command: a vanished stage character gets its vanish and
// end words and leaves play at the next safe point of the frame (its flow pass).
#pragma once

#include <cstdint>
#include <vector>

class cChara;
class cFlowCmd;
class cPlayScene;
struct CMDINSTANCE;

// Kind 21: the character's target by parameter 0 (0 hero 0, 1 unchanged, 2 and 3 the nearest
// character passing the filters), the old one kept or released by parameter 14.
void FlowCmdSetTargetImpl(cChara& chara, const std::vector<int32_t>& params);
void FlowCmdSetTarget(cChara& chara, CMDINSTANCE& inst);

// Kind 22: the status operation (play/status_ops.h).
void FlowCmdStatusOp(cChara& chara, CMDINSTANCE& inst);

// Kind 23: subject (0 self, 1 target, 2 system), item, value.
void FlowCmdStatusOp2Impl(cChara& chara, const std::vector<int32_t>& params);
void FlowCmdStatusOp2(cChara& chara, CMDINSTANCE& inst);

// Kind 24: every character (parameter 0 = 0) or shot (1) of side parameter 1, only those in view
// (parameter 2 = 0) or all, leaves play.
void FlowCmdVanishImpl(cChara& chara, const std::vector<int32_t>& params);
void FlowCmdVanish(cChara& chara, CMDINSTANCE& inst);

// Kind 25: the item definition (parameter 0: 0 the common palette, 1 the stage; parameter 1 its
// index) runs its instant commands on hero 0; the result (0, or 2 when the hero's HP ran out).
// Items whose commands give items again are followed to kMaxGetItemDepth levels; a deeper
// one is refused with a report line.
int FlowCmdGetItemImpl(const std::vector<int32_t>& params);
void FlowCmdGetItem(cChara& chara, CMDINSTANCE& inst);
constexpr int kMaxGetItemDepth = 8;

// Status operation 2: "無敵" set holds the invincibility timer at this until it is set back to
// 0; "巨大化" takes scales 1 .. kMaxCommandScale.
constexpr int32_t kEndlessInvincible = 0x7FFFFFFF;
constexpr int kMaxCommandScale = 10;

// A character dies as the vanish command and item 0 of status operation 2 make it: a stage
// character gets its vanish and end words, a hero HP 0; for another than the acting character
// the play scene's death check is requested.
void VanishCharacter(cChara& subject, const cChara& acting);

// Held while the character-hit pass runs (nested holds count).
class cHitPassHold {
public:
    explicit cHitPassHold(cPlayScene* scene);
    ~cHitPassHold();
    cHitPassHold(const cHitPassHold&) = delete;
    cHitPassHold& operator=(const cHitPassHold&) = delete;

private:
    cPlayScene* m_lpScene;
};
