// Out of memory: every allocation that an operation makes is made to fail in turn; the
// operation then raises code 7 (or, for reads that need no memory to answer, still answers),
// and the table is exactly as it was and stays usable.
//
// This program replaces the global allocation functions, so it runs on its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "tables/clsItem.h"
#include "tables/clsStat.h"
#include "tables/tests/TableState.h"

namespace {

// Allocations left before every further one fails; negative: none fails.
long allocationsLeft = -1;
bool failedOne = false;

void* Allocate(std::size_t size) {
  if (allocationsLeft == 0) {
    failedOne = true;
    throw std::bad_alloc();
  }
  if (allocationsLeft > 0) --allocationsLeft;
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void* AllocateOrNull(std::size_t size) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}

namespace tarvex {
namespace {

using testing::StateOf;

// Runs `call` with the allocations after the first `allowed` failing. Returns the error code
// it raised (0 for none); `failed` tells whether an allocation was refused at all.
std::int32_t RunStarved(long allowed, const std::function<void()>& call, bool& failed) {
  std::int32_t code = 0;
  failedOne = false;
  allocationsLeft = allowed;
  try {
    call();
  } catch (const TableError& error) {
    code = error.code();
  } catch (...) {
    allocationsLeft = -1;  // anything else is the test's own failure; let it through
    throw;
  }
  allocationsLeft = -1;
  failed = failedOne;
  return code;
}

// Long names (beyond any short-string buffer), non-ASCII so that keys differ from names.
std::string LongName(int i) {
  return "\u00C9p\u00E9e de la lune num\u00E9ro " + std::to_string(i) + " \U0001F600";
}

// For tables of 0 to 40 entries (so that every growth of the storage is met), each allocation
// of the next AddStat fails in turn.
TEST(OutOfMemory, AddStatFailsWithCodeSevenAndChangesNothing) {
  for (int size = 0; size <= 40; ++size) {
    for (long allowed = 0;; ++allowed) {
      clsStat table;
      for (int i = 0; i < size; ++i) table.AddStat(i % 5, LongName(size - i));
      if (size % 3 == 0) table.Sort(true);
      const auto before = StateOf(table);
      const std::string added = LongName(-1);
      bool failed = false;
      const std::int32_t code = RunStarved(
          allowed, [&] { table.AddStat(77, added); }, failed);
      if (!failed) {
        ASSERT_EQ(code, 0) << "size " << size;
        EXPECT_EQ(table.NumStats(), size + 1) << "size " << size;
        EXPECT_EQ(table.FindStatID(LongName(-1)), 77) << "size " << size;
        break;
      }
      ASSERT_EQ(code, 7) << "size " << size << ", allocation " << allowed;
      ASSERT_EQ(StateOf(table), before) << "size " << size << ", allocation " << allowed;
      table.AddStat(78, "after");  // still usable
      ASSERT_EQ(table.FindStatID("AFTER"), 78) << "size " << size << ", allocation " << allowed;
    }
  }
}

TEST(OutOfMemory, ItemAddsFailWithCodeSevenAndChangeNothing) {
  const std::vector<std::int32_t> probes{0, 1, 2, 3, 4};
  const std::string added = LongName(9);
  const std::vector<std::pair<const char*, std::function<void(clsItem&)>>> adds{
      {"AddItem", [&](clsItem& table) { table.AddItem(9, added); }},
      {"AddMinStat", [](clsItem& table) { table.AddMinStat(1, 2, 3); }},
      {"AddMod", [](clsItem& table) { table.AddMod(1, 2, 0, 4); }},
  };
  for (const auto& [name, addOne] : adds) {
    const auto& add = addOne;  // a plain reference, for capturing
    for (int size = 0; size <= 40; ++size) {
      for (long allowed = 0;; ++allowed) {
        clsItem table;
        for (int i = 0; i < size; ++i) {
          table.AddItem(i, LongName(i));
          table.AddMinStat(i % 5, i, -i);
          table.AddMod(i % 5, i, i % 3, i);
        }
        const auto before = StateOf(table, probes);
        bool failed = false;
        const std::int32_t code = RunStarved(
            allowed, [&] { add(table); }, failed);
        if (!failed) {
          ASSERT_EQ(code, 0) << name << ", size " << size;
          break;
        }
        ASSERT_EQ(code, 7) << name << ", size " << size << ", allocation " << allowed;
        ASSERT_TRUE(StateOf(table, probes) == before) << name << ", size " << size;
        add(table);  // still usable
      }
    }
  }
}

// Reads that give a number answer without memory: sorting in what was added falls back to
// sorting in place, and look-ups fall back to a scan when their index cannot be built.
TEST(OutOfMemory, NumberReadsAnswerWithoutMemory) {
  clsStat expected;
  clsStat starved;
  clsItem items;
  for (int i = 0; i < 300; ++i) {
    const std::string name = "n" + std::to_string((i * 7919) % 101);
    expected.AddStat(i % 13, name);
    starved.AddStat(i % 13, name);
    items.AddMinStat(i % 13, i, i);
  }
  bool failed = false;
  std::int32_t byId = 0;
  std::int32_t byName = 0;
  std::int32_t afterSort = 0;
  std::int32_t minStats = 0;
  RunStarved(
      0,
      [&] {
        byId = starved.FindStatIndexByID(5);  // sorts in the adds, then needs the identifier index
        starved.Sort(true);
        afterSort = starved.FindStatIndex("N7");  // needs the name index
        starved.Sort(false);
        byName = starved.FindStatIndex("n50");
        minStats = items.NumMinStats(4);
      },
      failed);
  EXPECT_TRUE(failed);
  EXPECT_EQ(byId, expected.FindStatIndexByID(5));
  expected.Sort(true);
  EXPECT_EQ(afterSort, expected.FindStatIndex("n7"));
  expected.Sort(false);
  EXPECT_EQ(byName, expected.FindStatIndex("N50"));
  EXPECT_EQ(StateOf(starved), StateOf(expected));
  EXPECT_EQ(minStats, 23);
}

// Reads that copy out (a long name, the matches of rows) raise code 7 and change nothing.
TEST(OutOfMemory, CopyingReadsFailWithCodeSeven) {
  clsStat stats;
  clsItem items;
  stats.AddStat(1, LongName(1));
  items.AddItem(1, LongName(1));
  items.AddMinStat(1, 2, 3);
  items.AddMod(1, 2, 0, 3);
  const std::string name = LongName(1);
  const std::vector<std::pair<const char*, std::function<void()>>> reads{
      {"Stat", [&] { (void)stats.Stat(1); }},
      {"Item", [&] { (void)items.Item(1); }},
      {"FindStatIndex", [&] { (void)stats.FindStatIndex(name); }},
      {"FindItemID", [&] { (void)items.FindItemID(name); }},
      {"MinStats", [&] { (void)items.MinStats(1); }},
      {"Mods", [&] { (void)items.Mods(1, 0); }},
  };
  for (const auto& [what, read] : reads) {
    bool failed = false;
    EXPECT_EQ(RunStarved(0, read, failed), 7) << what;
    EXPECT_EQ(stats.Stat(1), name) << what;
    EXPECT_EQ(items.Item(1), name) << what;
    EXPECT_EQ(items.MinStats(1).Count(), 1) << what;
  }
}

}  // namespace
}  // namespace tarvex
