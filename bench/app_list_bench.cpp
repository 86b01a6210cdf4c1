// The path list file: encoding and decoding 100 000 paths, and what a drop of 1 000 files
// costs in encoding work (each dropped path is saved at once, so the list is encoded
// 1 000 times at growing lengths), next to memcpy of the same bytes.
#include "framework/StringList.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

qv::TStringList MakePaths(int count) {
    qv::TStringList list;
    for (int i = 0; i < count; ++i)
        list.Add(L"C:\\Users\\someone\\Documents\\Projects\\quorvel-" + std::to_wstring(i) + L"\\notes.txt");
    return list;
}

void BM_ListEncodeAnsi100k(benchmark::State& state) {
    const qv::TStringList list = MakePaths(100000);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const qv::Bytes text = list.EncodeText();
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ListEncodeAnsi100k)->Unit(benchmark::kMillisecond);

void BM_ListEncodeUtf8_100k(benchmark::State& state) {
    qv::TStringList list = MakePaths(100000);
    list.SetEncoding(qv::teUtf8);
    for (auto _ : state) benchmark::DoNotOptimize(list.EncodeText().data());
}
BENCHMARK(BM_ListEncodeUtf8_100k)->Unit(benchmark::kMillisecond);

void BM_ListDecodeAnsi100k(benchmark::State& state) {
    const qv::Bytes text = MakePaths(100000).EncodeText();
    for (auto _ : state) {
        qv::TStringList list;
        list.LoadFromBytes(text);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ListDecodeAnsi100k)->Unit(benchmark::kMillisecond);

void BM_ListMemcpy100k(benchmark::State& state) {
    const qv::Bytes text = MakePaths(100000).EncodeText();
    std::vector<char> copy(text.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), text.data(), text.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ListMemcpy100k)->Unit(benchmark::kMillisecond);

// A drop of 1 000 files onto an empty list: insert at the top and encode, 1 000 times.
void BM_ListDrop1000(benchmark::State& state) {
    for (auto _ : state) {
        qv::TStringList list;
        for (int i = 0; i < 1000; ++i) {
            list.Insert(0, L"C:\\dropped\\file-" + std::to_wstring(i) + L".txt");
            benchmark::DoNotOptimize(list.EncodeText().data());
        }
    }
}
BENCHMARK(BM_ListDrop1000)->Unit(benchmark::kMillisecond);

}  // namespace
