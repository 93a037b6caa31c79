// String against std::u16string doing the same work: concatenating short
// pieces, splitting a comma-separated line, joining pieces.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "runtime/lang/gc.h"
#include "runtime/lang/string.h"

namespace {

const char* const kWords[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta"};

// The line that Split and Join work on: 64 fields.
std::u16string line_u16() {
    std::u16string line;
    for (int i = 0; i < 64; ++i) {
        if (i) line += u',';
        for (const char* c = kWords[i % 8]; *c; ++c) line += static_cast<char16_t>(*c);
    }
    return line;
}

// a + b + c of short strings, as text building does.
void BM_StringConcat(benchmark::State& state) {
    String a("Level "), b("12"), c(" complete");
    for (auto _ : state) benchmark::DoNotOptimize(a + b + c);
}
BENCHMARK(BM_StringConcat);

void BM_U16Concat(benchmark::State& state) {
    std::u16string a(u"Level "), b(u"12"), c(u" complete");
    for (auto _ : state) benchmark::DoNotOptimize(a + b + c);
}
BENCHMARK(BM_U16Concat);

void BM_StringSplit(benchmark::State& state) {
    String line(line_u16());
    String comma(",");
    for (auto _ : state) {
        benchmark::DoNotOptimize(line.Split(comma));
        gc_collect();  // the piece arrays are collected objects
    }
}
BENCHMARK(BM_StringSplit);

void BM_U16Split(benchmark::State& state) {
    std::u16string line = line_u16();
    for (auto _ : state) {
        std::vector<std::u16string> pieces;
        size_t start = 0;
        for (size_t at; (at = line.find(u',', start)) != std::u16string::npos; start = at + 1)
            pieces.emplace_back(line, start, at - start);
        pieces.emplace_back(line, start);
        benchmark::DoNotOptimize(pieces);
    }
}
BENCHMARK(BM_U16Split);

void BM_StringJoin(benchmark::State& state) {
    Array<String> pieces = String(line_u16()).Split(String(","));
    String separator(", ");
    for (auto _ : state) benchmark::DoNotOptimize(separator.Join(pieces));
}
BENCHMARK(BM_StringJoin);

void BM_U16Join(benchmark::State& state) {
    std::vector<std::u16string> pieces;
    for (int i = 0; i < 64; ++i) {
        std::u16string word;
        for (const char* c = kWords[i % 8]; *c; ++c) word += static_cast<char16_t>(*c);
        pieces.push_back(word);
    }
    std::u16string separator(u", ");
    for (auto _ : state) {
        size_t total = separator.size() * (pieces.size() - 1);
        for (const auto& piece : pieces) total += piece.size();
        std::u16string out;
        out.reserve(total);
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (i) out += separator;
            out += pieces[i];
        }
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_U16Join);

}  // namespace

BENCHMARK_MAIN();
