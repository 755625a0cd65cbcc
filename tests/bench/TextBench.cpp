// Path scans run for every file the browser lists and every list entry: they
// must stay linear and allocation-light on long double-byte paths.
#include "base/AnsiText.h"
#include "base/DirSep.h"
#include "imaging/ExtensionTest.h"

#include <benchmark/benchmark.h>

namespace {

std::string LongKanjiPath(int folders) {
    std::string path = "C:";
    for (int i = 0; i < folders; ++i)
        path += "\\\x95\x5C\x8E\x86\x83\x41";
    return path + "\\photo.bmp";
}

std::wstring LongWidePath(int folders) {
    std::wstring path = L"C:";
    for (int i = 0; i < folders; ++i)
        path += L"\\\u8868\u58c1\u30a2";
    return path + L"\\photo.bmp";
}

void BM_IsPlainBitmap(benchmark::State& state) {
    const std::wstring path = LongWidePath(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(pelmira::IsPlainBitmap(path));
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(path.size() * sizeof(wchar_t)));
}
BENCHMARK(BM_IsPlainBitmap)->Arg(4)->Arg(32);

void BM_AnsiUpperCase(benchmark::State& state) {
    const std::string path = LongKanjiPath(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(pelmira::AnsiUpperCase(path));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(path.size()));
}
BENCHMARK(BM_AnsiUpperCase)->Arg(4)->Arg(32);

void BM_FileNamePart(benchmark::State& state) {
    const std::wstring path = LongWidePath(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(pelmira::FileNamePart(path));
}
BENCHMARK(BM_FileNamePart)->Arg(4)->Arg(32);

} // namespace
