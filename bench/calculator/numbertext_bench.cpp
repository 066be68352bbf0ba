// parseNumber and renderNumber beside the C library's conversions on the same inputs:
// strtod for parsing, snprintf("%.15G") plus separator replacement for rendering. Each
// benchmark handles the whole input set once per iteration; items per second count numbers.
// Parse/LongText shows that parsing grows linearly with the length of the text.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

#include "calculator/numbertext.h"

namespace {

// What people type: whole numbers, decimals, negatives, exponents, long fractions.
const std::vector<std::string> kEntries = {
    "2",
    "3",
    "-3.25",
    "1615.5",
    "0.333333333333333",
    "42",
    "1.5E3",
    "123456789.123456",
    "-0.0001",
    "6.02214076e23",
    "99.9",
    "7",
    "2.5",
    "1e-300",
    "314159.265358979",
    "-17",
    "0.1",
    "100000000000000",
    "12.75",
    "-8.5e-7",
};

// What the calculator shows: averages of such numbers, with up to 15 significant digits.
const std::vector<double> kValues = {
    2.5,
    1.0 / 3,
    2.0 / 3,
    1615.5,
    -0.25,
    3,
    100000000000000.0,
    1e15,
    1.23456789012346e15,
    1e-5,
    0.0001234,
    123456.789,
    -42,
    6.02214076e23,
    99.9,
    1.0 / 7,
    -1615.123456,
    0.1 + 0.2,
    1e300,
    5e-324,
};

constexpr std::string_view kSeparator = ",";

void parseEntries(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& entry : kEntries) {
            benchmark::DoNotOptimize(calculator::parseNumber(entry, kSeparator));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kEntries.size()));
}
BENCHMARK(parseEntries)->Name("Parse/Entries/parseNumber");

void strtodEntries(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& entry : kEntries) {
            benchmark::DoNotOptimize(std::strtod(entry.c_str(), nullptr));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kEntries.size()));
}
BENCHMARK(strtodEntries)->Name("Parse/Entries/strtod");

// A text of the given size: "1." and then digits, read to the end by both parsers.
std::string longText(std::size_t size) {
    std::string text = "1.";
    while (text.size() < size) {
        text += "2345678901";
    }
    text.resize(size);
    return text;
}

void parseLongText(benchmark::State& state) {
    const std::string text = longText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(calculator::parseNumber(text, kSeparator));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(parseLongText)
    ->Name("Parse/LongText/parseNumber")
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMillisecond);

void strtodLongText(benchmark::State& state) {
    const std::string text = longText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::strtod(text.c_str(), nullptr));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(strtodLongText)
    ->Name("Parse/LongText/strtod")
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMillisecond);

void renderValues(benchmark::State& state) {
    for (auto _ : state) {
        for (const double value : kValues) {
            benchmark::DoNotOptimize(calculator::renderNumber(value, kSeparator));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kValues.size()));
}
BENCHMARK(renderValues)->Name("Render/Values/renderNumber");

// The C library's way to the same text: "%.15G" writes the C locale's full stop, which is
// then replaced by the separator.
std::string snprintfRender(double value, std::string_view separator) {
    char buffer[40];
    const int length = std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text;
    for (const char c : std::string_view(buffer, static_cast<std::size_t>(length))) {
        if (c == '.') {
            text += separator;
        } else {
            text += c;
        }
    }
    return text;
}

void snprintfValues(benchmark::State& state) {
    for (auto _ : state) {
        for (const double value : kValues) {
            benchmark::DoNotOptimize(snprintfRender(value, kSeparator));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kValues.size()));
}
BENCHMARK(snprintfValues)->Name("Render/Values/snprintf");

}  // namespace
