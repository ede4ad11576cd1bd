// How the tables scale: a million adds and a read against one stable sort of the same names,
// a read after every add against adds and one read, row look-ups, and the literal model
// (re-sorting by bubble sort after every add) for scale.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tables/clsItem.h"
#include "tables/clsStat.h"
#include "tables/tests/LiteralModel.h"

namespace tarvex {
namespace {

// Names of 6 to 14 letters, digits, blanks and underscores, in mixed case; fixed seed.
const std::vector<std::string>& Names(std::size_t count) {
  static std::vector<std::string> names;
  if (names.size() < count) {
    std::mt19937 random(20240611);
    constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_ ";
    std::uniform_int_distribution<int> length(6, 14);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kChars) - 2);
    names.clear();
    for (std::size_t i = 0; i < count; ++i) {
      std::string name(static_cast<std::size_t>(length(random)), ' ');
      for (char& c : name) c = kChars[pick(random)];
      names.push_back(std::move(name));
    }
  }
  return names;
}

void StableSortNames(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const std::vector<std::string> names(Names(count).begin(), Names(count).begin() + count);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> copy = names;
    state.ResumeTiming();
    std::stable_sort(copy.begin(), copy.end());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void AddStatThenRead(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const std::vector<std::string>& names = Names(count);
  for (auto _ : state) {
    clsStat table;
    for (std::size_t i = 0; i < count; ++i) table.AddStat(static_cast<std::int32_t>(i), names[i]);
    benchmark::DoNotOptimize(table.Stat(1));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void AddItemThenRead(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const std::vector<std::string>& names = Names(count);
  for (auto _ : state) {
    clsItem table;
    for (std::size_t i = 0; i < count; ++i) table.AddItem(static_cast<std::int32_t>(i), names[i]);
    benchmark::DoNotOptimize(table.Item(1));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A read after every add, as a tool does that adds a stat and shows the table at once: the
// second argument picks the read, 0 a name by position, 1 a look-up by name, 2 one by identifier.
// Against AddStatThenRead with the same count.
void AddStatReadEach(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const std::vector<std::string>& names = Names(count);
  for (auto _ : state) {
    clsStat table;
    for (std::size_t i = 0; i < count; ++i) {
      table.AddStat(static_cast<std::int32_t>(i), names[i]);
      const auto half = static_cast<std::int32_t>(i / 2);
      if (state.range(1) == 0) benchmark::DoNotOptimize(table.Stat(half + 1));
      if (state.range(1) == 1) benchmark::DoNotOptimize(table.FindStatIndex(names[i / 2]));
      if (state.range(1) == 2) benchmark::DoNotOptimize(table.FindStatIndexByID(half));
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Minimum stats of 10,000 items: all rows and then one look-up (second argument 0), or a look-up
// after every row (1).
void AddMinStatsThenRead(benchmark::State& state) {
  const auto count = static_cast<std::int32_t>(state.range(0));
  const bool readEach = state.range(1) != 0;
  for (auto _ : state) {
    clsItem table;
    for (std::int32_t row = 0; row < count; ++row) {
      table.AddMinStat(row * 7919 % 10000, row, row);
      if (readEach) benchmark::DoNotOptimize(table.MinStats(row * 7 % 10000));
    }
    benchmark::DoNotOptimize(table.MinStats(1));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

constexpr std::int32_t kRows = 1000000;
constexpr std::int32_t kLookUps = 10000;

// A million rows over 100,000 items (about ten rows each), then 10,000 look-ups.
void AddMinStatThenLookUps(benchmark::State& state) {
  for (auto _ : state) {
    std::mt19937 random(7);
    clsItem table;
    for (std::int32_t row = 0; row < kRows; ++row) {
      table.AddMinStat(static_cast<std::int32_t>(random() % 100000), row, row);
    }
    std::int64_t matches = 0;
    for (std::int32_t i = 0; i < kLookUps; ++i) {
      matches += table.MinStats(static_cast<std::int32_t>(random() % 100000)).Count();
    }
    benchmark::DoNotOptimize(matches);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

void AddModThenLookUps(benchmark::State& state) {
  for (auto _ : state) {
    std::mt19937 random(7);
    clsItem table;
    for (std::int32_t row = 0; row < kRows; ++row) {
      table.AddMod(static_cast<std::int32_t>(random() % 100000), row,
                   static_cast<std::int32_t>(random() % 3), row);
    }
    std::int64_t matches = 0;
    for (std::int32_t i = 0; i < kLookUps; ++i) {
      matches += table
                     .Mods(static_cast<std::int32_t>(random() % 100000),
                           static_cast<std::int32_t>(random() % 3))
                     .Count();
    }
    benchmark::DoNotOptimize(matches);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

void LiteralAddThenRead(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const std::vector<std::string>& names = Names(count);
  for (auto _ : state) {
    literal::LiteralTable table;
    for (std::size_t i = 0; i < count; ++i) table.Add(static_cast<std::int32_t>(i), names[i]);
    benchmark::DoNotOptimize(table.At(1));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(StableSortNames)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(AddStatThenRead)->Arg(1000000)->Arg(100000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(AddItemThenRead)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(AddStatReadEach)->ArgsProduct({{2000, 100000}, {0, 1, 2}})->Unit(benchmark::kMillisecond);
BENCHMARK(AddMinStatsThenRead)->ArgsProduct({{100000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(AddMinStatThenLookUps)->Unit(benchmark::kMillisecond);
BENCHMARK(AddModThenLookUps)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralAddThenRead)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tarvex

BENCHMARK_MAIN();
