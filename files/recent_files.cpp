#include "files/recent_files.hpp"

#include <algorithm>

namespace orvane {

std::string recentKey(int k) { return "RecentFile" + std::to_string(k); }

std::string MemorySettingsStore::get(const std::string& key) const {
  const auto it = values_.find(key);
  return it == values_.end() ? std::string() : it->second;
}

void MemorySettingsStore::set(const std::string& key, const std::string& value) {
  values_[key] = value;
}

std::vector<std::string> MemorySettingsStore::keys() const {
  std::vector<std::string> out;
  out.reserve(values_.size());
  for (const auto& [key, value] : values_) out.push_back(key);
  return out;
}

std::string RecentMenu::path(int item) const {
  const std::string& c = caption.at(static_cast<size_t>(item));
  return c.size() >= 3 ? c.substr(3) : std::string();
}

void refreshRecentMenu(const SettingsStore& store, RecentMenu& menu) {
  if (store.get(recentKey(1)).empty()) return;
  const std::vector<std::string> keys = store.keys();
  // The menu has four path items; anything else in the section stays unseen.
  const size_t shown = std::min(keys.size(), static_cast<size_t>(kRecentCount));
  for (size_t i = 0; i < shown; ++i) {
    menu.visible[0] = true;
    menu.caption[i + 1] = std::to_string(i + 1) + ". " + store.get(keys[i]);
    menu.visible[i + 1] = true;
  }
}

namespace {

// RecentFile k+1 := RecentFile k for k = from down to 1, then RecentFile1 := path.
void pushDownFrom(SettingsStore& store, int from, const std::string& path) {
  for (int k = from; k >= 1; --k) store.set(recentKey(k + 1), store.get(recentKey(k)));
  store.set(recentKey(1), path);
}

// As pushDownFrom(3), but an empty entry is not moved: the entry below it
// keeps its value.
void pushDownNonEmpty(SettingsStore& store, const std::string& path) {
  for (int k = kRecentCount - 1; k >= 1; --k) {
    const std::string value = store.get(recentKey(k));
    if (!value.empty()) store.set(recentKey(k + 1), value);
  }
  store.set(recentKey(1), path);
}

}  // namespace

void addRecentOpened(SettingsStore& store, const RecentMenu& menu, const std::string& path) {
  for (int item = 1; item <= kRecentCount; ++item) {
    if (menu.path(item) == path) {
      pushDownFrom(store, item - 1, path);
      return;
    }
  }
  pushDownNonEmpty(store, path);
}

void addRecentSaved(SettingsStore& store, const std::string& path) {
  pushDownNonEmpty(store, path);
}

void promoteRecent(SettingsStore& store, const std::string& path, int item) {
  if (item < 1 || item > kRecentCount) return;
  pushDownFrom(store, item - 1, path);
}

void RecentFiles::opened(const std::string& path, const std::string& current) {
  if (path == current) return;
  addRecentOpened(store_, menu_, path);
  refresh();
}

void RecentFiles::saved(const std::string& path, const std::string& before) {
  if (path == before) return;
  addRecentSaved(store_, path);
  refresh();
}

std::string RecentFiles::chosen(int item, const std::string& current) {
  const std::string path = menu_.path(item);
  if (path != current) {
    promoteRecent(store_, path, item);
    refresh();
  }
  return path;
}

std::string recentFolder(const std::string& path) {
  if (path.size() <= 4) return std::string();
  std::string folder = path.substr(0, path.size() - 4);
  while (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder.pop_back();
  return folder;
}

}  // namespace orvane
