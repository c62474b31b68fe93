// The roles of a condition's number-named bytes beyond those of the tests. The record names
// them a1 ... b3; this is the one place that says which one holds which setting of a distance
// condition (kind 7), so that every reader takes the same byte.
#pragma once

#include "flow/flow_cond.h"

namespace condword {
// The range display of a distance condition: 0 never shown, 1 shown, 2 shown only in the
// editor's test play. Files older than 745 get 0 in a1, so old stages show no ranges.
inline int RangeDisplay(const cFlowCond& c) { return c.m_byA1; }
// The colour index 0-7 of the range lines (the byte beside the display setting).
inline int RangeColour(const cFlowCond& c) { return c.m_byA2; }
// Shown before the character has appeared, and while it is dead or hidden: the two switches
// that files older than 746 get as 1 (source and b1), i.e. no restriction.
inline int RangeShowBeforeAppear(const cFlowCond& c) { return c.m_bySource; }
inline int RangeShowWhileHidden(const cFlowCond& c) { return c.m_byB1; }
}  // namespace condword
