// The list of the four most recently used project files.
//
// The list lives only in the user's settings store (application
// "Orvane DNV", section "Recent Files", keys "RecentFile1", most recent, to
// "RecentFile4"); the File menu shows it in five items, a separator and four
// paths. The updates compare a path with what the menu shows, not with the
// store, and compare exactly (case-sensitive), so a list edited elsewhere or a
// save under a listed name can leave a path in it twice; that is how the list
// has always behaved and users' lists depend on it.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

namespace orvane {

inline constexpr const char* kSettingsApplication = "Orvane DNV";
inline constexpr const char* kRecentSection = "Recent Files";
inline constexpr int kRecentCount = 4;

// "RecentFile1" .. "RecentFile4".
std::string recentKey(int k);

// The "Recent Files" section of the settings store. A key that was never
// written reads as "".
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string get(const std::string& key) const = 0;
  virtual void set(const std::string& key, const std::string& value) = 0;
  // The keys present in the section, in the store's order.
  virtual std::vector<std::string> keys() const = 0;
};

// A store held in memory; keys come back sorted, as the desktop settings
// list them.
class MemorySettingsStore final : public SettingsStore {
 public:
  std::string get(const std::string& key) const override;
  void set(const std::string& key, const std::string& value) override;
  std::vector<std::string> keys() const override;

 private:
  std::map<std::string, std::string> values_;
};

// What the recent-file part of the File menu shows. Item 0 is the separator,
// items 1 to 4 carry "<n>. <path>". Items are shown once the list has an
// entry and never hidden again, so the window mirrors this state as it is.
struct RecentMenu {
  static constexpr int kItems = kRecentCount + 1;
  std::array<bool, kItems> visible{};
  std::array<std::string, kItems> caption{};

  // The path item `item` (1..4) shows: its caption without the first three
  // characters (the numbering).
  std::string path(int item) const;
};

// Shows the stored list: nothing changes while "RecentFile1" is empty.
void refreshRecentMenu(const SettingsStore& store, RecentMenu& menu);

// After a project other than the current one was opened: a path the menu
// shows moves to the top, a new one pushes the others down and the fourth
// falls off.
void addRecentOpened(SettingsStore& store, const RecentMenu& menu, const std::string& path);

// After a save under a new name: the path goes on top without looking
// whether it is listed already.
void addRecentSaved(SettingsStore& store, const std::string& path);

// After recent item `item` (1..4) was chosen: it moves to the top.
void promoteRecent(SettingsStore& store, const std::string& path, int item);

// The list as the File menu operations use it: the store, the menu that shows
// it, and the rule of each operation for when the list changes.
class RecentFiles {
 public:
  explicit RecentFiles(SettingsStore& store) : store_(store) {}

  const RecentMenu& menu() const { return menu_; }
  void refresh() { refreshRecentMenu(store_, menu_); }

  // File > Open of `path` while the project's file name is `current`:
  // opening the project already open leaves the list alone.
  void opened(const std::string& path, const std::string& current);
  // Any save to `path`, `before` being the file name before the save. Save
  // of a named project writes to its own name and leaves the list alone;
  // an untitled Save and a Save As under another name put `path` on top.
  void saved(const std::string& path, const std::string& before);
  // Recent item `item` (1..4) chosen while the file name is `current`;
  // returns the path to read.
  std::string chosen(int item, const std::string& current);

 private:
  SettingsStore& store_;
  RecentMenu menu_;
};

// The folder the file dialogs start in after a recent file was opened: the
// path less its last four characters (".cys"), cut back to the last
// separator, which is kept ("C:\a\b.cys" gives "C:\a\"). Both '\' and '/'
// count as separators; "" when there is none.
std::string recentFolder(const std::string& path);

}  // namespace orvane
