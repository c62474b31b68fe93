// The roles the play engine gives the fields of an item definition. The record names its fields
// by number; this is the one place that says which number holds which setting.
#pragma once

#include <cstdint>

#include "records/item_rec.h"

namespace itemdef {
// Placement offsets in dots, added to the cell position of a placed item (signed 16-bit).
inline int OffsetX(const cItemRec& d) { return (int16_t)d.m_wI5; }
inline int OffsetY(const cItemRec& d) { return (int16_t)d.m_wI6; }
// The graphic reference: kind (0 block, 1 item, 2 shot, 3 own bitmap, 4 character) and index.
inline int GraphicKind(const cItemRec& d) { return d.m_byGraphicKind; }
inline int Graphic(const cItemRec& d) { return d.m_wGraphic; }
// The kind value the item object carries (signed 16-bit).
inline int KindValue(const cItemRec& d) { return (int16_t)d.m_wI9; }
// The scale: 0 (never stored by the editor) means 1.
inline int Scale(const cItemRec& d) { return d.m_byI16 ? d.m_byI16 : 1; }
inline uint8_t& ScaleField(cItemRec& d) { return d.m_byI16; }
// The appearance conditions' mode (0 all, 1 any one) and once-held switch: the record's field
// group of the condition list holds I3 and I4 with it.
inline int AppearCondMode(const cItemRec& d) { return d.m_byI3; }
inline int AppearOnceHeld(const cItemRec& d) { return d.m_byI4; }
// The size in blocks a summoned item takes.
inline int Blocks(const cItemRec& d) { return d.m_byI14; }
}  // namespace itemdef

namespace itemdef {
// How an item is taken (I11): 0 once (it leaves the list), 1 any number of times, 2 never.
enum { PICKUP_ONCE = 0, PICKUP_REPEAT = 1, PICKUP_NEVER = 2 };
inline int PickUpKind(const cItemRec& d) { return d.m_byI11; }
// Whether taking the item shows its graphic above the taker (I12), and the frame shown (I13).
inline int TakeEffect(const cItemRec& d) { return d.m_byI12; }
inline int TakeEffectFrame(const cItemRec& d) { return (int16_t)d.m_wI13; }
// The project sound played on taking (0 none).
inline int Sound(const cItemRec& d) { return d.m_wSound; }
}  // namespace itemdef
