#include "editing/connectivity_commands.h"

#include "editing/editor.h"
#include "editing/element_at.h"
#include "routing/connectivity.h"

namespace plavesk {

std::vector<size_t> testAt(TEditor& editor, TPoint p) {
  std::vector<size_t> marked;
  if (!editor.layout.hasActiveBoard()) return marked;
  TObjektList& list = editor.elements();
  // The whole view is repainted below: the marks of the last click and of
  // this one need no rectangles of their own, which a net of thousands of
  // elements would otherwise invalidate one by one.
  for (auto& e : list) e->selected = 0;
  const int hit = elementAt(list, editor.working(), p, true);
  if (hit >= 0) {
    const TObjekt& e = *list[size_t(hit)];
    if (isCopperLayer(e.layer) && !(e.kind == kArea && e.cutout))
      sharedNetCache().markNet(list, editor.working(), size_t(hit));
  }
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i]->selected) marked.push_back(i);
  editor.repaint();
  return marked;
}

TBandCounts clearSatisfiedBands(TEditor& editor) {
  if (!editor.layout.hasActiveBoard()) return {};
  editor.takeSnapshot();
  editor.deselectAll();
  const TBandCounts counts = removeSatisfiedBands(editor.elements(), editor.working());
  if (counts.removed > 0) editor.repaint();
  editor.commandStatesChanged();
  return counts;
}

}  // namespace plavesk
