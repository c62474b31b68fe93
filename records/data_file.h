// The record framework. Every record file is the image of one record derived from cDataFile.
// A record class describes its stored members once, in a static layout table: per value block
// the member, its element size and count and the data versions that store it; per string member
// the same. Read, write, clear, copy and strip walk that table, selecting the entries of the
// version in force, so no record holds pointers into itself and the default copy of a record is
// correct. What a table cannot say is done by the class's own Read and Write around the base
// body: nested counted lists, raw tails and the migrations of older versions.
//
// File layout of a record body (little-endian, no padding): u32 N, the N value blocks in table
// order (element size x count bytes each), u32 S, then S strings (u32 L = text length + 1, then
// the L bytes with the NUL when L != 1); then whatever the class appends. A file is a u32 data
// version followed by one body (or a counted list of bodies).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win32/types.h"
#include "records/record_reader.h"
#include "records/record_writer.h"

// The current data version: every file is written in it.
constexpr uint32_t kDataVersion = 754;
// Set once at start-up (InitGame) before any file is touched; already 754 for the records that
// are built before the entry runs.
extern uint32_t g_nCurrentVersion;
// The data version of the file most recently opened for reading; nested records of one file
// are read with it.
extern uint32_t g_nFileVersion;
// When set, strings read from record files lose every carriage return.
extern BOOL g_bStripReturns;

// A string member holds at most this many bytes of text (a 5,120-byte buffer with its NUL).
constexpr size_t kMaxStringBytes = 5119;
// The smallest record body (its N and S words): a list count bound for lists of records.
constexpr size_t kMinRecordBytes = 8;
// "No upper version bound" for layout entries.
constexpr uint32_t kAllVersions = 0xFFFFFFFFu;

class cDataFile;

// One value block of a layout: stored in files of versions nFrom <= v < nUntil. A null accessor
// is a word that files of those versions hold and that the class does not keep: it is read and
// dropped (never written, since the current layout registers none).
struct FIELDDESC {
    void* (*pfnAccess)(cDataFile& record);
    uint32_t nCount;
    int8_t nSize;
    uint32_t nFrom;
    uint32_t nUntil;
    bool StoredIn(uint32_t version) const { return version >= nFrom && version < nUntil; }
};

// One string member of a layout.
struct STRFIELDDESC {
    std::string* (*pfnAccess)(cDataFile& record);
    uint32_t nFrom;
    uint32_t nUntil;
    bool StoredIn(uint32_t version) const { return version >= nFrom && version < nUntil; }
};

struct LAYOUTPLAN;

// Holds the plan a layout works out on first use; a copied layout starts without one.
class cLayoutPlanSlot {
public:
    cLayoutPlanSlot() = default;
    cLayoutPlanSlot(const cLayoutPlanSlot&) {}
    cLayoutPlanSlot& operator=(const cLayoutPlanSlot&);
    ~cLayoutPlanSlot();
    mutable std::atomic<const LAYOUTPLAN*> m_pPlan{nullptr};
};

// The layout of a record class for every data version, in file order.
struct RECORDLAYOUT {
    std::vector<FIELDDESC> vecValues;
    std::vector<STRFIELDDESC> vecStrings;
    uint32_t CountValues(uint32_t version) const;
    uint32_t CountStrings(uint32_t version) const;
    // Set by classes that keep no member between their first and last value block that the
    // layout leaves out: bytes there that no block fills are padding, which a read may
    // overwrite (it then stores whole sixteen-byte pieces without looking at what they held).
    bool bEveryMemberListed = false;
    // The value blocks of the current version as copies of whole runs (see data_file.cpp).
    cLayoutPlanSlot plan;
};

namespace recordlayout {

template <class M> struct MemberTraits;
template <class C, class T> struct MemberTraits<T C::*> {
    using Class = C;
    using Type = T;
};

// Element size and count of a member type: a scalar, a C array or a std::array of scalars.
template <class T> struct ElementTraits {
    using Element = T;
    static constexpr uint32_t kCount = 1;
};
template <class T, size_t N> struct ElementTraits<T[N]> {
    using Element = T;
    static constexpr uint32_t kCount = (uint32_t)N;
};
template <class T, size_t N> struct ElementTraits<std::array<T, N>> {
    using Element = T;
    static constexpr uint32_t kCount = (uint32_t)N;
};

template <auto M> void* AccessValue(cDataFile& record) {
    using C = typename MemberTraits<decltype(M)>::Class;
    return static_cast<void*>(&(static_cast<C&>(record).*M));
}

template <auto M> std::string* AccessString(cDataFile& record) {
    using C = typename MemberTraits<decltype(M)>::Class;
    return &(static_cast<C&>(record).*M);
}

}  // namespace recordlayout

// Builds a layout table in file order:
//   static const RECORDLAYOUT s = cLayoutBuilder()
//       .Values<&cFoo::m_nWidth>()            // every version
//       .Values<&cFoo::m_nDepth>(185)         // from version 185 on
//       .Discard(4, 1, 221, 260)              // a word of versions 221..259, dropped
//       .String<&cFoo::m_strName>()
//       .Build();
class cLayoutBuilder {
public:
    template <auto M> cLayoutBuilder& Values(uint32_t from = 0, uint32_t until = kAllVersions) {
        using T = typename recordlayout::MemberTraits<decltype(M)>::Type;
        using E = typename recordlayout::ElementTraits<T>::Element;
        static_assert(std::is_arithmetic_v<E>, "value blocks hold integers or doubles");
        static_assert(sizeof(E) == 1 || sizeof(E) == 2 || sizeof(E) == 4 || sizeof(E) == 8,
                      "elements are 1, 2, 4 or 8 bytes");
        m_layout.vecValues.push_back(FIELDDESC{&recordlayout::AccessValue<M>,
                                               recordlayout::ElementTraits<T>::kCount, (int8_t)sizeof(E), from,
                                               until});
        return *this;
    }
    template <auto M> cLayoutBuilder& String(uint32_t from = 0, uint32_t until = kAllVersions) {
        m_layout.vecStrings.push_back(STRFIELDDESC{&recordlayout::AccessString<M>, from, until});
        return *this;
    }
    cLayoutBuilder& Discard(int size, uint32_t count, uint32_t from, uint32_t until) {
        m_layout.vecValues.push_back(FIELDDESC{nullptr, count, (int8_t)size, from, until});
        return *this;
    }
    // A hand-made entry (for layouts generated in code).
    cLayoutBuilder& Add(const FIELDDESC& field) {
        m_layout.vecValues.push_back(field);
        return *this;
    }
    cLayoutBuilder& Add(const STRFIELDDESC& field) {
        m_layout.vecStrings.push_back(field);
        return *this;
    }
    // The class keeps no member the layout leaves out (see RECORDLAYOUT::bEveryMemberListed).
    cLayoutBuilder& EveryMemberListed() {
        m_layout.bEveryMemberListed = true;
        return *this;
    }
    RECORDLAYOUT Build() { return m_layout; }

private:
    RECORDLAYOUT m_layout;
};

class cDataFile {
public:
    cDataFile() = default;
    cDataFile(const cDataFile&) = default;
    cDataFile& operator=(const cDataFile&) = default;
    virtual ~cDataFile() = default;

    // The class's layout table (the base stores nothing).
    virtual const RECORDLAYOUT& Layout() const;
    // The body in the layout of g_nFileVersion. Members the file's version does not store, and
    // members a short file does not reach, keep their values.
    virtual void Read(cRecordReader& reader);
    // The body in the current layout.
    virtual void Write(cRecordWriter& writer);

    // Every value block of the current layout set to zero bytes, every string to "". Members
    // the layout does not register are untouched.
    void Clear();
    // Copies the registered members of the current layout from a record of the same class
    // (a record of another class is refused with a report line).
    void CopyFrom(const cDataFile& source);
    // Removes every carriage return from the registered strings.
    void StripReturns();
    void ReadStrings(cRecordReader& reader);
    void WriteStrings(cRecordWriter& writer);

    // Opens a file for reading: the whole file is read and its version word becomes
    // g_nFileVersion. An empty name opens "err"; a name of 260 bytes or more is refused; a file
    // shorter than its version word is a failed open. FALSE when it cannot be opened.
    static BOOL OpenRead(cRecordReader& reader, const char* name);
    // The same for an image in memory (tests, fuzzing).
    static BOOL OpenReadMemory(cRecordReader& reader, const void* data, size_t size, const char* name);
    // Starts a file image with the current version word.
    static void OpenWrite(cRecordWriter& writer);
    // Saves an image atomically; FALSE when anything failed (the old file stays).
    static BOOL CloseWrite(cRecordWriter& writer, const char* name);

    // OpenRead, then Read; 1 when the file was opened (a short file still loads what it holds).
    BOOL LoadFile(const char* name);
    // OpenWrite, Write and an atomic save; 0 when anything failed.
    BOOL SaveFile(const char* name);

private:
    // The string part of a body of `version`, whose layout stores `stored` strings.
    void ReadStrings(cRecordReader& reader, const RECORDLAYOUT& layout, uint32_t version, uint32_t stored);
};

// For record classes whose every member is a plain value (no strings, lists or pointers): all
// members copied at once, past the record base (a member-by-member copy of many small fields
// costs many moves). The class says so where it calls this.
template <class C>
void CopyPlainMembers(C& to, const C& from) {
    static_assert(std::is_base_of_v<cDataFile, C> && sizeof(C) > sizeof(cDataFile));
    static_assert(alignof(C) <= sizeof(cDataFile), "the members start right after the record base");
    std::memcpy(reinterpret_cast<char*>(&to) + sizeof(cDataFile), reinterpret_cast<const char*>(&from) + sizeof(cDataFile),
                sizeof(C) - sizeof(cDataFile));
}

// The empty layout of records that store nothing of their own.
const RECORDLAYOUT& EmptyLayout();

// Empties a list and fills it with n new records of class T (what T() makes). In the current
// data version the new records are copies of one new record made once, which costs less than
// n constructions that each clear through the layout; records built for another version (the
// test writers) are constructed for the call.
template <class List>
void AssignNewRecords(List& list, size_t n) {
    using T = typename List::value_type;
    list.clear();
    if (!n) return;
    if (g_nCurrentVersion == kDataVersion) {
        static const T prototype;  // made the first time, in the current version
        list.assign(n, prototype);
    } else {
        list.assign(n, T());
    }
}
