// The one place where the program shows a message box.
//
// Every warning of the window goes through MessageBox::warn. The program
// shows a modal box with the exclamation icon, the application's title and
// one OK button; tests install a recorder instead, which keeps the texts and
// shows nothing.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace orvane::ui {

inline constexpr const char* kAppTitle = "Orvane DNV";

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void exclamation(QWidget* parent, const QString& text) = 0;
};

class MessageBox final {
 public:
  static void warn(QWidget* parent, const QString& text);
  // Replaces the real boxes (nullptr restores them); the sink is not owned.
  static void setSink(MessageSink* sink);

  MessageBox() = delete;
};

// Keeps every text shown; `onShow` lets a test act while the "box" is open,
// as a user would before pressing OK.
class RecordingMessages final : public MessageSink {
 public:
  void exclamation(QWidget* parent, const QString& text) override;
  QStringList texts;
  std::function<void(const QString&)> onShow;
};

}  // namespace orvane::ui
