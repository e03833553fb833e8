// Snapshots pushed out of the undo and redo stacks are freed on a worker
// thread: the hand-over must take the lists, and neither waiting nor
// destruction may hang or leave the editor's stacks wrong.
#include "editing/list_disposal.h"

#include <gtest/gtest.h>

#include "editing/editor.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

TObjektList textsWithStrokes(int count) {
  TObjektList list;
  for (int i = 0; i < count; ++i) {
    list.push_back(
        createText({i * 100, -100}, "T" + std::to_string(i), false, false, kSilk1, 0, 1, 1, 150));
    for (int s = 0; s < 3; ++s) list.back()->strokes.push_back(createTrack(17, kSilk1));
  }
  return list;
}

TEST(ListDisposal, TakesTheListsAndFinishesWhetherWaitedForOrNot) {
  // Destroyed at once, after a wait, and with the thread never started:
  // each must return with the work done.
  enum class End { destroy, wait, nothingHandedOver };
  for (End end : {End::destroy, End::wait, End::nothingHandedOver}) {
    for (int round = 0; round < 50; ++round) {
      TListDisposal disposal;
      if (end != End::nothingHandedOver) {
        TObjektList one = textsWithStrokes(20);
        std::vector<TObjektList> several;
        several.push_back(textsWithStrokes(5));
        several.emplace_back();  // an empty list is skipped
        several.push_back(textsWithStrokes(7));
        disposal.dispose(std::move(one));
        disposal.dispose(std::move(several));
        EXPECT_TRUE(one.empty());
        EXPECT_TRUE(several.empty());
      }
      if (end != End::destroy) disposal.waitUntilIdle();
    }
  }
}

// Dropped snapshots lend their records to the next snapshot, and what is
// left is freed off the editor's thread: trimming to the depth, dropping
// redo steps and withdrawing the newest snapshot leave exactly the steps a
// plain count expects, each restoring its own list.
TEST(ListDisposal, EditorStacksStayExactWhileDroppedSnapshotsAreFreed) {
  TEditor editor;
  editor.layout = testing::makeSampleLayout();
  ASSERT_TRUE(editor.setUndoEntries(3));
  const size_t start = editor.elements().size();
  for (int i = 0; i < 6; ++i) {
    editor.takeSnapshot();
    testing::addPad(editor.elements(), 100 * i, -100);
  }
  EXPECT_EQ(editor.layout.active().undoStack.size(), 3u);
  ASSERT_TRUE(editor.undo());
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(editor.elements().size(), start + 4);
  EXPECT_EQ(editor.layout.active().redoStack.size(), 2u);
  editor.takeSnapshot();  // drops both redo steps
  testing::addPad(editor.elements(), 5000, -100);
  EXPECT_TRUE(editor.layout.active().redoStack.empty());
  editor.takeSnapshot();
  editor.discardNewestSnapshot();
  EXPECT_EQ(editor.layout.active().undoStack.size(), 2u);
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(editor.elements().size(), start + 4);
  EXPECT_EQ(editor.elements().back()->x, 300);
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(editor.elements().size(), start + 3);
  EXPECT_EQ(editor.elements().back()->x, 200);
  EXPECT_FALSE(editor.undo());
  // The sample board itself came back intact through the reused records.
  const TLayout sample = testing::makeSampleLayout();
  for (size_t i = 0; i < start; ++i)
    EXPECT_EQ(encodeFileImage(*editor.elements()[i]), encodeFileImage(*sample.elements()[i])) << i;
}

}  // namespace
}  // namespace plavesk
