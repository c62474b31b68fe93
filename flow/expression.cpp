// The code command's formula language: parentheses and calls, tokens, the three passes.
#include "flow/expression.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "app/scene_manager.h"
#include "core/checked.h"
#include "core/helpers.h"
#include "core/report.h"
#include "flow/expression_words.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "play/status_ops.h"
#include "records/save_data.h"
#include "records/stage.h"

int32_t g_bExprError = 0;

namespace {

int Fail() {
    g_bExprError = 1;
    return 0;
}

// A level refused without a message: one report line per reason and text, so that a line run
// every frame does not flood the report.
int FailReport(const char* what, const std::string& text) {
    static std::string s_strLast;
    std::string key = std::string(what) + '\n' + text;
    if (key != s_strLast) {
        s_strLast = std::move(key);
        WriteReport("Code Err : %s (%s)", what, text.c_str());  // cut at 1,024 bytes on a character
    }
    return Fail();
}

// The text up to its first NUL, as the program's strings end there.
std::string CutAtNul(const std::string& text) { return std::string(text.c_str()); }

// The decimal value of the leading digits (after blanks and a sign); 0 without digits; held in
// the 32-bit range.
int32_t LeadingNumber(const char* p) {
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > (int64_t)INT32_MAX + 1) v = (int64_t)INT32_MAX + 1;
    }
    if (negative) v = -v;
    return (int32_t)std::clamp<int64_t>(v, INT32_MIN, INT32_MAX);
}

// t[begin .. end) replaced by v in decimal; false when the text grows past the limit.
bool ReplaceByValue(std::string& t, size_t begin, size_t end, int32_t v) {
    t = t.substr(0, begin) + std::to_string(v) + t.substr(end);
    return t.size() <= kExprTextMax;
}

int EvalLevel(const std::string& text, cChara* chara, int depth);

// A call of function `name` whose "(" is at t[open]: evaluates the arguments up to the call's
// ")", stores the value and the position after the ")". False after an error.
bool EvalCall(const std::string& t, size_t open, const std::string& name, cChara* chara, int depth,
              int32_t& value, size_t& after) {
    std::vector<int32_t> args;
    std::string arg;
    int nest = 0;
    for (size_t k = open + 1; k < t.size(); ++k) {
        const char ch = t[k];
        if (ch == '(') {
            ++nest;
            arg += ch;
        } else if (ch == ')' && nest > 0) {
            --nest;
            arg += ch;
        } else if ((ch == ',' || ch == ')') && nest == 0) {
            if (!arg.empty()) {
                args.push_back(EvalLevel(arg, chara, depth + 1));
                arg.clear();
            }
            if (ch == ')') {
                // "rand" is the only function.
                if (args.size() != 2) {
                    MesBoxF("関数 %s の引数が不正です！", name.c_str());
                    Fail();
                    return false;
                }
                value = RandRange(args[0], args[1]);
                after = k + 1;
                return true;
            }
        } else {
            arg += ch;
        }
    }
    MesBoxF("関数 %s で\")\"が見つかりません！", name.c_str());
    Fail();
    return false;
}

int EvalLevel(const std::string& text, cChara* chara, int depth) {
    if (depth > kExprDepthMax) return FailReport("nesting too deep", text);
    std::string t = CutAtNul(text);
    if (t.size() > kExprTextMax) return FailReport("text too long", text);
    size_t start = 0;  // the first character of the current word
    size_t i = 0;
    for (;;) {
        if (i >= t.size()) return EvalFlatExpression(t, chara);
        if (t[i] == ' ') {
            start = ++i;
            continue;
        }
        if (t[i] != '(') {
            ++i;
            continue;
        }
        // The partner of this "(".
        size_t j = i + 1;
        for (int nest = 0; j < t.size(); ++j) {
            if (t[j] == '(') {
                ++nest;
            } else if (t[j] == ')') {
                if (nest == 0) break;
                --nest;
            }
        }
        if (j >= t.size()) {
            MesBoxText("\")\"が見つかりません！");
            return Fail();
        }
        if (i == start) {
            // A parenthesis that opens a word becomes its value.
            const int32_t v = EvalLevel(t.substr(i + 1, j - i - 1), chara, depth + 1);
            if (!ReplaceByValue(t, start, j + 1, v)) return FailReport("text too long", text);
            i = start;
            continue;
        }
        const std::string name = t.substr(start, i - start);
        if (FindExprWord(g_aszExprFunction, kExprFunctionCount, name.c_str()) < 0) {
            ++i;  // not a call: the parenthesis stays part of the word
            continue;
        }
        int32_t v = 0;
        size_t after = 0;
        if (!EvalCall(t, i, name, chara, depth, v, after)) return 0;
        if (!ReplaceByValue(t, start, after, v)) return FailReport("text too long", text);
        i = start;
    }
}

// The character an object word stands for; false when it has none ("my" without a running
// character, "tg" without a target, "pl" without a hero).
bool ResolveObject(int object, cChara* chara, cChara*& out) {
    out = nullptr;
    switch (object) {
        case EXPROBJ_MY: out = chara; return chara != nullptr;
        case EXPROBJ_TG: out = StatusObject(chara, OBJ_TARGET); return out != nullptr;
        case EXPROBJ_PL:
            if (g_vecHero.empty()) {
                ReportIndexError('V', 0, 0, (int)sizeof(cHero));
                return false;
            }
            out = &g_vecHero.front();
            return true;
        default: return true;  // "sys": no character
    }
}

// The token of one word; false (no message) when it cannot be made.
bool ClassifyWord(const std::string& word, int object, cChara* chara, EXPRTOKEN& token, const std::string& text) {
    token = EXPRTOKEN();
    const int op = FindExprWord(g_aszExprOperator, EXPROP_COUNT, word.c_str());
    if (op >= 0) {
        token.nKind = EXPRTOKEN_OPERATOR;
        token.nOperator = op;
        return true;
    }
    cChara* owner = nullptr;
    if (!ResolveObject(object, chara, owner)) return false;
    if (word[0] == g_aszExprVarPrefix[EXPRVAR_COMMON][0] || word[0] == g_aszExprVarPrefix[EXPRVAR_STAGE][0]) {
        const bool stage = word[0] == g_aszExprVarPrefix[EXPRVAR_STAGE][0];
        const int32_t index = LeadingNumber(word.c_str() + 1);
        std::vector<int32_t>* list = stage ? (g_lpPlayScene ? &g_lpPlayScene->m_vecStageVars : nullptr)
                                           : &g_SaveData.m_vecCommonVars;
        const int count = list ? (int)list->size() : 0;
        if (index < 0 || index >= count) {
            ReportIndexError('V', index, count, (int)sizeof(int32_t));
            return false;
        }
        MakeExprVariableToken(token, &(*list)[(size_t)index]);
        return true;
    }
    const int status = FindExprWord(g_aszExprStatusWord, EXPRSTATUS_COUNT, word.c_str());
    if (status >= 0) {
        // A status word of "sys." names nothing.
        if (!owner) {
            FailReport("a status word of sys", text);
            return false;
        }
        return MakeExprStatusToken(token, status, *owner);
    }
    const int system = FindExprWord(g_aszExprSystemWord, EXPRSYS_COUNT, word.c_str());
    if (system >= 0) return MakeExprSystemToken(token, system);
    token.nKind = EXPRTOKEN_NUMBER;
    token.nValue = LeadingNumber(word.c_str());
    token.nMin = -kExprValueMax;
    token.nMax = kExprValueMax;
    return true;
}

int OperatorPass(const EXPRTOKEN& t) {
    return t.nKind == EXPRTOKEN_OPERATOR ? g_anExprOperatorPass[t.nOperator] : -1;
}

// Why the passes cannot run on these tokens, or null when they can: every operator must find a
// token on both sides when its turn comes, and every "=" a word with storage on its left.
// Decided on the kinds alone before anything is computed, so that a refused line changes nothing.
const char* CannotApply(const std::vector<EXPRTOKEN>& tokens) {
    std::vector<int> kinds;  // token kind, or -1 - operator index
    kinds.reserve(tokens.size());
    for (const EXPRTOKEN& t : tokens) kinds.push_back(t.nKind == EXPRTOKEN_OPERATOR ? -1 - t.nOperator : t.nKind);
    for (int pass = 0; pass < 3; ++pass) {
        for (size_t k = 0; k < kinds.size();) {
            if (kinds[k] >= 0 || g_anExprOperatorPass[-1 - kinds[k]] != pass) {
                ++k;
                continue;
            }
            if (k == 0 || k + 1 >= kinds.size()) return "an operator without an operand";
            if (-1 - kinds[k] == EXPROP_ASSIGN &&
                kinds[k - 1] != EXPRTOKEN_VARIABLE && kinds[k - 1] != EXPRTOKEN_STATUS && kinds[k - 1] != EXPRTOKEN_SYSTEM)
                return "an assignment to no variable or word";
            kinds[k - 1] = EXPRTOKEN_NUMBER;
            kinds.erase(kinds.begin() + (ptrdiff_t)k, kinds.begin() + (ptrdiff_t)k + 2);
            k = 0;  // leftmost again
        }
    }
    return nullptr;
}

// "=": R clamped to the left word's range, written with its width, and what follows the write.
int32_t Assign(const EXPRTOKEN& left, int32_t r, cChara* chara) {
    int32_t v = r;
    if (v < left.nMin) v = left.nMin;
    if (v > left.nMax) v = left.nMax;
    WriteExprStorage(left, v);
    if (left.nKind == EXPRTOKEN_SYSTEM && g_lpPlayScene) {
        if (left.nSystemWord == EXPRSYS_SCRLX) g_lpPlayScene->m_ScrollX.SetSpeed(g_StageSettings.m_bAutoScrollX, v);
        if (left.nSystemWord == EXPRSYS_SCRLY) g_lpPlayScene->m_ScrollY.SetSpeed(g_StageSettings.m_bAutoScrollY, v);
    }
    if (left.nKind == EXPRTOKEN_STATUS && left.lpChara) {
        cChara& c = *left.lpChara;
        switch (left.nStatusWord) {
            case EXPRSTATUS_HP:
                if (&c != chara && c.m_nHP <= 0 && g_lpPlayScene) g_lpPlayScene->m_bDeathCheck = 1;
                break;
            case EXPRSTATUS_MHP: c.m_nHP = std::clamp(c.m_nHP, 1, std::max(1, charadef::MaxHP(c.m_Def))); break;
            case EXPRSTATUS_MSP: c.m_nSP = std::clamp(c.m_nSP, 1, std::max(1, charadef::MaxSP(c.m_Def))); break;
            case EXPRSTATUS_SIGHT:
                RefreshSightRange(c);
                break;
            default: break;
        }
    }
    return v;
}

int32_t Wrap(int64_t v) { return (int32_t)(uint32_t)(uint64_t)v; }

}  // namespace

int EvalExpression(const std::string& text, cChara* chara) { return EvalLevel(text, chara, 0); }

int EvalFlatExpression(const std::string& text, cChara* chara) {
    const std::string s = CutAtNul(text);
    if (s.size() > kExprTextMax) return FailReport("text too long", s);
    std::vector<EXPRTOKEN> tokens;
    std::string word;
    int object = EXPROBJ_MY;
    for (size_t i = 0; i <= s.size(); ++i) {
        const char ch = i < s.size() ? s[i] : '\0';
        if (ch == ' ' || ch == '\0') {
            if (word.empty()) continue;
            if (tokens.size() >= kExprTokenMax) return FailReport("too many words", s);
            EXPRTOKEN token;
            if (!ClassifyWord(word, object, chara, token, s)) return Fail();
            tokens.push_back(token);
            word.clear();
            object = EXPROBJ_MY;
        } else if (ch == '.') {
            object = FindExprWord(g_aszExprObject, EXPROBJ_COUNT, word.c_str());
            if (object < 0) {
                MesBoxF("オブジェクト \"%s.\" が認識できません！", word.c_str());
                return Fail();
            }
            word.clear();
        } else {
            word += ch;
        }
    }
    if (const char* why = CannotApply(tokens)) return FailReport(why, s);

    int32_t result = tokens.empty() ? 0 : tokens.back().nValue;
    for (int pass = 0; pass < 3; ++pass) {
        for (;;) {
            size_t k = 0;
            while (k < tokens.size() && OperatorPass(tokens[k]) != pass) ++k;
            if (k >= tokens.size()) break;
            const EXPRTOKEN& left = tokens[k - 1];
            const int64_t l = left.nValue;
            const int64_t r = tokens[k + 1].nValue;
            int32_t v = 0;
            switch (tokens[k].nOperator) {
                case EXPROP_ADD: v = Wrap(l + r); break;
                case EXPROP_SUB: v = Wrap(l - r); break;
                case EXPROP_MUL: v = Wrap(l * r); break;
                case EXPROP_DIV:
                case EXPROP_MOD:
                    if (r == 0) {
                        MesBoxF("0除算が行われました！(%s)", s.c_str());
                        return Fail();
                    }
                    // In 64 bits INT_MIN / -1 does not overflow; it wraps back to INT_MIN.
                    v = Wrap(tokens[k].nOperator == EXPROP_DIV ? l / r : l % r);
                    break;
                default: v = Assign(left, (int32_t)r, chara); break;
            }
            EXPRTOKEN number;
            number.nValue = v;
            number.nMin = -kExprValueMax;
            number.nMax = kExprValueMax;
            tokens[k - 1] = number;
            tokens.erase(tokens.begin() + (ptrdiff_t)k, tokens.begin() + (ptrdiff_t)k + 2);
            result = v;
        }
    }
    return result;
}

int RunExpressionCode(const std::string& text, cChara* chara) {
    g_bExprError = 0;
    const int32_t hp = chara ? chara->m_nHP : 0;
    const int32_t sp = chara ? chara->m_nSP : 0;
    EvalExpression(text, chara);
    if (g_bExprError) return 0;
    if (chara) {
        const auto difference = [](int32_t now, int32_t before) {
            return (int32_t)std::clamp<int64_t>((int64_t)now - before, INT32_MIN, INT32_MAX);
        };
        if (chara->m_nHP != hp) chara->StartHPGauge(difference(chara->m_nHP, hp));
        if (chara->m_nSP != sp) chara->StartSPGauge(difference(chara->m_nSP, sp));
    }
    return 1;
}
