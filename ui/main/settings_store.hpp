// The recent-file list's section of the user's settings, over QSettings.
#pragma once

#include <QSettings>
#include <memory>

#include "files/recent_files.hpp"

namespace orvane::ui {

class QtSettingsStore final : public SettingsStore {
 public:
  // The user's settings of "Orvane DNV".
  QtSettingsStore();
  // A settings file of its own (tests).
  explicit QtSettingsStore(const QString& iniFile);

  std::string get(const std::string& key) const override;
  void set(const std::string& key, const std::string& value) override;
  std::vector<std::string> keys() const override;

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace orvane::ui
