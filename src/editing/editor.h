// The headless editor: the layout with its active board, undo and redo, the
// clipboard, selection and the structural commands. A window only forwards
// input to it and repaints what the events say changed.
#pragma once

#include <functional>

#include "document/board.h"
#include "document/layout_file.h"
#include "editing/command_table.h"
#include "editing/list_disposal.h"
#include "output/contour_types.h"
#include "view/geometry.h"

namespace plavesk {

// What a window needs to hear. Unset callbacks are ignored.
struct TEditorEvents {
  std::function<void(const TRect&)> invalidate;  // a world area to repaint
  std::function<void()> repaint;                 // the whole view
  std::function<void()> commandStatesChanged;
  std::function<void()> contoursDiscarded;  // isolation contours are gone (repaint follows)
};

// A corner of a track or area: element index in the active list, point index,
// and when known the element itself, so that a list changed since the corner
// was chosen does not hand the command another element at that index.
struct TNodeRef {
  int element = -1;
  int node = -1;
  const TObjekt* object = nullptr;
};

enum class TNudge { left, right, up, down };

// The value fields that edit the current selection (red background).
struct TSpinHighlights {
  bool trackWidth = false;  // SE_Breite
  bool padOuter = false;    // SE_Aussen
  bool padDrill = false;    // SE_Innen
  bool smdWidth = false;    // SE_SMDPad_X
  bool smdHeight = false;   // SE_SMDPad_Y
  bool clearance = false;   // SE_FreistanzOffset
  friend bool operator==(const TSpinHighlights&, const TSpinHighlights&) = default;
};

constexpr int kDefaultUndoDepth = 50;  // the undo stack holds depth + 1
constexpr int kMaxUndoEntries = 50;    // the dialog's range 1..50 is depth + 1

class TEditor {
 public:
  TEditor();

  TLayout layout;
  TEditorEvents events;
  // Set while a tool shows rubber-band feedback: undo and redo wait.
  bool operationInProgress = false;
  // Set while a tool keeps an element of the list between events (a track
  // or area being drawn, a prepared text): its snapshot is not yet a step
  // of its own, and undo and redo, which would act only after it, show as
  // disabled. A held mouse button alone does not count, so that the buttons
  // do not flicker with every click.
  bool elementHeld = false;
  // The isolation contours of the last milling run, drawn by the view until
  // an edit, undo, redo, another board or layout, the photo view, the
  // connection tool or the next run discards them.
  TContourList contours;

  TObjektList& elements() { return layout.elements(); }
  const TObjektList& elements() const { return layout.elements(); }
  TBoardRecord& working() { return layout.working(); }
  const TBoardRecord& working() const { return layout.working(); }

  // --- undo and redo ---
  // Every command that changes the element list takes one snapshot first,
  // and only when it will change something: a command that changes nothing
  // leaves no undo step and does not mark the layout modified.
  int undoDepth() const { return undoDepth_; }
  // The dialog's value: 1..50 undo steps, kept as depth = entries - 1.
  bool setUndoEntries(int entries);
  void takeSnapshot();
  bool undo();
  bool redo();
  void discardNewestSnapshot();

  // --- selection ---
  // Selects or deselects one element with its through-pad partner and the
  // other members of its outermost group.
  void setSelected(TObjekt& e, bool value);
  void deselectAll();
  void selectAll();
  // The click of the edit tool at a world point without Shift; returns the
  // index of the element hit or -1.
  int selectAt(TPoint p);
  size_t selectedCount() const;
  // Selects (never deselects) every element on a visible layer that the
  // rectangle between a and b touches.
  void selectInFrame(TPoint a, TPoint b);

  // --- moving and corners ---
  // Moves the selection by (dx, dy): one undo step, none for (0, 0) or an
  // empty selection. No clamping to the board.
  bool moveSelection(int32_t dx, int32_t dy);
  // The arrow keys: one grid step (rounded), 1 unit with Ctrl.
  bool nudgeSelection(TNudge direction, bool ctrl);
  // The node menu works on this corner, chosen by the right click.
  TNodeRef nodeTarget;
  // Each returns whether it changed the element (one undo step then).
  bool removeCorner(TNodeRef at);
  // Inserts a corner before `at.node`, snapped to the grid: the midpoint of
  // the segment ending there, or before the first point 254 units up-left.
  bool addCorner(TNodeRef at);
  bool snapCorner(TNodeRef at);
  // Cuts a track at an inner corner: the old track keeps points 0..node, a new
  // one appended to the list holds the rest backwards, both end at the corner.
  bool splitTrack(TNodeRef at);

  // --- clipboard and structure ---
  const TObjektList& clipboard() const { return clipboard_; }
  bool copy();
  bool cut();
  // Places the clipboard moved by (dx, dy): one undo step; the block ends
  // up selected and grouped.
  bool paste(int32_t dx, int32_t dy);
  bool duplicate() { return copy(); }
  bool deleteSelection();
  // Both return whether anything changed (and only then leave an undo step).
  bool buildGroup();
  bool splitGroup();
  // Appends copies of `source` moved by `offset` as a macro drop does: one
  // undo step, pads marked as through pads get their partner, the block is
  // selected and grouped.
  void insertElements(const TObjektList& source, TPoint offset);
  // Makes a pad a through pad: a copy on the other side, linked both ways.
  TObjekt& addThroughPartner(TObjekt& pad);
  // Deletes the elements that lie wholly outside the board; returns how many.
  size_t deleteOutside();

  TCommandStates commandStates() const;
  TSpinHighlights spinHighlights() const;
  // Both in one pass over the elements, as the window refreshes them
  // together after every edit.
  TCommandStates commandStates(TSpinHighlights& highlights) const;
  // Whether the command's enable rule holds now.
  bool enabled(const TCommand& command) const { return isEnabled(command.rule, commandStates()); }

  // --- the whole layout ---
  // Closes the layout: no boards, no contours.
  void closeLayout();
  // A new, unmodified layout with one board.
  void newLayout(const std::string& firstBoardName);
  // Reads a layout file's bytes: opening replaces the layout only when the
  // whole file was read (a failure leaves it as it was); importing appends
  // the file's boards.
  TReadReport readLayout(const uint8_t* data, size_t size, const std::string& path,
                         const TReadOptions& options);
  // Replaces the legacy font texts by stroke-font texts; returns how many.
  int convertFontTexts(double pixelsPerInch);

  // --- boards and layers ---
  void activateBoard(int index);
  TBoard& addBoard(const std::string& name);
  // Refuses to delete the last board.
  bool deleteBoard(int index);
  // One of TLayout's board moves; returns whether the board moved.
  bool moveBoard(bool (TLayout::*move)());
  // Name and size of the active board; returns whether anything changed.
  bool setBoardProperties(const std::string& name, int32_t width, int32_t height);
  bool setProjectInfo(const TProjectInfo& info);
  // The layer buttons: a new active layer becomes visible; a hidden layer's
  // elements are deselected; the active layer cannot be hidden.
  bool chooseActiveLayer(int layer);
  bool toggleLayerVisible(int layer);
  // Settings of the active board outside the element list (templates)
  // changed: the layout needs saving.
  void boardSettingsChanged() { layout.modified = true; }

  // Drops the isolation contours and repaints the view (when there were any).
  void discardContours();
  void invalidate(const TObjekt& e);
  void repaint();
  void commandStatesChanged();

 private:
  // The element of a node-menu corner when it is still a selected, ungrouped
  // track or area holding that point; null otherwise.
  TObjekt* nodeElement(TNodeRef at);
  const TObjekt* nodeElement(TNodeRef at) const;
  // The area of every rubber band with a selected end.
  TRect selectedBandArea() const;
  void invalidate(const TRect& area);
  // Clears the contours and says so; the caller repaints.
  bool dropContours();
  // Build group without a snapshot: returns whether ids were appended.
  bool groupSelection();
  // Appends copies of `source` moved by `offset`, selected, their group ids
  // raised above every id of the list and pad links re-targeted among the
  // copies (links leaving the block are dropped). Everything is deselected
  // first. Returns the index of the first copy.
  size_t appendBlock(const TObjektList& source, TPoint offset);
  void restoreFrom(std::vector<TObjektList>& from, std::vector<TObjektList>& to);
  // Moves the records of a dropped snapshot to the spare records.
  void keepSpare(TObjektList& list);

  int undoDepth_ = kDefaultUndoDepth;
  TObjektList clipboard_;
  int copySide_ = 1;
  // Element records of dropped snapshots (redo steps, the oldest undo step,
  // a withdrawn snapshot), at most one board's worth: the next snapshot is
  // copied into them instead of into new ones.
  TObjektList spareRecords_;
  // Frees the records beyond those.
  TListDisposal disposal_;
};

}  // namespace plavesk
