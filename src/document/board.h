// Boards of a layout, the project information and the working state of the
// active board.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

constexpr int kBoardRecordSize = 490;
constexpr int kBoardNameMax = 30;
constexpr int kProjectFieldMax = 100;
constexpr int kProjectCommentMax = 1900;
constexpr int kTemplateFileMax = 200;

// The board record without its element list. The same value serves as the
// editor's working state of the active board.
struct TBoardRecord {
  int32_t width = 16000;
  int32_t height = 10000;
  uint8_t groundPlane1 = 0;
  uint8_t groundPlane2 = 0;
  double grid = 254.0;
  double zoom = 0.1;
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  int32_t activeLayer = 3;
  std::array<uint8_t, 4> layerVisible{1, 1, 1, 1};
  uint8_t template1Shown = 0;
  uint8_t template2Shown = 0;
  std::string template1File;  // UTF-8
  std::string template2File;
  int32_t template1Dpi = 600;
  int32_t template2Dpi = 600;
  int32_t template1OffsetX = 0;
  int32_t template2OffsetX = 0;
  int32_t template1OffsetY = 0;
  int32_t template2OffsetY = 0;
  int32_t template1Color = 0x0000FF00;
  int32_t template2Color = 0x0000FF00;
  int32_t originX = 0;
  int32_t originY = 0;

  bool operator==(const TBoardRecord&) const = default;
};

// Limits of values read from files; anything outside is replaced by the
// default of a new board so no later division or allocation sees it.
constexpr int32_t kMaxBoardSize = 1000000;  // 10 m, far beyond any real board
constexpr double kMinZoom = 0.01;
constexpr double kMaxZoom = 1.0;
constexpr double kMaxGrid = 100000.0;
// Returns how many fields were replaced.
int sanitizeBoardRecord(TBoardRecord& record);

// 490-byte image; the first 4 bytes (the element list in memory) are zero.
std::vector<uint8_t> encodeBoardRecord(const TBoardRecord& record);
TBoardRecord decodeBoardRecord(const uint8_t* image);

struct TZoomState {
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  double zoom = 0.1;
};

struct TBoard {
  std::string name;
  TBoardRecord record;
  TObjektList elements;
  std::vector<TObjektList> undoStack;
  std::vector<TObjektList> redoStack;
  std::vector<TZoomState> zoomStack;
};
using TBoardPtr = std::unique_ptr<TBoard>;

struct TProjectInfo {
  std::string title;
  std::string author;
  std::string company;
  std::string comment;
  bool operator==(const TProjectInfo&) const = default;
};

// "Platine ", "Board ", "Carte " by interface language 0, 1, 2.
std::string boardBaseName(int language);

class TLayout {
 public:
  std::vector<TBoardPtr> boards;
  int activeBoard = -1;
  TProjectInfo project;
  bool modified = false;
  int suppressSnapshots = 0;  // > 0 while boards are switched or texts converted

  bool hasActiveBoard() const { return activeBoard >= 0 && activeBoard < int(boards.size()); }
  TBoard& active() { return *boards[activeBoard]; }
  const TBoard& active() const { return *boards[activeBoard]; }
  TObjektList& elements() { return boards[activeBoard]->elements; }
  const TObjektList& elements() const { return boards[activeBoard]->elements; }
  // The record of the active board; a detached default record while no board
  // is active.
  TBoardRecord& working() { return hasActiveBoard() ? active().record : detached_; }
  const TBoardRecord& working() const { return hasActiveBoard() ? active().record : detached_; }

  // Appends a board with default settings and activates it.
  TBoard& addBoard(const std::string& name);
  // Makes a board active and drops template files that no longer load.
  void activateBoard(int index);
  // Refuses (returns false) to delete the last board unless closing.
  bool deleteBoard(int index, bool closing = false);
  // The board moves keep the moved board active; they return whether
  // anything moved.
  bool moveBoardToEnd();
  bool moveBoardToStart();
  bool moveBoardRight();
  bool moveBoardLeft();
  void close();

  // Called with a template path when a board becomes active; returns false
  // when the image cannot be loaded. Unset: templates are not checked.
  std::function<bool(const std::string& path)> loadTemplate;

 private:
  bool moveBoard(int to);

  TBoardRecord detached_;
};

// Closes the gaps in the group ids of a list: ids {1, 4} become {1, 2}.
void closeGroupIdGaps(TObjektList& list);

// Pads whose partner is missing or whose links are not mutual lose them.
// Returns the number of links cleared.
size_t repairPadLinks(TObjektList& list);

}  // namespace plavesk
