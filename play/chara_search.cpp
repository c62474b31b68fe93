#include "play/chara_search.h"

#include "flow/value_ops.h"
#include "play/chara.h"
#include "play/chara_def.h"

bool PassesSearch(const cChara& c, const CHARASEARCH& f) {
    if (!c.m_bAppeared || c.m_bDead) return false;
    // The hero's always-active word is kept set by the appearance pass; a stage character acts
    // while it is in range.
    if (!c.m_bAlwaysActive && !c.m_bInRange) return false;
    if (f.bTag && charadef::Tag(c.m_Def) != f.nTag) return false;
    if (f.bExcludeId && c.m_nId == f.nExcludedId) return false;
    const int kind = charadef::ProtectionKind(c.m_Def);
    if (f.bExcludeLight && kind == 1) return false;
    if (f.bExcludeHeavy && kind == 2) return false;
    if (f.bExcludeBlocks && c.m_bActsAsBlock) return false;
    if (f.bVar) {
        // A variable the character does not have reads as 0.
        const int32_t v = (f.nVarIndex >= 0 && (size_t)f.nVarIndex < c.m_vecVar.size()) ? c.m_vecVar[(size_t)f.nVarIndex] : 0;
        if (!CompareByOp(v, f.nValue, f.nOp)) return false;
    }
    return true;
}

cChara* FindNearestCharacter(double x, double y, const std::list<cChara*>& list, int mode, const CHARASEARCH& f) {
    cChara* best = nullptr;
    double bestDistance = 0.0;
    for (cChara* c : list) {
        if (!c || !PassesSearch(*c, f)) continue;
        if (mode == SEARCH_ON_SCREEN && !c->IsOnScreen()) continue;
        const double cx = (double)c->m_nRectLeft + (c->m_nGraphWidth >> 1) - x;
        const double cy = (double)c->m_nRectTop + (c->m_nGraphHeight >> 1) - y;
        const double d = cx * cx + cy * cy;
        if (!best || d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

cChara* FindFirstCharacter(const std::list<cChara*>& list, const CHARASEARCH& f) {
    for (cChara* c : list)
        if (c && PassesSearch(*c, f)) return c;
    return nullptr;
}
