// The roles the play engine gives the fields of a character definition. The record names its
// fields by number; this is the one place that says which number holds which setting, so that
// every play Part reads the same field for the same setting.
#pragma once

#include <cstdint>

#include "records/chara_rec.h"

namespace charadef {
// The player side (non-zero: the player's side) and the player number (the player input entry
// of a hero): the pair of bytes of field group 22 (C37, C38). C3 and C4 belong to the
// appearance conditions (below).
inline int PlayerSide(const cCharaRec& d) { return d.m_byC37; }
inline int PlayerNumber(const cCharaRec& d) { return d.m_byC38; }
inline int BlockSide(const cCharaRec& d) { return d.m_byC5; }
inline int ActsAsBlock(const cCharaRec& d) { return d.m_byC6; }   // stage characters only
inline int KindValue(const cCharaRec& d) { return (int16_t)d.m_wC15; }
inline int AnimeSet(const cCharaRec& d) { return (int16_t)d.m_wAnimeSet; }
inline int8_t SightHalfBlocks(const cCharaRec& d) { return (int8_t)d.m_byC17; }  // "視界範囲(hbl)"
inline int HitRangeKind(const cCharaRec& d) { return d.m_byC18 & 3; }
// The hit effect is an effect of the effect list (C45, bounded by the effect count); the
// appearance and death effects are character effects (C19, C22).
inline int HitEffect(const cCharaRec& d) { return d.m_sEffect; }
inline int DeathEffect(const cCharaRec& d) { return d.m_wCharaEffect2; }
inline int DeathEffectParam(const cCharaRec& d) { return d.m_byC23; }
inline int MoveMode(const cCharaRec& d) { return d.m_byC27; }
inline int Direction(const cCharaRec& d) { return d.m_byC28; }
inline int ScrollSync(const cCharaRec& d) { return d.m_byC32; }  // "オートスクロールとシンクロ"
inline int IgnoreJumpCorrection(const cCharaRec& d) { return d.m_byC33 != 0; }
// The scale: 0 (never stored by the editor) means 1.
inline int Scale(const cCharaRec& d) { return d.m_byC35 ? d.m_byC35 : 1; }
inline int MaxHP(const cCharaRec& d) { return d.m_nC39; }
inline int MaxSP(const cCharaRec& d) { return d.m_nC40; }
inline int16_t DecelPercent(const cCharaRec& d) { return (int16_t)d.m_wC41; }  // "止まりやすさ"
inline int AppearEffect(const cCharaRec& d) { return d.m_wCharaEffect1; }
inline int Defence(const cCharaRec& d) { return d.m_nC46; }
inline int BodyPower(const cCharaRec& d) { return d.m_nC43; }
inline int8_t BodyImpact(const cCharaRec& d) { return (int8_t)d.m_byC44; }
inline uint8_t ImpactResist(const cCharaRec& d) { return d.m_byC47; }
inline int DefeatScore(const cCharaRec& d) { return d.m_nC48; }
// The graphic the character is drawn from: kind and number (template group of C14, C13, C15).
inline int GraphicKind(const cCharaRec& d) { return d.m_byGraphicKind; }
inline int GraphicNumber(const cCharaRec& d) { return d.m_wGraphic; }
// The three words of the graphic the change-graphic command writes: kind (C14), number (C13)
// and the graphic offset ("ズレ", C15, the same word the kind value is read from).
inline uint8_t& GraphicKindField(cCharaRec& d) { return d.m_byGraphicKind; }
inline uint16_t& GraphicNumberField(cCharaRec& d) { return d.m_wGraphic; }
inline uint16_t& GraphicOffsetField(cCharaRec& d) { return d.m_wC15; }
// The mark drawn over the character: switch (1 draws it) and number 0-119 ("マーク番号").
inline int MarkSwitch(const cCharaRec& d) { return d.m_byC50; }
inline int Mark(const cCharaRec& d) { return (int16_t)d.m_wC51; }
// Stage characters: the appearance group (switch and number), whether a clone count of further
// characters stands behind the placement, the stay-active value (1: once active it stays in
// view), the view-test skips (0 none, 1 vertical, 2 horizontal, 3 both), whether the record may
// be summoned (1) and the size in blocks a summon takes.
inline int AppearGroupOn(const cCharaRec& d) { return d.m_byC24; }
inline int AppearGroup(const cCharaRec& d) { return (int16_t)d.m_wC25; }
inline int CloneCount(const cCharaRec& d) { return d.m_byC34; }
inline int StayActive(const cCharaRec& d) { return d.m_byC29; }
inline int ViewSkips(const cCharaRec& d) { return d.m_byC52 & 3; }
inline int Summonable(const cCharaRec& d) { return d.m_byC49; }
inline int Blocks(const cCharaRec& d) { return d.m_byC31; }
// The protection kind: 0 off, 1 shots hit but do no damage without force, 2 shots pass
// through (the target searches can leave out either kind).
inline int ProtectionKind(const cCharaRec& d) { return d.m_byC30; }
// The tag number the target searches filter by ("キャラID").
inline int Tag(const cCharaRec& d) { return (int8_t)d.m_byC42; }
// The appearance conditions' mode (0 all, 1 any one) and once-held switch: the record's field
// group of the condition list holds C3 and C4 with it.
inline int AppearCondMode(const cCharaRec& d) { return d.m_byC3; }
inline int AppearOnceHeld(const cCharaRec& d) { return d.m_byC4; }

// The fields of the status words that flows read and write (the character's own copy).
inline int32_t& MaxHPField(cCharaRec& d) { return d.m_nC39; }         // "最大HP"
inline int32_t& MaxSPField(cCharaRec& d) { return d.m_nC40; }         // "最大SP"
inline uint8_t& CharaIdField(cCharaRec& d) { return d.m_byC42; }      // "キャラID", signed
inline uint16_t& MarkField(cCharaRec& d) { return d.m_wC51; }         // "マーク番号", signed
inline uint8_t& SightField(cCharaRec& d) { return d.m_byC17; }        // "視界範囲(hbl)", signed
inline int32_t& BodyPowerField(cCharaRec& d) { return d.m_nC43; }     // "体当たりの威力"
inline uint8_t& BodyImpactField(cCharaRec& d) { return d.m_byC44; }   // "体当たりの衝撃", signed
inline int32_t& DefenceField(cCharaRec& d) { return d.m_nC46; }       // "防御力"
inline uint8_t& ImpactResistField(cCharaRec& d) { return d.m_byC47; } // "衝撃耐性", signed
inline uint16_t& DecelField(cCharaRec& d) { return d.m_wC41; }        // "止まりやすさ", signed
inline int32_t& DefeatScoreField(cCharaRec& d) { return d.m_nC48; }   // "倒したら獲得するスコア"
inline uint8_t& ScrollSyncField(cCharaRec& d) { return d.m_byC32; }    // "オートスクロールとシンクロ"
}  // namespace charadef
