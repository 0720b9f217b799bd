// A result picture box (`pic30`, `Pic31`, `pic32`): shows the last drawing
// that a successful calculation gave it, in character units.
#pragma once

#include <QList>
#include <QRectF>
#include <QWidget>
#include <functional>

#include "core/panels.hpp"

namespace orvane::ui {

class ResultPanel final : public QWidget {
  Q_OBJECT
 public:
  using Drawing = std::function<void(DrawTarget&)>;

  explicit ResultPanel(const QString& name, QWidget* parent = nullptr);

  // Replaces the drawing and repaints. The drawing must hold the data it
  // draws: a later failed calculation must not change what is shown.
  void setDrawing(Drawing drawing);
  // Runs the current drawing on another target (tests, printing).
  void replay(DrawTarget& target) const;
  bool hasDrawing() const { return static_cast<bool>(drawing_); }
  // Numbers drawn with a decimal comma (the user's number format).
  void setDecimalComma(bool on);
  // The pixels the current drawing reaches to the right and down, from the
  // panel's top left: the panel must be at least this large.
  QSize contentSize() const;
  // Where the current drawing puts each text, in pixels of the panel.
  QList<QRectF> textRects() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Drawing drawing_;
  bool decimalComma_ = false;
};

// What panel `which` (0 `pic30`, 1 `Pic31`, 2 `pic32`) draws for a state after
// a complete calculation: the layout the cylinder type and the results ask for.
void drawResultPanel(DrawTarget& target, const ProjectState& ps, int which);

}  // namespace orvane::ui
