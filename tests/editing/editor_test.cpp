#include "editing/editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <unordered_set>

#include "document/byte_io.h"
#include "document/layout_file.h"
#include "support/sample_layout.h"
#include "view/layer_visibility.h"

namespace plavesk {
namespace {

// The element block of a list as a file would hold it, selection aside.
std::vector<uint8_t> listBytes(const TObjektList& list) {
  TObjektList copy;
  copyList(copy, list);
  ByteWriter w;
  writeElementBlock(w, copy);
  return std::move(w.bytes());
}

// Links mutual, connections symmetric, every reference inside the list.
void expectConsistent(const TObjektList& list, const std::string& when) {
  std::unordered_set<const TObjekt*> members;
  for (const auto& e : list) members.insert(e.get());
  for (const auto& e : list) {
    if (e->padLink) {
      ASSERT_TRUE(members.count(e->padLink)) << when;
      EXPECT_EQ(e->padLink->padLink, e.get()) << when;
    }
    for (const TObjekt* c : e->connections) {
      ASSERT_TRUE(members.count(c)) << when;
      EXPECT_NE(std::find(c->connections.begin(), c->connections.end(), e.get()),
                c->connections.end())
          << when;
    }
    for (const TObjekt* r : {e->routeFrom, e->routeTo})
      if (r) {
        EXPECT_TRUE(members.count(r)) << when;
      }
  }
}

TObjekt* at(TEditor& editor, size_t i) { return editor.elements()[i].get(); }

TEST(Undo, DepthLimitsTheStack) {
  struct Case {
    int entries;
    int changes;
    int undoable;
  } cases[] = {{0, 51, 51}, {0, 52, 51}, {1, 3, 1}, {5, 2, 2}, {50, 60, 50}};
  for (const Case& c : cases) {
    TEditor editor;
    editor.addBoard("B");
    // 0: the default depth of 50, which keeps 51 snapshots (the dialog
    // itself offers 1..50).
    if (c.entries) {
      ASSERT_TRUE(editor.setUndoEntries(c.entries));
    }
    for (int i = 0; i < c.changes; ++i) {
      editor.takeSnapshot();
      testing::addPad(editor.elements(), i * 100, -100);
    }
    int undone = 0;
    while (editor.undo()) ++undone;
    EXPECT_EQ(undone, c.undoable) << c.entries << " entries, " << c.changes << " changes";
    EXPECT_EQ(editor.elements().size(), size_t(c.changes - c.undoable));
  }
  TEditor editor;
  EXPECT_FALSE(editor.setUndoEntries(0));
  EXPECT_FALSE(editor.setUndoEntries(51));
  EXPECT_EQ(editor.undoDepth(), kDefaultUndoDepth);
}

TEST(Undo, RedoIsEmptiedByANewChangeAndBothMarkModified) {
  TEditor editor;
  editor.layout = testing::makeSampleLayout();
  editor.selectAll();
  editor.deleteSelection();
  EXPECT_TRUE(editor.elements().empty());
  editor.layout.modified = false;
  ASSERT_TRUE(editor.undo());
  EXPECT_TRUE(editor.layout.modified) << "undo changes the document";
  EXPECT_EQ(editor.elements().size(), 9u);
  expectConsistent(editor.elements(), "after undo");
  for (auto& e : editor.elements()) EXPECT_EQ(e->selected, 0);
  editor.layout.modified = false;
  ASSERT_TRUE(editor.redo());
  EXPECT_TRUE(editor.layout.modified);
  ASSERT_TRUE(editor.undo());
  editor.takeSnapshot();
  EXPECT_FALSE(editor.redo()) << "a new change empties the redo stack";
}

TEST(Undo, EditsUndoAndBoardSwitchesDiscardTheContours) {
  TEditor editor;
  editor.addBoard("A");
  editor.addBoard("B");
  int discarded = 0;
  editor.events.contoursDiscarded = [&] { ++discarded; };
  auto keepContours = [&] { editor.contours = {{{0, 0}, {100, 0}, {100, 100}}}; };
  struct Step {
    const char* what;
    std::function<void()> run;
  } steps[] = {
      {"snapshot", [&] { editor.takeSnapshot(); }},
      {"undo", [&] { editor.undo(); }},
      {"redo", [&] { editor.redo(); }},
      {"other board", [&] { editor.activateBoard(0); }},
  };
  for (const Step& step : steps) {
    keepContours();
    step.run();
    EXPECT_TRUE(editor.contours.empty()) << step.what;
  }
  EXPECT_EQ(discarded, 4);
  editor.takeSnapshot();
  EXPECT_EQ(discarded, 4) << "nothing to discard, no event";
}

TEST(Undo, WaitsWhileAToolShowsFeedbackAndStaysOnItsBoard) {
  TEditor editor;
  editor.addBoard("A");
  editor.takeSnapshot();
  testing::addPad(editor.elements(), 0, 0);
  editor.operationInProgress = true;
  EXPECT_FALSE(editor.undo());
  editor.operationInProgress = false;
  editor.addBoard("B");
  EXPECT_FALSE(editor.undo()) << "the new board has its own stack";
  editor.activateBoard(0);
  EXPECT_TRUE(editor.undo());
  EXPECT_TRUE(editor.elements().empty());
}

TEST(Clipboard, CopyToAnotherBoardKeepsPartnersAndDropsOutsideConnections) {
  TEditor editor;
  editor.layout = testing::makeSampleLayout();
  editor.deselectAll();
  editor.setSelected(*at(editor, 0), true);  // pad A, its partner and group 1 come along
  EXPECT_EQ(editor.selectedCount(), 4u);
  TObjekt* routed = at(editor, 4);
  editor.setSelected(*routed, true);
  ASSERT_TRUE(editor.copy());

  editor.addBoard("Second");
  ASSERT_TRUE(editor.paste(100, -100));
  TObjektList& l = editor.elements();
  ASSERT_EQ(l.size(), 5u);
  expectConsistent(l, "after paste");
  EXPECT_EQ(l[0]->padLink, l[1].get());
  EXPECT_EQ(l[0]->x, 1100);
  EXPECT_EQ(l[0]->connections, std::vector<TObjekt*>{l[3].get()});
  EXPECT_EQ(l[3]->connections.size(), 2u) << "pad B came along through group 1";
  EXPECT_EQ(l[4]->routeFrom, l[0].get());
  for (auto& e : l) EXPECT_TRUE(e->selected);

  editor.activateBoard(0);
  EXPECT_EQ(at(editor, 3)->connections.size(), 2u) << "the source is untouched";
}

TEST(Clipboard, PastingTwiceMovesOnAndOtherSideSwapsAllButThroughPads) {
  TEditor editor;
  editor.addBoard("B");
  editor.working().activeLayer = kCopper1;
  TObjekt& a = testing::addPad(editor.elements(), 1000, -1000, kCopper1);
  TObjekt& b = testing::addPad(editor.elements(), 1000, -1000, kCopper2);
  a.padLink = &b;
  b.padLink = &a;
  editor.elements().push_back(createTrack(50, kSilk1));
  editor.elements().back()->points = {{0, 0}, {100, 0}};
  editor.selectAll();
  ASSERT_TRUE(editor.copy());
  editor.paste(500, 0);
  editor.paste(500, 0);
  TObjektList& l = editor.elements();
  ASSERT_EQ(l.size(), 9u);
  EXPECT_EQ(l[3]->x, 1500);
  EXPECT_EQ(l[6]->x, 2000) << "the clipboard moved with the first paste";

  editor.working().activeLayer = kCopper2;
  editor.paste(0, -500);
  EXPECT_EQ(l[9]->layer, kCopper1) << "through pads keep their layers";
  EXPECT_EQ(l[10]->layer, kCopper2);
  EXPECT_EQ(l[11]->layer, kSilk2);
}

TEST(Clipboard, PastedBlocksBecomeOneGroupAboveAllIds) {
  TEditor editor;
  editor.addBoard("B");
  for (int i = 0; i < 3; ++i) testing::addPad(editor.elements(), i * 300, -500);
  editor.elements()[2]->groupIds = {1};
  editor.selectAll();
  // Three elements: two ungrouped and one in group 1.
  ASSERT_TRUE(editor.copy());
  editor.paste(0, -1000);
  TObjektList& l = editor.elements();
  ASSERT_EQ(l.size(), 6u);
  // g = 2: the pasted group 1 becomes 3; gaps close (3 -> 2) and the new
  // outer group is 3.
  EXPECT_EQ(l[3]->groupIds, std::vector<int32_t>{3});
  EXPECT_EQ(l[4]->groupIds, std::vector<int32_t>{3});
  EXPECT_EQ(l[5]->groupIds, (std::vector<int32_t>{2, 3}));
  EXPECT_EQ(l[2]->groupIds, std::vector<int32_t>{1});
}

TEST(Structure, DeleteLeavesNoDanglingReference) {
  TEditor editor;
  editor.layout = testing::makeSampleLayout();
  TObjekt* routed = at(editor, 4);
  editor.deselectAll();
  at(editor, 2)->groupIds.clear();  // pad B alone
  editor.setSelected(*at(editor, 2), true);
  ASSERT_TRUE(editor.deleteSelection());
  expectConsistent(editor.elements(), "after delete");
  EXPECT_EQ(routed->routeTo, nullptr);
  EXPECT_EQ(routed->routeFrom, at(editor, 0));
}

TEST(Structure, GroupAndSplitFollowTheirRules) {
  TEditor editor;
  editor.addBoard("B");
  for (int i = 0; i < 3; ++i) testing::addPad(editor.elements(), i * 300, -500);
  TObjektList& l = editor.elements();
  editor.setSelected(*l[0], true);
  EXPECT_FALSE(editor.commandStates().buildGroup) << "one element is never grouped alone";
  EXPECT_FALSE(editor.buildGroup());
  editor.setSelected(*l[1], true);
  EXPECT_TRUE(editor.commandStates().buildGroup);
  EXPECT_TRUE(editor.buildGroup());
  EXPECT_EQ(l[0]->groupIds, std::vector<int32_t>{1});
  EXPECT_FALSE(editor.commandStates().buildGroup) << "already one group";
  EXPECT_FALSE(editor.buildGroup());
  editor.setSelected(*l[2], true);
  EXPECT_TRUE(editor.buildGroup());
  EXPECT_EQ(l[0]->groupIds, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(l[2]->groupIds, std::vector<int32_t>{2});
  EXPECT_TRUE(editor.splitGroup());
  EXPECT_EQ(l[0]->groupIds, std::vector<int32_t>{1});
  EXPECT_TRUE(l[2]->groupIds.empty());

  editor.deselectAll();
  editor.setSelected(*l[0], true);
  EXPECT_TRUE(l[1]->selected) << "selection spreads over the outermost group";
  EXPECT_FALSE(l[2]->selected);
}

TEST(Structure, CommandStatesFollowSelectionClipboardAndStacks) {
  TEditor editor;
  editor.addBoard("B");
  testing::addPad(editor.elements(), 0, -100);
  testing::addPad(editor.elements(), 500, -100);
  EXPECT_EQ(editor.commandStates(), (TCommandStates{.board = true, .elements = true}));
  editor.addBoard("C");
  EXPECT_EQ(editor.commandStates(),
            (TCommandStates{.board = true, .boardBefore = true, .severalBoards = true}));
  editor.activateBoard(0);
  EXPECT_EQ(
      editor.commandStates(),
      (TCommandStates{.board = true, .boardAfter = true, .elements = true, .severalBoards = true}));
  editor.selectAll();
  TCommandStates s = editor.commandStates();
  EXPECT_TRUE(s.selection);
  EXPECT_FALSE(s.paste);
  editor.copy();
  editor.paste(10, 10);
  s = editor.commandStates();
  EXPECT_TRUE(s.paste && s.undo && s.splitGroup);
  EXPECT_FALSE(s.redo);
}

TEST(Structure, SelectAtUsesTheLayerPriority) {
  TEditor editor;
  editor.addBoard("B");
  editor.working().activeLayer = kCopper1;
  TObjekt& copper = testing::addPad(editor.elements(), 1000, -1000, kCopper1);
  editor.elements().push_back(createTrack(50, kSilk1));
  TObjekt& silk = *editor.elements().back();
  silk.points = {{900, -1000}, {1100, -1000}};
  EXPECT_EQ(editor.selectAt({1000, -1000}), 1) << "silkscreen before copper";
  EXPECT_TRUE(silk.selected);
  editor.working().layerVisible[kSilk1 - 1] = 0;
  EXPECT_EQ(editor.selectAt({1000, -1000}), 0);
  EXPECT_TRUE(copper.selected);
  EXPECT_FALSE(silk.selected);
  EXPECT_EQ(editor.selectAt({5000, -5000}), -1);
  EXPECT_EQ(editor.selectedCount(), 0u);
}

// Random commands on the sample board: after each, the references are
// consistent and undo brings back exactly the list before it.
TEST(Invariants, RandomCommandsKeepReferencesAndUndoRestoresExactly) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    TEditor editor;
    editor.layout = testing::makeSampleLayout();
    editor.addBoard("Other");
    editor.activateBoard(0);
    for (int step = 0; step < 25; ++step) {
      TObjektList& l = editor.elements();
      int command = int(random() % 7);
      if (!l.empty()) {
        editor.deselectAll();
        for (int k = 0; k < 2; ++k) editor.setSelected(*l[random() % l.size()], true);
      }
      const std::vector<uint8_t> before = listBytes(editor.elements());
      bool changed = false;
      switch (command) {
        case 0: changed = editor.deleteSelection(); break;
        case 1: changed = editor.cut(); break;
        case 2: editor.copy(); changed = editor.paste(int(random() % 200), -int(random() % 200)); break;
        case 3: changed = editor.buildGroup(); break;
        case 4: changed = editor.splitGroup(); break;
        case 5: changed = editor.paste(50, 50); break;
        case 6:
          editor.activateBoard(1);
          changed = editor.paste(10, -10);
          if (changed) {
            expectConsistent(editor.elements(), "paste on the other board");
            ASSERT_TRUE(editor.undo());
          }
          editor.activateBoard(0);
          changed = false;
          break;
      }
      const std::string when = "round " + std::to_string(round) + " step " + std::to_string(step) +
                               " command " + std::to_string(command);
      expectConsistent(editor.elements(), when);
      if (changed) {
        const std::vector<uint8_t> after = listBytes(editor.elements());
        ASSERT_TRUE(editor.undo()) << when;
        EXPECT_EQ(listBytes(editor.elements()), before) << when;
        ASSERT_TRUE(editor.redo()) << when;
        EXPECT_EQ(listBytes(editor.elements()), after) << when;
        expectConsistent(editor.elements(), when + " after redo");
      }
    }
  }
}

}  // namespace
}  // namespace plavesk

namespace plavesk {
namespace {

// An editor with three ungrouped pads on copper 1, all inside the board.
struct UndoRuleFixture {
  UndoRuleFixture() {
    editor.addBoard("B");
    for (int i = 0; i < 3; ++i) testing::addPad(editor.elements(), 1000 + i * 300, -500);
    editor.layout.modified = false;
  }
  size_t undoSteps() { return editor.layout.active().undoStack.size(); }
  TEditor editor;
};

TEST(UndoRule, CommandsThatChangeNothingLeaveNoStep) {
  struct Case {
    const char* name;
    std::function<void(TEditor&)> prepare;
    std::function<bool(TEditor&)> command;
  } cases[] = {
      {"group of one group",
       [](TEditor& e) {
         e.selectAll();
         e.buildGroup();
       },
       [](TEditor& e) { return e.buildGroup(); }},
      {"ungroup of ungrouped", [](TEditor& e) { e.selectAll(); },
       [](TEditor& e) { return e.splitGroup(); }},
      {"delete outside with all inside", [](TEditor&) {},
       [](TEditor& e) { return e.deleteOutside() > 0; }},
      {"same board properties", [](TEditor&) {},
       [](TEditor& e) {
         return e.setBoardProperties("B", e.working().width, e.working().height);
       }},
      {"same project info", [](TEditor&) {},
       [](TEditor& e) { return e.setProjectInfo(e.layout.project); }},
      {"hiding the active layer", [](TEditor&) {},
       [](TEditor& e) { return e.toggleLayerVisible(e.working().activeLayer); }},
      {"choosing the active layer", [](TEditor&) {},
       [](TEditor& e) { return e.chooseActiveLayer(e.working().activeLayer); }},
  };
  for (const Case& c : cases) {
    UndoRuleFixture f;
    c.prepare(f.editor);
    const size_t steps = f.undoSteps();
    f.editor.layout.modified = false;
    EXPECT_FALSE(c.command(f.editor)) << c.name;
    EXPECT_EQ(f.undoSteps(), steps) << c.name;
    EXPECT_FALSE(f.editor.layout.modified) << c.name;
  }
}

TEST(UndoRule, ChangingCommandsLeaveOneStepEach) {
  UndoRuleFixture f;
  TEditor& e = f.editor;
  e.selectAll();
  EXPECT_TRUE(e.buildGroup());
  EXPECT_EQ(f.undoSteps(), 1u);
  EXPECT_TRUE(e.splitGroup());
  EXPECT_EQ(f.undoSteps(), 2u);
  testing::addPad(e.elements(), 99000, -500);  // beyond the 160 mm board
  EXPECT_EQ(e.deleteOutside(), 1u);
  EXPECT_EQ(f.undoSteps(), 3u);
  EXPECT_EQ(e.elements().size(), 3u);
  EXPECT_TRUE(e.layout.modified);
}

TEST(UndoRule, UndoAndRedoRepaintOnce) {
  UndoRuleFixture f;
  TEditor& e = f.editor;
  int repaints = 0, discarded = 0;
  e.events.repaint = [&] { ++repaints; };
  e.events.contoursDiscarded = [&] { ++discarded; };
  e.selectAll();
  ASSERT_TRUE(e.deleteSelection());
  for (auto step : {&TEditor::undo, &TEditor::redo}) {
    e.contours.push_back({{0, 0}, {10, 0}, {10, 10}});
    repaints = discarded = 0;
    ASSERT_TRUE((e.*step)());
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(discarded, 1);
    EXPECT_TRUE(e.contours.empty());
  }
}

TEST(LayerCommands, HidingALayerDeselectsItsElementsAndShowingAnActiveOne) {
  UndoRuleFixture f;
  TEditor& e = f.editor;
  testing::addPad(e.elements(), 2000, -800, kCopper2);
  e.selectAll();
  ASSERT_EQ(e.working().activeLayer, kCopper2);
  ASSERT_TRUE(e.toggleLayerVisible(kCopper1));
  EXPECT_EQ(e.selectedCount(), 1u) << "only the pad of copper 2 stays selected";
  EXPECT_TRUE(e.chooseActiveLayer(kCopper1));
  EXPECT_TRUE(isLayerVisible(e.working(), kCopper1)) << "the active layer is always shown";
  EXPECT_FALSE(e.toggleLayerVisible(kCopper1));
}

}  // namespace
}  // namespace plavesk
