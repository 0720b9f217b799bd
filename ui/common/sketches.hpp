// The program's own drawings: the cylinder sketches shown in `pic20` and the
// pictures on the small buttons.
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

#include "model/project_state.hpp"

namespace orvane::ui {

// Which sketch `pic20` shows; the names are those of the sketch boxes.
enum class Sketch { Plain, RingsInside, RingsOutside, StringersInside, StringersOutside, Column };

// The sketch of the project's cylinder type (and outside stiffening).
Sketch cylinderSketch(const ProjectState& ps);

class SketchBox final : public QWidget {
  Q_OBJECT
 public:
  explicit SketchBox(QWidget* parent = nullptr);
  void setSketch(Sketch s);
  Sketch sketch() const { return sketch_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Sketch sketch_ = Sketch::Plain;
};

QIcon infoIcon();
// Cross-section of profile type 0..9 of the type lists.
QIcon profileIcon(int type);
// A ring frame on a shell seen in section, for the fabrication picture.
QIcon ringFrameIcon();

}  // namespace orvane::ui
