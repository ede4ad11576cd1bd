// Out of memory: each allocation that an operation makes is made to fail in turn. The operation
// then either fails with code 7 and leaves the tables exactly as they were, or it still succeeds
// (reads fall back to work without memory) with the answer that it gives with memory.
//
// This program replaces the global allocation functions, so it runs on its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
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

struct Tables {
  clsStat stats;
  clsItem items;
  // 16 entries and rows, so that the next add grows the storage. Nothing is read, so a read has
  // to sort in the adds and build its index first.
  explicit Tables(bool byId) {
    for (int i = 0; i < 16; ++i) {
      stats.AddStat(i % 5, LongName(i));
      items.AddItem(i % 5, LongName(i));
      items.AddMinStat(i % 3, i, -i);
      items.AddMod(i % 3, i, i % 2, i);
    }
    if (byId) stats.Sort(true);
  }
};

// What a read gave, kept without allocating so that only the tables' own allocations fail.
using Answer = std::variant<std::int32_t, std::string, StatPairs>;

TEST(OutOfMemory, FailsWithCodeSevenAndChangesNothing) {
  const std::string added = LongName(3);
  Answer out;
  const std::vector<std::pair<const char*, std::function<void(Tables&)>>> operations{
      {"AddStat", [&](Tables& t) { t.stats.AddStat(9, added); }},
      {"AddItem", [&](Tables& t) { t.items.AddItem(9, added); }},
      {"AddMinStat", [&](Tables& t) { t.items.AddMinStat(1, 2, 3); }},
      {"AddMod", [&](Tables& t) { t.items.AddMod(1, 2, 0, 4); }},
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
  for (const auto& [name, run] : operations) {
    for (const bool byId : {false, true}) {
      Tables untouched(byId);
      const std::string before = StateOf(untouched.stats) + StateOf(untouched.items);
      out = 0;
      run(untouched);
      const Answer expected = out;
      for (long allowed = 0;; ++allowed) {
        Tables starved(byId);
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
        const std::string which =
            std::string(name) + (byId ? " by id" : "") + ", allocation " + std::to_string(allowed);
        if (code == 0) {
          EXPECT_TRUE(out == expected) << which;
        } else {
          EXPECT_EQ(code, 7) << which;
          EXPECT_EQ(StateOf(starved.stats) + StateOf(starved.items), before) << which;
        }
        if (!refused) break;
      }
    }
  }
}

}  // namespace
}  // namespace tarvex
