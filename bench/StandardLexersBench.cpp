// Throughput of the standard edit-field lexers against std::regex doing the same work, on a few
// megabytes of numbers, words and expressions separated by spaces:
//   Scan: split the whole text into longest-match tokens (a byte that starts none is passed over);
//         std::regex uses POSIX leftmost-longest matching anchored at each position.
//   Validate: check each space-separated field as one would an edit field's text.
#include "FWStandardLexers.h"
#include "RELexer.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr size_t kTextBytes = 3 << 20;

// Prefix closures of the lexers' languages (letters fold case), in POSIX extended syntax.
const std::string kNumber =
    "([0-9]+|([0-9]+\\.|[0-9]+,[0-9]*|[0-9]*\\.[0-9]+|,[0-9]+)([eE][+-]?[0-9]+)?|[0-9]+[eE][+-]?[0-9]+)";
const std::string kNumberPrefix = "([0-9]*([.,][0-9]*)?|([0-9]+([.,][0-9]*)?|[.,][0-9]+)[eE][+-]?[0-9]*)";
const std::string kItem = "(@([-+*/^]?" + kNumber + "%?|[#!$])?)";
const std::string kItemPrefix = "(@([-+*/^]?" + kNumberPrefix + "|[-+*/^]?" + kNumber + "%|[#!$]))?";
const std::string kSignedReal = "[+-]?" + kNumberPrefix;
const std::string kSignedRealOrExpression = kSignedReal + "|(" + kItem + ";)*" + kItemPrefix;

struct Workload {
    int type;
    bool allowExpression;
    const std::string* pattern;
};
const Workload kWorkloads[] = {
    {3, false, &kSignedReal},
    {3, true, &kSignedRealOrExpression},
};

const std::string& text()
{
    static const std::string sText = [] {
        static const char* const kWords[] = {"on", "off", "Hello", "value", "x", "ON", "total", "e"};
        uint32_t state = 7;
        auto next = [&](uint32_t below) {
            state = state * 1664525u + 1013904223u;
            return (state >> 8) % below;
        };
        auto digits = [&] {
            std::string s;
            for (uint32_t n = 1 + next(5); n > 0; --n)
                s += char('0' + next(10));
            return s;
        };
        std::string s;
        while (s.size() < kTextBytes) {
            switch (next(6)) {
            case 0:
                s += digits();
                break;
            case 1:
                s += next(2) ? "-" : "";
                s += digits();
                s += '.';
                s += digits();
                break;
            case 2:
                s += digits();
                s += ',';
                s += digits();
                s += next(2) ? "e+" : "E-";
                s += digits();
                break;
            case 3:
                s += next(2) ? "@*" : "@";
                s += digits();
                s += next(2) ? "%;@#" : ";@#";
                break;
            default:
                s += kWords[next(8)];
                break;
            }
            s += ' ';
        }
        return s;
    }();
    return sText;
}

std::vector<std::pair<size_t, size_t>> fields()
{
    std::vector<std::pair<size_t, size_t>> list;
    const std::string& s = text();
    for (size_t at = 0; at < s.size();) {
        size_t end = s.find(' ', at);
        if (end == std::string::npos)
            end = s.size();
        list.push_back({at, end - at});
        at = end + 1;
    }
    return list;
}

size_t lexerScan(RELexer& lexer, const std::string& s)
{
    size_t tokens = 0;
    lexer.LexString(s.data(), s.size());
    for (int16_t id; (id = lexer.GetNextToken(nullptr, false)) != RELexer::kEndOfText;)
        tokens += id == 1 ? 1 : 0;
    return tokens;
}

size_t regexScan(const std::regex& re, const std::string& s)
{
    size_t tokens = 0;
    std::smatch match;
    for (auto at = s.begin(); at != s.end();) {
        size_t length = 0;
        if (std::regex_search(at, s.end(), match, re, std::regex_constants::match_continuous))
            length = size_t(match.length(0));
        if (length > 0) {
            ++tokens;
            at += std::ptrdiff_t(length);
        } else {
            ++at;
        }
    }
    return tokens;
}

std::regex posixRegex(const Workload& w)
{
    return std::regex(*w.pattern, std::regex::extended | std::regex::icase | std::regex::optimize);
}

void BM_LexerScan(benchmark::State& state)
{
    const Workload& w = kWorkloads[state.range(0)];
    RELexer& lexer = *FWGetLexerForType(w.type, w.allowExpression);
    const std::string& s = text();
    // The same tokens as std::regex finds, on a sample.
    const std::string sample = s.substr(0, 20000);
    if (lexerScan(lexer, sample) != regexScan(posixRegex(w), sample)) {
        state.SkipWithError("the lexer and std::regex disagree");
        return;
    }
    size_t tokens = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(tokens = lexerScan(lexer, s));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.size()));
    state.counters["tokens"] = double(tokens);
}

void BM_RegexScan(benchmark::State& state)
{
    std::regex re = posixRegex(kWorkloads[state.range(0)]);
    const std::string& s = text();
    size_t tokens = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(tokens = regexScan(re, s));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.size()));
    state.counters["tokens"] = double(tokens);
}

void BM_LexerValidate(benchmark::State& state)
{
    const Workload& w = kWorkloads[state.range(0)];
    RELexer& lexer = *FWGetLexerForType(w.type, w.allowExpression);
    const std::string& s = text();
    const auto list = fields();
    size_t accepted = 0;
    for (auto _ : state) {
        accepted = 0;
        for (auto [at, length] : list)
            accepted += lexer.AcceptsOneToken(s.data() + at, length) ? 1 : 0;
        benchmark::DoNotOptimize(accepted);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.size()));
    state.counters["accepted"] = double(accepted);
}

void BM_RegexValidate(benchmark::State& state)
{
    const Workload& w = kWorkloads[state.range(0)];
    std::regex re(*w.pattern, std::regex::ECMAScript | std::regex::icase | std::regex::optimize);
    const std::string& s = text();
    const auto list = fields();
    size_t accepted = 0;
    for (auto _ : state) {
        accepted = 0;
        for (auto [at, length] : list)
            accepted += std::regex_match(s.begin() + std::ptrdiff_t(at), s.begin() + std::ptrdiff_t(at + length), re);
        benchmark::DoNotOptimize(accepted);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.size()));
    state.counters["accepted"] = double(accepted);
}

} // namespace

BENCHMARK(BM_LexerScan)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegexScan)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LexerValidate)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegexValidate)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
