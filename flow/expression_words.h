// The words of the code command's formula language: the function, the six operators with their
// priorities, the four objects, the two variable prefixes, the 22 status words and the five
// system words (all compared whole and case-sensitively), the token one word of a flat text
// becomes, and the storage width and assignment range of every status and system word.
#pragma once

#include <cstdint>

class cChara;

// Keyword lists, in index order.
constexpr int kExprFunctionCount = 1;
extern const char* const g_aszExprFunction[kExprFunctionCount];   // "rand"
enum { EXPROP_ASSIGN = 0, EXPROP_ADD, EXPROP_SUB, EXPROP_MUL, EXPROP_DIV, EXPROP_MOD, EXPROP_COUNT };
extern const char* const g_aszExprOperator[EXPROP_COUNT];        // "=" "+" "-" "*" "/" "%"
// The pass in which each operator is applied: 0 "*" "/" "%", 1 "+" "-", 2 "=".
extern const int g_anExprOperatorPass[EXPROP_COUNT];
enum { EXPROBJ_MY = 0, EXPROBJ_TG, EXPROBJ_PL, EXPROBJ_SYS, EXPROBJ_COUNT };
extern const char* const g_aszExprObject[EXPROBJ_COUNT];         // "my" "tg" "pl" "sys"
enum { EXPRVAR_COMMON = 0, EXPRVAR_STAGE, EXPRVAR_COUNT };
extern const char* const g_aszExprVarPrefix[EXPRVAR_COUNT];      // "C" "S"
enum {
    EXPRSTATUS_V1 = 0, EXPRSTATUS_V8 = 7, EXPRSTATUS_HP, EXPRSTATUS_SP, EXPRSTATUS_MHP, EXPRSTATUS_MSP,
    EXPRSTATUS_CID, EXPRSTATUS_Z, EXPRSTATUS_MARK, EXPRSTATUS_SIGHT, EXPRSTATUS_POWER, EXPRSTATUS_IMP,
    EXPRSTATUS_DEF, EXPRSTATUS_IMPD, EXPRSTATUS_STOP, EXPRSTATUS_GETSC, EXPRSTATUS_COUNT
};
extern const char* const g_aszExprStatusWord[EXPRSTATUS_COUNT];  // "v1" .. "getsc"
enum { EXPRSYS_TIME = 0, EXPRSYS_SCRLX, EXPRSYS_SCRLY, EXPRSYS_SCORE, EXPRSYS_LIFE, EXPRSYS_COUNT };
extern const char* const g_aszExprSystemWord[EXPRSYS_COUNT];     // "time" "scrlx" "scrly" "score" "life"

// The index of `word` in a keyword list, or -1.
int FindExprWord(const char* const* list, int count, const char* word);

// Token kinds and storage widths (the width code is the byte count, 0 for one byte).
enum { EXPRTOKEN_NUMBER = 0, EXPRTOKEN_VARIABLE, EXPRTOKEN_STATUS, EXPRTOKEN_SYSTEM, EXPRTOKEN_OPERATOR };
enum { EXPRWIDTH_I8 = 0, EXPRWIDTH_I16 = 2, EXPRWIDTH_I32 = 4 };

// One word of a flat text. A token lives only while its flat text is evaluated: the storage
// and the character it points at outlive that (nothing is erased during an evaluation).
struct EXPRTOKEN {
    int32_t nKind = EXPRTOKEN_NUMBER;
    int32_t nValue = 0;          // the number, or the storage's value when the token was made
    void* lpStorage = nullptr;   // where an assignment writes (none for numbers and operators)
    int32_t nWidth = EXPRWIDTH_I32;
    int32_t nOperator = 0;       // EXPROP_... (operators)
    int32_t nMin = 0, nMax = 0;  // the range an assignment is clamped to
    int32_t nStatusWord = -1;    // EXPRSTATUS_... (status words)
    int32_t nSystemWord = -1;    // EXPRSYS_... (system words)
    cChara* lpChara = nullptr;   // the character a status word belongs to
};

// The range of every variable, of "v1"-"v8", "power" and "getsc".
constexpr int32_t kExprValueMax = 999999;

// Fills storage, range and value of a variable token (common or stage variable).
void MakeExprVariableToken(EXPRTOKEN& token, int32_t* variable);
// Fills storage, width, range and value of a status token for `chara`; false when the word
// names no storage of it (a character variable outside its list: the index error is reported).
bool MakeExprStatusToken(EXPRTOKEN& token, int word, cChara& chara);
// Fills storage, width, range and value of a system token; false when there is no play scene
// to hold the time.
bool MakeExprSystemToken(EXPRTOKEN& token, int word);
// The value a token's storage holds, read with its width.
int32_t ReadExprStorage(const EXPRTOKEN& token);
// Writes v to a token's storage with its width (the low 16 or 8 bits for the narrow ones).
void WriteExprStorage(const EXPRTOKEN& token, int32_t v);
