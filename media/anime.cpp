#include "media/anime.h"

#include "core/checked.h"

cAnime::cAnime() : m_nNo(0), m_nFrame(0), m_nTick(0) {}

void cAnime::SetTable(const AnimeFrame* const* table) {
    if (!table) return;
    m_vecAnime.clear();
    m_nNo = m_nFrame = m_nTick = 0;
    int lists = 0;
    while (table[lists]) ++lists;
    m_vecAnime.resize((size_t)lists);
    for (int i = 0; i < lists; ++i) {
        const AnimeFrame* src = table[i];
        int frames = 0;
        while (src[frames].nValue >= 0) ++frames;
        m_vecAnime[(size_t)i].assign(src, src + frames + 1);  // the control entry too
    }
}

DWORD cAnime::Set(int no, int force) {
    if (!force && !m_vecAnime.empty()) {
        std::vector<AnimeFrame>& cur = CheckedAt(m_vecAnime, m_nNo);
        if (!cur.empty() && CheckedAt(cur, m_nFrame).bLocked) return 0;
    }
    m_nNo = no;
    m_nFrame = 0;
    m_nTick = 0;
    return 1;
}

DWORD cAnime::Change(int no, int force) {
    if (no == m_nNo) return 1;
    return Set(no, force);
}

int cAnime::Update() {
    if (m_vecAnime.empty()) return 0;
    std::vector<AnimeFrame>* anim = &CheckedAt(m_vecAnime, m_nNo);
    if (anim->empty()) return 0;
    ++m_nTick;
    const AnimeFrame& cur = CheckedAt(*anim, m_nFrame);
    // A control entry that was handed back as a value (a list with no frames, or a code such as
    // "finished") is held: there is no entry after it.
    if (cur.nValue >= 0 && m_nTick >= cur.nDuration) {
        ++m_nFrame;
        m_nTick = 0;
        const AnimeFrame& reached = CheckedAt(*anim, m_nFrame);
        switch (reached.nValue) {
        case ANIME_JUMP:
            if (reached.nDuration >= 0 && reached.nDuration < (int)m_vecAnime.size() &&
                !m_vecAnime[(size_t)reached.nDuration].empty()) {
                Set(reached.nDuration, 1);
                anim = &m_vecAnime[(size_t)m_nNo];
            } else {
                --m_nFrame;  // a jump to a missing animation holds the last frame
            }
            break;
        case ANIME_LOOP:
            m_nFrame = 0;
            break;
        case ANIME_HOLD:
            --m_nFrame;
            break;
        default:
            break;
        }
    }
    return CheckedAt(*anim, m_nFrame).nValue;
}

int cAnime::GetFrame() {
    if (m_vecAnime.empty()) return 0;
    std::vector<AnimeFrame>& anim = CheckedAt(m_vecAnime, m_nNo);
    if (anim.empty()) return 0;
    return CheckedAt(anim, m_nFrame).nValue;
}
