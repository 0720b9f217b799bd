#include "ui/main/settings_store.hpp"

namespace orvane::ui {

namespace {
QString sectionKey(const std::string& key) {
  return QString::fromUtf8(kRecentSection) + QLatin1Char('/') + QString::fromStdString(key);
}
}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QString::fromUtf8(kSettingsApplication),
                                            QString::fromUtf8(kSettingsApplication))) {}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

std::string QtSettingsStore::get(const std::string& key) const {
  return settings_->value(sectionKey(key), QString()).toString().toStdString();
}

void QtSettingsStore::set(const std::string& key, const std::string& value) {
  settings_->setValue(sectionKey(key), QString::fromStdString(value));
  settings_->sync();
}

std::vector<std::string> QtSettingsStore::keys() const {
  settings_->beginGroup(QString::fromUtf8(kRecentSection));
  const QStringList names = settings_->childKeys();
  settings_->endGroup();
  std::vector<std::string> out;
  for (const QString& n : names) out.push_back(n.toStdString());
  return out;
}

}  // namespace orvane::ui
