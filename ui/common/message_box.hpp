// The one place where the program shows a message box.
//
// Every warning of the window goes through MessageBox::warn. The program
// shows a modal box with the exclamation icon, the caption of the field it
// is about as its title (the application's title otherwise) and one OK
// button; tests install a recorder instead, which keeps the texts and titles
// and shows nothing.
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
  virtual void exclamation(QWidget* parent, const QString& text, const QString& title) = 0;
};

class MessageBox final {
 public:
  // `title`: the caption of the field the warning is about; empty: the
  // application's title.
  static void warn(QWidget* parent, const QString& text, const QString& title = {});
  // Replaces the real boxes (nullptr restores them); the sink is not owned.
  static void setSink(MessageSink* sink);

  MessageBox() = delete;
};

// Keeps every text shown; `onShow` lets a test act while the "box" is open,
// as a user would before pressing OK.
class RecordingMessages final : public MessageSink {
 public:
  void exclamation(QWidget* parent, const QString& text, const QString& title) override;
  QStringList texts;
  QStringList titles;  // as shown: the application's title when none was given
  std::function<void(const QString&)> onShow;
};

}  // namespace orvane::ui
