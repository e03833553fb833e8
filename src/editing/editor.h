// The headless editor: the layout with its active board, undo and redo, the
// clipboard, selection and the structural commands. A window only forwards
// input to it and repaints what the events say changed.
#pragma once

#include <functional>

#include "document/board.h"
#include "output/contour_types.h"
#include "view/geometry.h"

namespace plavesk {

// What a window needs to hear. Unset callbacks are ignored.
struct TEditorEvents {
  std::function<void(const TRect&)> invalidate;  // a world area to repaint
  std::function<void()> repaint;                 // the whole view
  std::function<void()> commandStatesChanged;
  std::function<void()> contoursDiscarded;       // isolation contours are gone
};

// Which structural commands are enabled.
struct TCommandStates {
  bool copy = false;  // also cut, delete and duplicate
  bool paste = false;
  bool buildGroup = false;
  bool splitGroup = false;
  bool undo = false;
  bool redo = false;
  friend bool operator==(const TCommandStates&, const TCommandStates&) = default;
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
  // The isolation contours of the last milling run, drawn by the view until
  // an edit, undo, redo, another board or layout, the photo view, the
  // connection tool or the next run discards them.
  TContourList contours;

  TObjektList& elements() { return layout.elements(); }
  const TObjektList& elements() const { return layout.elements(); }
  TBoardRecord& working() { return layout.working; }

  // --- undo and redo ---
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

  // --- clipboard and structure ---
  const TObjektList& clipboard() const { return clipboard_; }
  bool copy();
  bool cut();
  // Places the clipboard moved by (dx, dy): one undo step; the block ends
  // up selected and grouped.
  bool paste(int32_t dx, int32_t dy);
  bool duplicate() { return copy(); }
  bool deleteSelection();
  bool buildGroup();
  bool splitGroup();
  // Appends copies of `source` moved by `offset` as a macro drop does: one
  // undo step, pads marked as through pads get their partner, the block is
  // selected and grouped.
  void insertElements(const TObjektList& source, TPoint offset);
  // Makes a pad a through pad: a copy on the other side, linked both ways.
  TObjekt& addThroughPartner(TObjekt& pad);

  TCommandStates commandStates() const;

  // --- boards ---
  void activateBoard(int index);
  TBoard& addBoard(const std::string& name);

  void discardContours();
  void invalidate(const TObjekt& e);
  void repaint();
  void commandStatesChanged();

 private:
  // Build group without a snapshot: returns whether ids were appended.
  bool groupSelection();
  void restoreFrom(std::vector<TObjektList>& from, std::vector<TObjektList>& to);

  int undoDepth_ = kDefaultUndoDepth;
  TObjektList clipboard_;
  int copySide_ = 1;
};

}  // namespace plavesk
