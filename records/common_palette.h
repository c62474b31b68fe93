// The common palette ("data\CommonPalette.cplt4"): the block, character and item definitions
// every stage may use besides its own. Read once at start-up, only read afterwards.
#pragma once

#include <vector>

#include "records/block_rec.h"
#include "records/chara_rec.h"
#include "records/data_file.h"
#include "records/item_rec.h"

class cCommonPalette : public cDataFile {
public:
    // No stored fields of its own; one new definition in each list.
    cCommonPalette();
    // The empty container part, the three lists; element 0 of each list becomes the none
    // definition, every template flag is cleared, then the fix-up.
    void Read(cRecordReader& reader) override;
    // The fix-up, then the container part and the three lists.
    void Write(cRecordWriter& writer) override;
    // Two definitions at least in each list; every definition's references checked.
    void FixUp();

    std::vector<cBlockRec> m_vecBlocks;
    std::vector<cCharaRec> m_vecCharas;
    std::vector<cItemRec> m_vecItems;
};

extern cCommonPalette g_CommonPalette;

// The definition-list fix-up shared by the common palette and stages: lists shorter than two
// get cleared definitions appended.
void PadDefinitionLists(std::vector<cBlockRec>& blocks, std::vector<cCharaRec>& charas, std::vector<cItemRec>& items);
// Reads a counted definition list (the list emptied and sized to the count with new
// definitions, then each reads itself); with `reserved` each element is preceded by a word
// that is read and dropped. FALSE when the count cannot fit.
template <class T>
BOOL ReadDefinitionList(cRecordReader& reader, std::vector<T>& list, bool reserved);
template <class T>
void WriteDefinitionList(cRecordWriter& writer, std::vector<T>& list, bool reserved);
// What a definition list still needs validated.
enum DEFCHECK {
    DEFCHECK_ALL,
    // The lists hold only definitions just read or new: their flows and commands were
    // validated as they were read.
    DEFCHECK_FIELDS,
    // Every definition was read in full just now and validated itself: only the palette
    // references of the commands remain (they need every list in place).
    DEFCHECK_REFS,
};
// Validates a palette or placed list: blocks their references, characters their ranges and
// flow references, items their ranges and command references; `check` says what is left.
void ValidateDefinitions(std::vector<cBlockRec>& blocks, std::vector<cCharaRec>& charas, std::vector<cItemRec>& items,
                         DEFCHECK check = DEFCHECK_ALL);
