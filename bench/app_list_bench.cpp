// The path list file: encoding and decoding 100 000 paths, and what a drop of 1 000 files
// costs in encoding work (each dropped path is saved at once, so the list is encoded
// 1 000 times at growing lengths), next to memcpy of the same bytes.
#include "framework/StringList.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
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

// Reading and writing the list file of 100 000 paths, each next to fread / fwrite of the
// same bytes in the same place: the ratio is what the list's own decoding and encoding
// add to the file system's share.
std::filesystem::path ListFilePath() { return std::filesystem::temp_directory_path() / "quorvel-bench-listbox.data"; }

void WriteWithStdio(const std::filesystem::path& path, const qv::Bytes& bytes) {
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void BM_ListFileRead100k(benchmark::State& state) {
    const std::filesystem::path path = ListFilePath();
    const qv::Bytes text = MakePaths(100000).EncodeText();
    WriteWithStdio(path, text);
    for (auto _ : state) {
        qv::TStringList list;
        list.LoadFromFile(path.wstring());
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ListFileRead100k)->Unit(benchmark::kMillisecond);

void BM_ListFileFread100k(benchmark::State& state) {
    const std::filesystem::path path = ListFilePath();
    const qv::Bytes text = MakePaths(100000).EncodeText();
    WriteWithStdio(path, text);
    std::vector<char> buffer(text.size());
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.string().c_str(), "rb");
        if (!f) break;
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), f));
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ListFileFread100k)->Unit(benchmark::kMillisecond);

void BM_ListFileWrite100k(benchmark::State& state) {
    const std::filesystem::path path = ListFilePath();
    const qv::TStringList list = MakePaths(100000);
    for (auto _ : state) list.SaveToFile(path.wstring());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * list.EncodeText().size()));
}
BENCHMARK(BM_ListFileWrite100k)->Unit(benchmark::kMillisecond);

void BM_ListFileFwrite100k(benchmark::State& state) {
    const std::filesystem::path path = ListFilePath();
    const qv::Bytes text = MakePaths(100000).EncodeText();
    for (auto _ : state) WriteWithStdio(path, text);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ListFileFwrite100k)->Unit(benchmark::kMillisecond);

}  // namespace
