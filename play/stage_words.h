// The roles the play engine gives the numbered settings of the stage record: one place says
// which field holds which setting. Sizes are in dots.
#pragma once

#include "records/stage.h"

namespace stageword {
// Hero size box: walking width, height; flying width, height; stand-on-the-cell-bottom flags.
inline int HeroWidth(const cStage& s, int flying) { return s.m_anHeroSize36_39[flying ? 2 : 0]; }
inline int HeroHeight(const cStage& s, int flying) { return s.m_anHeroSize36_39[flying ? 3 : 1]; }
inline int HeroSizeOnBottom(const cStage& s, int flying) { return s.m_anHero48_49[flying ? 1 : 0]; }
// The hero's character hit range of kind 0: walking, flying, with stand-on-bottom flags.
inline int HeroRangeWidth(const cStage& s, int flying) { return flying ? s.m_anHeroSize42_43[0] : s.m_anHeroSize40_41[0]; }
inline int HeroRangeHeight(const cStage& s, int flying) { return flying ? s.m_anHeroSize42_43[1] : s.m_anHeroSize40_41[1]; }
inline int HeroRangeOnBottom(const cStage& s, int flying) { return s.m_anHero50_51[flying ? 1 : 0]; }
// Character-against-character range (kind 1) and the second range (kind 2): width, height.
inline int CharaRange(const cStage& s, int i) { return s.m_anHeroSize44_47[i]; }
inline int SecondRange(const cStage& s, int i) { return s.m_anHeroSize44_47[2 + i]; }
// The hero's shot hit range and third hit range: width (0), height (1).
inline int HeroShotRange(const cStage& s, int i) { return s.m_anValue74_84[2 + i]; }
inline int ThirdRange(const cStage& s, int i) { return s.m_anValue74_84[4 + i]; }
// Time limit: switch, seconds, warning threshold.
inline int TimeLimitOn(const cStage& s) { return s.m_nValue14; }
inline int TimeLimit(const cStage& s) { return s.m_nValue15; }
inline int TimeWarning(const cStage& s) { return s.m_nValue16; }
// Carry-over of the heroes' status, keep-music switch, loop flag of the stage's tune.
inline int CarryOver(const cStage& s) { return s.m_nValue25; }
inline int KeepMusic(const cStage& s) { return s.m_nValue26; }
inline int MusicLoop(const cStage& s) { return s.m_nValue31; }
// Banner switches 1 and 2.
inline int BannerSwitch(const cStage& s, int which) { return which == 1 ? s.m_nValue32 : s.m_nValue33; }
// Extension words of the x and y axes.
inline int Extension(const cStage& s, int axis) { return s.m_anValue86_87[axis ? 1 : 0]; }
// Play drawing: the status-panel switch (field 27, 1 in a new stage; 0 hides the panel) and the
// layer switch (field 28: the hero, items, characters and shots are drawn in eight layers by
// their layer bytes instead of one pass).
inline int StatusPanel(const cStage& s) { return s.m_nValue27; }
inline int LayerSwitch(const cStage& s) { return s.m_anValue28_29[0]; }
// Shot hits per frame (0 every sub-step).
inline int ShotHitCount(const cStage& s) { return s.m_nValue23; }
// Stage characters, laid out as the hero's settings are: size box walking and flying (width,
// height) with their stand-on-the-cell-bottom flags; the character hit range of kind 0 walking
// and flying with its flags; the second range (kind 2); the enemies' shot range (kind 1 and
// the shot hit range), which is also the enemies' shot hit size.
inline int EnemyWidth(const cStage& s, int flying) { return s.m_anCharaSize60_63[flying ? 2 : 0]; }
inline int EnemyHeight(const cStage& s, int flying) { return s.m_anCharaSize60_63[flying ? 3 : 1]; }
inline int EnemySizeOnBottom(const cStage& s, int flying) { return s.m_anChara70_71[flying ? 1 : 0]; }
inline int EnemyRangeWidth(const cStage& s, int flying) { return flying ? s.m_anCharaSize66_67[0] : s.m_anCharaSize64_65[0]; }
inline int EnemyRangeHeight(const cStage& s, int flying) { return flying ? s.m_anCharaSize66_67[1] : s.m_anCharaSize64_65[1]; }
inline int EnemyRangeOnBottom(const cStage& s, int flying) { return s.m_anChara72_73[flying ? 1 : 0]; }
inline int EnemySecondRange(const cStage& s, int i) { return s.m_anChara68_69[i]; }
inline int EnemyShotRange(const cStage& s, int i) { return s.m_anValue74_84[6 + i]; }
// The size box of items: width (0), height (1).
inline int ItemSize(const cStage& s, int i) { return s.m_anValue74_84[i]; }
// The jump correction: jump speeds are multiplied by 0.99 - correction x 0.025.
inline double JumpCorrection(const cStage& s) { return s.m_anValue2_3[0]; }
// Non-zero: hits are limited to objects on screen, and the target search compares on screen.
inline int OnScreenHits(const cStage& s) { return s.m_nValue95; }
// The play screens after play: the result screen's auto-advance switch (field 30, 0 in a new
// stage: the result leaves by itself after 200 frames), its result-picture switch (field 34, 1
// in a new stage) and the game-over picture switch (field 35, 1 in a new stage); fields 32-35
// are the switches of the system sprites a stage shows: start banner, second banner, result,
// game over.
inline int AutoAdvance(const cStage& s) { return s.m_nValue30; }
inline int ResultPicture(const cStage& s) { return s.m_anValue34_35[0]; }
inline int GameOverPicture(const cStage& s) { return s.m_anValue34_35[1]; }
}  // namespace stageword

namespace stageword {
// Range display of the hero: drawing mode and colour index of anchor 0-3 (size box, character
// range, third range, shot range).
inline int RangeMode(const cStage& s, int anchor) {
    const int v[4] = {s.m_nHeroFlow52, s.m_anHeroFlow53_55[0], s.m_anHeroFlow53_55[1], s.m_anHeroFlow53_55[2]};
    return v[anchor & 3];
}
inline int RangeColor(const cStage& s, int anchor) {
    const int v[4] = {s.m_nHeroFlow56, s.m_anHeroFlow57_59[0], s.m_anHeroFlow57_59[1], s.m_anHeroFlow57_59[2]};
    return v[anchor & 3];
}
}  // namespace stageword

namespace stageword {
// Invincibility after a hit and immunity against one attacker, in frames, for the player's side
// and for the enemies: one pair per side (fields 96-99, new stages 30, 0, 30, 0).
inline int InvincibleFrames(const cStage& s, int playerSide) { return playerSide ? s.m_nValue96 : s.m_nValue98; }
inline int ImmunityFrames(const cStage& s, int playerSide) { return playerSide ? s.m_nValue97 : s.m_nValue99; }
// Whether the stage takes part in ranking kind k (0-4): the number list (five entries of 1 in a
// new stage; files that predate the fifth ranking table hold 0 in entries 3 and 4).
inline int RankingKind(const cStage& s, int k) {
    return k >= 0 && (size_t)k < s.m_vecNumbers.size() ? s.m_vecNumbers[(size_t)k] : 0;
}
// A background record's shown switch (B), which the background command sets, clears or toggles.
inline int32_t& BackgroundShownField(cBackgroundRec& b) { return b.m_anBC[0]; }
}  // namespace stageword
