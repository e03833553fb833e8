// Edit mode's double-click on a text: its dialog, filled from the element,
// and on confirmation the text made anew from it.
#include "editing/editor.h"
#include "editing/element_at.h"
#include "editing/text_commands.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {

TToolResult TToolManager::doubleClick(const TInputEvent& event) {
  if (state_.mode != TToolMode::edit || event.button != TInputEvent::left ||
      !editor_.layout.hasActiveBoard())
    return TToolResult::ignored;
  const TPoint q = worldAt(event.pixel, false);
  const int i = elementAt(editor_.elements(), editor_.working(), q, false);
  if (i < 0) return TToolResult::ignored;
  TObjekt* e = editor_.elements()[size_t(i)].get();
  if (e->kind != kText && e->kind != kFontText) return TToolResult::ignored;
  eraseAllFeedback();
  host_.releasePointer();
  bool confirmed = false;
  if (e->kind == kText) {
    TTextSettings s = textSettingsFromElement(*e);
    // Numbering is the dialog's own, not the element's.
    s.addNumber = dialogs_.text.addNumber;
    s.startValue = dialogs_.text.startValue;
    confirmed = host_.askTextSettings(s, true);
    dialogs_.text = limited(s);
    if (confirmed) {
      dialogs_.counter.restart(dialogs_.text);
      replaceText(editor_, e, dialogs_.text, dialogs_.counter, editor_.working().grid);
    }
  } else {
    const double ppi = host_.pixelsPerInch();
    TFontTextSettings s = fontTextSettings(*e, ppi);
    confirmed = host_.askFontTextSettings(s);
    if (confirmed)
      editFontText(editor_, e, s, ppi, [this](const std::string& text, int32_t height) {
        return host_.fontTextExtent(text, height);
      });
  }
  // The press that belongs to the double-click comes after the dialog.
  state_.ignoreNextPress = true;
  state_.inProgress = false;
  editor_.commandStatesChanged();
  return confirmed ? TToolResult::changed : TToolResult::handled;
}

}  // namespace plavesk
