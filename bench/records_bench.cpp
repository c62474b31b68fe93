// Reading and writing record files: a record of a few hundred value blocks and strings.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "records/data_file.h"

namespace {

// 320 value blocks of four element sizes and 10 strings, one element per block, as the wide
// settings records (stage, system settings) are laid out.
class cWideRecord : public cDataFile {
public:
    cWideRecord() {
        for (int i = 0; i < 200; ++i) m_anInts[i] = i * 7;
        for (int i = 0; i < 60; ++i) m_abyBytes[i] = (uint8_t)i;
        for (int i = 0; i < 40; ++i) m_awWords[i] = (uint16_t)(i * 300);
        for (int i = 0; i < 20; ++i) m_adReals[i] = i * 0.25;
        for (int i = 0; i < 10; ++i) m_astrTexts[i] = "テキスト" + std::to_string(i);
    }
    const RECORDLAYOUT& Layout() const override;

    int32_t m_anInts[200];
    uint8_t m_abyBytes[60];
    uint16_t m_awWords[40];
    double m_adReals[20];
    std::string m_astrTexts[10];
};

template <class T, size_t N, T (cWideRecord::*M)[N], size_t I>
void* ElementAt(cDataFile& r) {
    return &(static_cast<cWideRecord&>(r).*M)[I];
}

template <size_t I>
std::string* TextAt(cDataFile& r) {
    return &static_cast<cWideRecord&>(r).m_astrTexts[I];
}

template <class T, size_t N, T (cWideRecord::*M)[N], size_t... I>
void AddElements(cLayoutBuilder& b, uint32_t from, std::index_sequence<I...>) {
    (b.Add(FIELDDESC{&ElementAt<T, N, M, I>, 1, (int8_t)sizeof(T), from + (uint32_t)I, kAllVersions}), ...);
}

template <size_t... I>
void AddTexts(cLayoutBuilder& b, std::index_sequence<I...>) {
    (b.Add(STRFIELDDESC{&TextAt<I>, 0, kAllVersions}), ...);
}

const RECORDLAYOUT& cWideRecord::Layout() const {
    static const RECORDLAYOUT layout = [] {
        cLayoutBuilder b;
        AddElements<int32_t, 200, &cWideRecord::m_anInts>(b, 0, std::make_index_sequence<200>());
        AddElements<uint8_t, 60, &cWideRecord::m_abyBytes>(b, 100, std::make_index_sequence<60>());
        AddElements<uint16_t, 40, &cWideRecord::m_awWords>(b, 200, std::make_index_sequence<40>());
        AddElements<double, 20, &cWideRecord::m_adReals>(b, 300, std::make_index_sequence<20>());
        AddTexts(b, std::make_index_sequence<10>());
        return b.Build();
    }();
    return layout;
}

void BM_WriteWideRecord(benchmark::State& state) {
    cWideRecord r;
    cRecordWriter w;
    for (auto _ : state) {
        cDataFile::OpenWrite(w);
        r.Write(w);
        benchmark::DoNotOptimize(w.Data().data());
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)w.Data().size());
}
BENCHMARK(BM_WriteWideRecord);

void BM_ReadWideRecord(benchmark::State& state) {
    cWideRecord src;
    cRecordWriter w;
    cDataFile::OpenWrite(w);
    src.Write(w);
    cWideRecord r;
    for (auto _ : state) {
        cRecordReader reader;
        cDataFile::OpenReadMemory(reader, w.Data().data(), w.Data().size(), "bench");
        r.Read(reader);
        benchmark::DoNotOptimize(r.m_anInts[199]);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)w.Data().size());
}
BENCHMARK(BM_ReadWideRecord);

// A file of an older version: the gates select fewer blocks.
void BM_ReadWideRecordOldVersion(benchmark::State& state) {
    cWideRecord src;
    cRecordWriter w;
    cDataFile::OpenWrite(w);
    src.Write(w);
    // Rebuild the image as version 150: the blocks gated above 150 are not in it.
    cRecordWriter old;
    old.WriteU32(150);
    old.WriteU32(src.Layout().CountValues(150));
    for (const FIELDDESC& f : src.Layout().vecValues)
        if (f.StoredIn(150)) old.WriteBytes(f.pfnAccess(src), (size_t)f.nSize * f.nCount);
    src.WriteStrings(old);
    cWideRecord r;
    for (auto _ : state) {
        cRecordReader reader;
        cDataFile::OpenReadMemory(reader, old.Data().data(), old.Data().size(), "bench");
        r.Read(reader);
        benchmark::DoNotOptimize(r.m_anInts[0]);
    }
}
BENCHMARK(BM_ReadWideRecordOldVersion);

}  // namespace
