#include "files/recent_files.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orvane {
namespace {

using Paths = std::vector<std::string>;

// The stored list RecentFile1..4; a key never written shows as "-".
Paths stored(const SettingsStore& s) {
  Paths out;
  for (int k = 1; k <= kRecentCount; ++k) {
    const Paths keys = s.keys();
    const bool present = std::ranges::find(keys, recentKey(k)) != keys.end();
    out.push_back(present ? s.get(recentKey(k)) : "-");
  }
  return out;
}

// The four path items of the menu; a hidden one shows as "-".
Paths captions(const RecentMenu& menu) {
  Paths out;
  for (int i = 1; i < RecentMenu::kItems; ++i)
    out.push_back(menu.visible[i] ? menu.caption[i] : "-");
  return out;
}

// What the menu shows for a stored list: "<n>. <path>" for each key present.
Paths numbered(const Paths& list) {
  Paths out;
  for (size_t i = 0; i < list.size(); ++i) {
    out.push_back(list[i] == "-" ? "-" : std::to_string(i + 1) + ". " + list[i]);
  }
  return out;
}

void fill(SettingsStore& store, const Paths& paths) {
  for (size_t i = 0; i < paths.size(); ++i) store.set(recentKey(static_cast<int>(i) + 1), paths[i]);
}

TEST(RecentMenu, ShowsTheStoredListOnceItHasAFirstEntry) {
  MemorySettingsStore store;
  RecentMenu menu;
  fill(store, {"", "C:\\b.cys"});
  refreshRecentMenu(store, menu);
  EXPECT_FALSE(menu.visible[0]);
  EXPECT_EQ(captions(menu), (Paths{"-", "-", "-", "-"}));

  fill(store, {"C:\\a.cys", "D:\\work\\b c.cys", "c"});
  refreshRecentMenu(store, menu);
  EXPECT_TRUE(menu.visible[0]);
  EXPECT_EQ(captions(menu), (Paths{"1. C:\\a.cys", "2. D:\\work\\b c.cys", "3. c", "-"}));
  EXPECT_EQ(menu.path(2), "D:\\work\\b c.cys");

  // items stay once shown, with what they showed
  MemorySettingsStore shorter;
  fill(shorter, {"z"});
  refreshRecentMenu(shorter, menu);
  EXPECT_EQ(captions(menu), (Paths{"1. z", "2. D:\\work\\b c.cys", "3. c", "-"}));
}

// Each File menu operation on a stored list that the menu showed before:
// the list it stores, the menu it then shows and, for a chosen item, the path
// to read.
TEST(RecentFiles, OperationsStoreAndShowTheNewList) {
  struct Case {
    const char* what;
    Paths start;
    char op;  // 'o' opened(path, current), 's' saved(path, current), 'c' chosen(item, current)
    std::string path;  // the item number for 'c'
    std::string current;
    Paths want;
  };
  const Paths kFour{"a", "b", "c", "d"};
  const Case cases[] = {
      {"untitled save goes on top", {}, 's', "n", "New File", {"n", "-", "-", "-"}},
      {"save under its own name", {"a", "b", "c"}, 's', "b", "b", {"a", "b", "c", "-"}},
      {"save as a listed name lists it twice", kFour, 's', "b", "a", {"b", "a", "b", "c"}},
      // "" is not moved, so "c" is copied down and also stays where it was
      {"save skips empty entries", {"a", "", "c"}, 's', "n", "x", {"n", "a", "c", "c"}},
      {"open first", kFour, 'o', "a", "x", kFour},
      {"open second", kFour, 'o', "b", "x", {"b", "a", "c", "d"}},
      {"open third", kFour, 'o', "c", "x", {"c", "a", "b", "d"}},
      {"open fourth", kFour, 'o', "d", "x", {"d", "a", "b", "c"}},
      {"open unlisted drops the fourth", kFour, 'o', "e", "a", {"e", "a", "b", "c"}},
      {"open unlisted writes no empty keys", {"a"}, 'o', "e", "x", {"e", "a", "-", "-"}},
      {"open the open project", {"a", "b"}, 'o', "b", "b", {"a", "b", "-", "-"}},
      {"paths compare exactly", {"A.cys", "b"}, 'o', "a.cys", "b", {"a.cys", "A.cys", "b", "-"}},
      {"choose fourth", kFour, 'c', "4", "a", {"d", "a", "b", "c"}},
      {"choose third", kFour, 'c', "3", "d", {"c", "a", "b", "d"}},
      {"choose the open project", kFour, 'c', "2", "b", kFour}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemorySettingsStore store;
    fill(store, c.start);
    RecentFiles recent(store);
    recent.refresh();
    if (c.op == 'o') recent.opened(c.path, c.current);
    if (c.op == 's') recent.saved(c.path, c.current);
    if (c.op == 'c') {
      const int item = std::stoi(c.path);
      EXPECT_EQ(recent.chosen(item, c.current), c.start[static_cast<size_t>(item - 1)]);
    }
    EXPECT_EQ(stored(store), c.want);
    EXPECT_EQ(captions(recent.menu()), numbered(c.want));
  }
}

TEST(RecentFiles, OpeningComparesWithTheMenuNotTheStore) {
  MemorySettingsStore store;
  fill(store, {"a", "b"});
  RecentFiles recent(store);
  recent.refresh();
  fill(store, {"x", "y"});  // another instance rewrote the list since
  recent.opened("b", "none");
  EXPECT_EQ(stored(store), (Paths{"b", "x", "-", "-"}));
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
