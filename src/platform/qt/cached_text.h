// Texts drawn on a painter with the font and the laid-out text kept from
// call to call: a drill plan puts a label at every pad, and making a font
// and shaping its few distinct labels again for each costs more than all
// the figures of the board together. Same placement as QtCanvas::text: the
// unrotated top left corner at the anchor, height from the font's.
#pragma once

#include <QPainter>
#include <QStaticText>
#include <map>
#include <string>

#include "platform/core/canvas.h"

namespace plavesk {

class CachedTextPainter {
 public:
  // Draws on `painter` (active) at device point `at`.
  void draw(QPainter& painter, const CanvasMapping& mapping, CanvasColour colour,
            CanvasPoint anchor, const std::string& utf8, const CanvasFont& font);

 private:
  int size_ = 0;
  int weight_ = 0;
  std::string face_;
  QFont font_;
  std::map<std::string, QStaticText> laidOut_;
};

}  // namespace plavesk
