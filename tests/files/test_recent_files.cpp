#include "files/recent_files.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

// The stored list RecentFile1..4; a key never written shows as "-".
std::vector<std::string> stored(const SettingsStore& s) {
  std::vector<std::string> out;
  for (int k = 1; k <= kRecentCount; ++k) {
    const std::string key = recentKey(k);
    bool present = false;
    for (const auto& have : s.keys()) present = present || have == key;
    out.push_back(present ? s.get(key) : "-");
  }
  return out;
}

class RecentFilesTest : public testing::Test {
 protected:
  void fill(const std::vector<std::string>& paths) {
    for (size_t i = 0; i < paths.size(); ++i)
      store.set(recentKey(static_cast<int>(i) + 1), paths[i]);
    recent.refresh();
  }
  std::vector<std::string> captions() const {
    std::vector<std::string> out;
    for (int i = 1; i < RecentMenu::kItems; ++i) {
      out.push_back(recent.menu().visible[i] ? recent.menu().caption[i] : "(hidden)");
    }
    return out;
  }

  MemorySettingsStore store;
  RecentFiles recent{store};
};

using Paths = std::vector<std::string>;

TEST_F(RecentFilesTest, EmptyListKeepsTheMenuHidden) {
  recent.refresh();
  for (bool v : recent.menu().visible) EXPECT_FALSE(v);
  store.set("RecentFile1", "");
  store.set("RecentFile2", "C:\\b.cys");
  recent.refresh();
  for (bool v : recent.menu().visible) EXPECT_FALSE(v);
}

TEST_F(RecentFilesTest, MenuNumbersTheStoredPaths) {
  fill({"C:\\a.cys", "D:\\work\\b c.cys"});
  EXPECT_TRUE(recent.menu().visible[0]);
  EXPECT_EQ(captions(), (Paths{"1. C:\\a.cys", "2. D:\\work\\b c.cys", "(hidden)", "(hidden)"}));
  EXPECT_EQ(recent.menu().path(2), "D:\\work\\b c.cys");
}

TEST_F(RecentFilesTest, ItemsStayOnceShown) {
  fill({"a", "b", "c"});
  MemorySettingsStore other;
  other.set("RecentFile1", "z");
  RecentMenu menu = recent.menu();
  refreshRecentMenu(other, menu);
  EXPECT_EQ(menu.caption[1], "1. z");
  EXPECT_TRUE(menu.visible[3]);
  EXPECT_EQ(menu.caption[3], "3. c");
}

TEST_F(RecentFilesTest, UntitledSavePutsThePathOnTop) {
  recent.saved("C:\\p\\new.cys", "New File");
  EXPECT_EQ(stored(store), (Paths{"C:\\p\\new.cys", "-", "-", "-"}));
  EXPECT_EQ(captions()[0], "1. C:\\p\\new.cys");
}

TEST_F(RecentFilesTest, SaveOfANamedProjectLeavesTheList) {
  fill({"a", "b", "c"});
  recent.saved("b", "b");
  EXPECT_EQ(stored(store), (Paths{"a", "b", "c", "-"}));
}

TEST_F(RecentFilesTest, SaveAsUnderAListedNameListsItTwice) {
  fill({"a", "b", "c", "d"});
  recent.saved("b", "a");
  EXPECT_EQ(stored(store), (Paths{"b", "a", "b", "c"}));
  EXPECT_EQ(captions(), (Paths{"1. b", "2. a", "3. b", "4. c"}));

  // over the newest entry after New: shown as first and second entry
  recent.saved("b", "New File");
  EXPECT_EQ(captions(), (Paths{"1. b", "2. b", "3. a", "4. b"}));
}

TEST_F(RecentFilesTest, SaveSkipsEmptyEntriesWhenPushingDown) {
  fill({"a", "", "c"});
  recent.saved("n", "New File");
  // "" is not moved, so "c" is copied down and also stays where it was
  EXPECT_EQ(stored(store), (Paths{"n", "a", "c", "c"}));
}

TEST_F(RecentFilesTest, OpeningTheThirdEntryMovesItOnTop) {
  fill({"a", "b", "c", "d"});
  recent.opened("c", "a");
  EXPECT_EQ(stored(store), (Paths{"c", "a", "b", "d"}));
}

TEST_F(RecentFilesTest, OpeningEachListedEntry) {
  const Paths start{"a", "b", "c", "d"};
  const std::vector<Paths> expected{
      {"a", "b", "c", "d"}, {"b", "a", "c", "d"}, {"c", "a", "b", "d"}, {"d", "a", "b", "c"}};
  for (int k = 0; k < 4; ++k) {
    fill(start);
    recent.opened(start[static_cast<size_t>(k)], "elsewhere");
    EXPECT_EQ(stored(store), expected[static_cast<size_t>(k)]) << start[static_cast<size_t>(k)];
  }
}

TEST_F(RecentFilesTest, OpeningAnUnlistedFileDropsTheFourth) {
  fill({"a", "b", "c", "d"});
  recent.opened("e", "a");
  EXPECT_EQ(stored(store), (Paths{"e", "a", "b", "c"}));

  MemorySettingsStore fresh;
  fresh.set("RecentFile1", "a");
  RecentMenu menu;
  refreshRecentMenu(fresh, menu);
  addRecentOpened(fresh, menu, "e");
  EXPECT_EQ(stored(fresh), (Paths{"e", "a", "-", "-"}));
}

TEST_F(RecentFilesTest, OpeningTheOpenProjectLeavesTheList) {
  fill({"a", "b"});
  recent.opened("b", "b");
  EXPECT_EQ(stored(store), (Paths{"a", "b", "-", "-"}));
}

TEST_F(RecentFilesTest, PathsCompareExactly) {
  fill({"C:\\Work\\a.cys", "b"});
  recent.opened("c:\\work\\a.cys", "b");
  EXPECT_EQ(stored(store), (Paths{"c:\\work\\a.cys", "C:\\Work\\a.cys", "b", "-"}));
}

TEST_F(RecentFilesTest, OpeningComparesWithTheMenuNotTheStore) {
  fill({"a", "b"});
  // another instance rewrote the list since the menu was built
  store.set("RecentFile1", "x");
  store.set("RecentFile2", "y");
  recent.opened("b", "none");
  EXPECT_EQ(stored(store), (Paths{"b", "x", "-", "-"}));
}

TEST_F(RecentFilesTest, ChoosingAnItemPromotesIt) {
  fill({"a", "b", "c", "d"});
  EXPECT_EQ(recent.chosen(4, "a"), "d");
  EXPECT_EQ(stored(store), (Paths{"d", "a", "b", "c"}));
  EXPECT_EQ(captions()[0], "1. d");

  EXPECT_EQ(recent.chosen(1, "d"), "d");  // the open project: no change
  EXPECT_EQ(stored(store), (Paths{"d", "a", "b", "c"}));

  EXPECT_EQ(recent.chosen(3, "d"), "b");
  EXPECT_EQ(stored(store), (Paths{"b", "d", "a", "c"}));
}

TEST(RecentFolder, CutsBackToTheLastSeparator) {
  EXPECT_EQ(recentFolder("C:\\work\\jacket.cys"), "C:\\work\\");
  EXPECT_EQ(recentFolder("/home/u/p.cys"), "/home/u/");
  // the extension is cut off unseen, whatever it is
  EXPECT_EQ(recentFolder("C:\\ab\\c"), "C:\\");
  EXPECT_EQ(recentFolder("a.cys"), "");
  EXPECT_EQ(recentFolder(""), "");
}

}  // namespace
}  // namespace orvane
