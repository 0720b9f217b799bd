#include "ui/common/placement.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <initializer_list>
#include <optional>

namespace orvane::ui {

QMargins frameMargins(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  const QRect inner = window->geometry();
  if (frame != inner)
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
  return {8, 32, 8, 8};
}

namespace {

// `r` moved the least distance to lie inside `area`; one larger than the
// area keeps its top left corner in it.
QRect inside(QRect r, const QRect& area) {
  r.moveLeft(std::max(area.left(), std::min(r.left(), area.right() - r.width() + 1)));
  r.moveTop(std::max(area.top(), std::min(r.top(), area.bottom() - r.height() + 1)));
  return r;
}

}  // namespace

void placeBeside(QWidget* window, const QWidget* owner, const QRect& keepClear) {
  const QScreen* screen = owner ? owner->screen() : window->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  // a window not shown yet takes the frame of its owner on the same desktop
  const bool framed = window->frameGeometry() != window->geometry();
  const QMargins frame = frameMargins(framed || !owner ? window : owner);
  // never larger than the free area, frame included
  window->resize(window->size().boundedTo(free.size().shrunkBy(frame)));
  const QSize outer = window->size().grownBy(frame);

  const QRect home = owner ? owner->frameGeometry() : free;
  const auto at = [&](int x, int y) { return inside(QRect(QPoint(x, y), outer), free); };
  // a place is taken when it keeps clear of all of `clear`
  const auto first = [&](std::initializer_list<QRect> places, std::initializer_list<QRect> clear) {
    for (const QRect& r : places) {
      bool ok = true;
      for (const QRect& c : clear) ok = ok && !(c.isValid() && r.intersects(c));
      if (ok) return std::optional<QRect>(r);
    }
    return std::optional<QRect>();
  };
  // beside the owner; else beside what it should not cover; else centred
  std::optional<QRect> chosen =
      first({at(home.right() + 1, home.top()), at(home.left() - outer.width(), home.top())},
            {home, keepClear});
  if (!chosen && keepClear.isValid()) {
    chosen = first({at(keepClear.right() + 1, keepClear.top()),
                    at(keepClear.left() - outer.width(), keepClear.top()),
                    at(keepClear.left(), keepClear.top() - outer.height()),
                    at(keepClear.left(), keepClear.bottom() + 1)},
                   {keepClear});
  }
  if (!chosen && keepClear.isValid()) {
    // smaller, in the largest strip of the screen beside what it should not
    // cover, where the window's least size fits there
    const QRect c = keepClear.intersected(free);
    const QRect strips[] = {
        QRect(QPoint(c.right() + 1, free.top()), free.bottomRight()),
        QRect(free.topLeft(), QPoint(c.left() - 1, free.bottom())),
        QRect(free.topLeft(), QPoint(free.right(), c.top() - 1)),
        QRect(QPoint(free.left(), c.bottom() + 1), free.bottomRight()),
    };
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize()).grownBy(frame);
    qint64 best = 0;
    for (const QRect& strip : strips) {
      if (strip.width() < least.width() || strip.height() < least.height()) continue;
      const QSize fits = outer.boundedTo(strip.size());
      const qint64 area = qint64(fits.width()) * fits.height();
      if (area <= best) continue;
      best = area;
      window->resize(fits.shrunkBy(frame));
      chosen = inside(QRect(QPoint(home.left(), home.top()), fits), strip);
    }
  }
  if (!chosen)
    chosen = at(home.center().x() - outer.width() / 2, home.center().y() - outer.height() / 2);
  window->move(chosen->topLeft());
}

}  // namespace orvane::ui
