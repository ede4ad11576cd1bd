// Out of memory: each allocation that an operation makes is made to fail in turn. The operation
// then either fails with code 7 and leaves the tables exactly as they were, or it still succeeds
// (reads fall back to work without memory) with the answer that it gives with memory; either way
// the tables then read as their literal models do.
//
// This program replaces the global allocation functions, so it runs on its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "tables/tests/TableState.h"

static long allocationsLeft = -1;  // before every further allocation fails; negative: none fails
static bool refused = false;       // whether an allocation failed

// The array forms are left to the library: the tables do not use them.
void* operator new(std::size_t size) {
  refused = refused || allocationsLeft == 0;
  void* memory = allocationsLeft == 0 ? nullptr : std::malloc(size == 0 ? 1 : size);
  if (allocationsLeft > 0) --allocationsLeft;
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
// Not inlined, for GCC would then see memory from operator new go to std::free.
[[gnu::noinline]] void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  operator delete(memory);
}

namespace tarvex {
namespace {

using testing::StateOf;

// Long (beyond any short-string buffer) and non-ASCII, so that its key is allocated apart.
std::string LongName(int i) {
  return "\u00C9p\u00E9e de la lune num\u00E9ro " + std::to_string(i % 7) + " \U0001F600";
}

// The tables beside their literal models.
struct Tables {
  clsStat stats;
  clsItem items;
  literal::LiteralTable statModel;
  literal::LiteralTable itemModel;
  literal::LiteralRows rows;
  // 16 entries and rows, so that the next add grows the storage. The first twelve are read, so
  // that the adds after them keep the look-up by identifier up to date; the last four are not,
  // so a read has to sort them in first. Then `sorts` [0, 2] stat sorts, by identifier and then
  // by name, which leave the look-up by identifier to be built anew.
  explicit Tables(int sorts) {
    for (int i = 0; i < 16; ++i) {
      if (i == 12) {
        stats.FindStatIndexByID(0);
        items.FindItemIndex("");
        items.NumMods(0, 0);
      }
      stats.AddStat(i % 5, LongName(i));
      items.AddItem(i % 5, LongName(i));
      items.AddMinStat(i % 3, i, -i);
      items.AddMod(i % 3, i, i % 2, i);
      statModel.Add(i % 5, LongName(i));
      itemModel.Add(i % 5, LongName(i));
      rows.minStats.push_back({i % 3, i, 0, -i});
      rows.mods.push_back({i % 3, i, i % 2, i});
    }
    for (int i = 0; i < sorts; ++i) {
      stats.Sort(i == 0);
      statModel.Sort(i == 0);
    }
  }
  // Both tables as they read, then as their models read, with the look-ups of every stat.
  std::pair<std::string, std::string> States() const {
    std::string state = StateOf(stats) + StateOf(items);
    std::string modelState = StateOf(statModel) + StateOf(itemModel, &rows);
    for (std::int32_t at = 1; at <= statModel.Count(); ++at) {
      const auto [id, name, upper] = *statModel.At(at);
      state += std::to_string(stats.FindStatIndexByID(id) * 100 + stats.FindStatIndex(name)) + " ";
      modelState +=
          std::to_string(statModel.FindIndexById(id) * 100 + statModel.FindIndex(name)) + " ";
    }
    return {state, modelState};
  }
};

// What a read gave, kept without allocating so that only the tables' own allocations fail.
using Answer = std::variant<std::int32_t, std::string, StatPairs>;

struct Operation {
  const char* name;
  std::function<void(Tables&)> run;
  std::function<void(Tables&)> model = [](Tables&) {};  // the same change of the models
};

TEST(OutOfMemory, FailsWithCodeSevenAndChangesNothing) {
  const std::string added = LongName(3);
  Answer out;
  const std::vector<Operation> operations{
      {"AddStat", [&](Tables& t) { t.stats.AddStat(9, added); },
       [&](Tables& t) { t.statModel.Add(9, added); }},
      {"AddItem", [&](Tables& t) { t.items.AddItem(9, added); },
       [&](Tables& t) { t.itemModel.Add(9, added); }},
      {"AddMinStat", [&](Tables& t) { t.items.AddMinStat(1, 2, 3); },
       [&](Tables& t) {
         t.rows.minStats.push_back({1, 2, 0, 3});
       }},
      {"AddMod", [&](Tables& t) { t.items.AddMod(1, 2, 0, 4); },
       [&](Tables& t) {
         t.rows.mods.push_back({1, 2, 0, 4});
       }},
      {"Stat", [&](Tables& t) { out = t.stats.Stat(3); }},
      {"Item", [&](Tables& t) { out = t.items.Item(3); }},
      {"FindStatID", [&](Tables& t) { out = t.stats.FindStatID(added); }},
      {"FindItemIndex", [&](Tables& t) { out = t.items.FindItemIndex(added); }},
      {"FindStatIndex", [&](Tables& t) { out = t.stats.FindStatIndex(added); }},
      {"FindStatIndexByID", [&](Tables& t) { out = t.stats.FindStatIndexByID(2); }},
      {"MinStats", [&](Tables& t) { out = t.items.MinStats(1); }},
      {"Mods", [&](Tables& t) { out = t.items.Mods(1, 0); }},
      {"NumMinStats", [&](Tables& t) { out = t.items.NumMinStats(1); }},
      {"NumMods", [&](Tables& t) { out = t.items.NumMods(2, 1); }},
  };
  for (const auto& [name, run, model] : operations) {
    for (const int sorts : {0, 1, 2}) {
      Tables untouched(sorts);
      out = 0;
      run(untouched);
      const Answer expected = out;
      for (long allowed = 0;; ++allowed) {
        Tables starved(sorts);
        std::int32_t code = 0;
        out = 0;
        refused = false;
        allocationsLeft = allowed;
        try {
          run(starved);
        } catch (const TableError& error) {
          code = error.code();
        } catch (...) {
          code = -1;  // anything else is a fault
        }
        allocationsLeft = -1;
        const std::string which = std::string(name) + " after " + std::to_string(sorts) +
                                  " sorts, allocation " + std::to_string(allowed);
        if (code == 0) {
          EXPECT_TRUE(out == expected) << which;
          model(starved);
        } else {
          EXPECT_EQ(code, 7) << which;
        }
        const auto [state, modelState] = starved.States();
        EXPECT_EQ(state, modelState) << which;
        if (!refused) break;
      }
    }
  }
}

}  // namespace
}  // namespace tarvex
