// The program's own drawings of the profile cross-sections: the sketch a
// profile window shows (`pic1`, one per shape and family, named as the
// sketch controls `pic_stiff_L` ... `pic_gird_i`).
//
// Stiffeners are drawn standing on a flat shell plate, ring frames on a
// curved shell strip, so the two families never look alike.
#pragma once

#include <QString>
#include <QWidget>

#include "model/codes.hpp"

class QPainter;

namespace orvane::ui {

enum class ProfileShape { L, LBuilt, T, Flat, Bulb, Rhs, Trapezoid, I };

// Name of the sketch control of a shape, e.g. "pic_stiff_Lb", "pic_gird_usp".
QString sketchControlName(ProfileShape shape, Member member);

// The cross-section with its dimension marks, fitted into `area`.
void drawProfileSketch(QPainter& p, const QRectF& area, ProfileShape shape, Member member);

// The picture box of a profile window.
class ProfileSketch final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ProfileSketch)

 public:
  ProfileSketch(ProfileShape shape, Member member, QWidget* parent = nullptr);
  ProfileShape shape() const { return shape_; }
  QSize sizeHint() const override { return {190, 210}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ProfileShape shape_;
  Member member_;
};

}  // namespace orvane::ui
