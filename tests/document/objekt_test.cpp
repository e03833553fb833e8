#include "document/objekt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>

#include "support/sample_layout.h"

namespace plavesk {
namespace {

int32_t i32At(const FileImage& image, int offset) {
  int32_t v;
  std::memcpy(&v, image.data() + offset, 4);
  return v;
}

TEST(FileImage, FieldsSitAtTheirOffsets) {
  TObjekt e;
  e.kind = kCircle;
  e.x = 0x01020304;
  e.y = -5;
  e.dim1 = 300;
  e.dim2 = -250;
  e.dim3 = 120;
  e.selected = 1;
  e.layer = 2;
  e.padShape = 7;
  e.points = {{1, 2}};
  e.legacyGroup = -2;
  e.workMark = 9;
  e.angle = 30;
  e.groupIds = {5};
  e.filled = 1;
  e.clearance = 40;
  e.autorouted = 1;
  e.mirrorH = 1;
  e.mirrorV = 1;
  e.cutout = 1;
  FileImage image = encodeFileImage(e);

  EXPECT_EQ(image[0], kCircle);
  EXPECT_EQ(i32At(image, 1), 0x01020304);
  EXPECT_EQ(i32At(image, 5), -5);
  EXPECT_EQ(i32At(image, 9), 300);
  EXPECT_EQ(i32At(image, 13), -250);
  EXPECT_EQ(i32At(image, 17), 120);
  EXPECT_EQ(image[21], 1);
  EXPECT_EQ(image[22], 2);
  EXPECT_EQ(image[23], 7);
  EXPECT_EQ(i32At(image, 24), 0) << "the points slot is written as zero";
  EXPECT_EQ(image[28], 0xFE);
  EXPECT_EQ(image[29], 0xFF);
  EXPECT_EQ(image[30], 9);
  EXPECT_EQ(i32At(image, 31), 30);
  EXPECT_EQ(i32At(image, 35), 0);
  EXPECT_EQ(image[40], 1);
  EXPECT_EQ(i32At(image, 41), 40);
  EXPECT_EQ(i32At(image, 45), 0);
  EXPECT_EQ(i32At(image, 49), 0);
  EXPECT_EQ(image[53], 1);
  EXPECT_EQ(image[54], 1);
  EXPECT_EQ(image[55], 1);
  EXPECT_EQ(image[56], 1);
  for (int i = 57; i < kFileImageSize; ++i) EXPECT_EQ(image[i], 0) << "reserved byte " << i;

  TObjekt back;
  decodeFileImage(back, image.data());
  EXPECT_EQ(encodeFileImage(back), image);
}

TEST(FileImage, StalePointerSlotsAndReservedBytesAreIgnored) {
  auto pad = createPad({10, 20}, 80, kPadOctagon, 1, 40);
  FileImage clean = encodeFileImage(*pad);
  FileImage stale = clean;
  for (int offset : {24, 35, 45, 49}) std::memset(stale.data() + offset, 0xAB, 4);
  stale[39] = 0x77;
  for (int i = 57; i < kFileImageSize; ++i) stale[i] = 0xCD;
  TObjekt read;
  decodeFileImage(read, stale.data());
  EXPECT_EQ(encodeFileImage(read), clean);
  EXPECT_EQ(read.padLink, nullptr);
  EXPECT_TRUE(read.connections.empty());
}

TEST(Constructors, SetTheKindFields) {
  auto text = createText({1, 2}, "A", true, false, 4, 3, 2, 0, 500);
  EXPECT_EQ(text->kind, kText);
  EXPECT_EQ(text->dim1, 500);
  EXPECT_EQ(text->dim2, 0);
  EXPECT_EQ(text->dim3, 2);
  EXPECT_EQ(text->angle, 3);
  EXPECT_EQ(text->mirrorV, 1);
  EXPECT_EQ(text->mirrorH, 0);
  auto smd = createSmdPad({5, 6}, 150, 3, 60);
  EXPECT_EQ(smd->dim1, 150);
  EXPECT_EQ(smd->dim2, 60);
  auto circle = createCircle({0, 0}, 300, 5, 2, 250);
  EXPECT_EQ(circle->padShape, 5);
  EXPECT_EQ(circle->dim3, 0);
  EXPECT_EQ(circle->angle, 0);
  EXPECT_EQ(createArea(20, 1)->closed, 1);
}

TEST(CopyElement, CopiesTextStrokesDeeply) {
  auto text = createText({0, 0}, "L", false, false, 2, 0, 1, 1, 500);
  auto stroke = createTrack(56, 2);
  stroke->points = {{0, 444}, {0, 0}, {233, 0}};
  text->strokes.push_back(std::move(stroke));
  text->groupIds = {4, 9};

  auto copy = copyElement(*text);
  ASSERT_EQ(copy->strokes.size(), 1u);
  EXPECT_NE(copy->strokes[0].get(), text->strokes[0].get());
  copy->strokes[0]->points[0].x = 99;
  copy.reset();
  EXPECT_EQ(text->strokes[0]->points[0].x, 0);
  EXPECT_EQ(text->copyMark, 1);
}

TEST(CopyList, RetargetsEveryReferenceIntoTheCopy) {
  TLayout layout = testing::makeSampleLayout();
  TObjektList& source = layout.elements();
  source[2]->selected = 1;
  TObjektList copy;
  copyList(copy, source);
  ASSERT_EQ(copy.size(), source.size());
  EXPECT_EQ(copy[0]->padLink, copy[1].get());
  EXPECT_EQ(copy[1]->padLink, copy[0].get());
  EXPECT_EQ(copy[0]->connections, std::vector<TObjekt*>{copy[3].get()});
  EXPECT_EQ(copy[3]->connections, (std::vector<TObjekt*>{copy[0].get(), copy[2].get()}));
  EXPECT_EQ(copy[4]->routeFrom, copy[0].get());
  EXPECT_EQ(copy[4]->routeTo, copy[2].get());
  EXPECT_EQ(copy[2]->selected, 0);
  EXPECT_EQ(copy[7]->text, "Äb");
}

// Large lists go through the copy index's open addressing: every chain of
// references lands on the copy at the same position.
TEST(CopyList, RetargetsReferencesInALargeList) {
  TObjektList source;
  constexpr int kPads = 5000;
  for (int i = 0; i < kPads; ++i) source.push_back(createPad({i, 0}, 50, kPadRound, 1, 20));
  for (int i = 0; i < kPads; ++i) {
    source[size_t(i)]->connections = {source[size_t((i * 7 + 3) % kPads)].get()};
    if (i % 2 == 0) source[size_t(i)]->padLink = source[size_t(i + 1)].get();
  }
  TObjektList copy;
  copyList(copy, source);
  ASSERT_EQ(copy.size(), source.size());
  for (int i = 0; i < kPads; ++i) {
    const TObjekt& c = *copy[size_t(i)];
    ASSERT_EQ(c.connections.size(), 1u) << i;
    EXPECT_EQ(c.connections[0], copy[size_t((i * 7 + 3) % kPads)].get()) << i;
    EXPECT_EQ(c.padLink, i % 2 == 0 ? copy[size_t(i + 1)].get() : nullptr) << i;
  }
}

TEST(CopyList, PartialCopyDropsReferencesToElementsLeftBehind) {
  TLayout layout = testing::makeSampleLayout();
  TObjektList& source = layout.elements();
  // Copy pad B (2), the SMD pad (3) and the routed track (4) only.
  TObjektList target;
  target.push_back(createTrack(10, 1));  // something already in the target
  for (auto& e : source) e->copyMark = 0;
  for (int i : {2, 3, 4}) target.push_back(copyElement(*source[i]));
  relinkConnections(source, target, 1);
  relinkRoutes(source, target, 1);

  EXPECT_EQ(target[2]->connections, std::vector<TObjekt*>{target[1].get()})
      << "the connection to pad A, which was not copied, is dropped";
  EXPECT_EQ(target[3]->routeFrom, nullptr);
  EXPECT_EQ(target[3]->routeTo, target[1].get());
  EXPECT_EQ(source[3]->connections.size(), 2u) << "the source keeps its connections";
}

// A copy made in the records of a list being thrown away must carry nothing
// of what those records held: every field, list and reference is that of a
// copy made in fresh records.
TEST(CopyList, RecordsOfAThrownAwayListKeepNothingOfTheirOwn) {
  TLayout layout = testing::makeSampleLayout();
  TObjektList& source = layout.elements();
  // A text with strokes and an area (closed) in the source as well.
  source.push_back(createText({100, -100}, "T", false, false, kSilk1, 0, 1, 1, 150));
  for (int k = 0; k < 2; ++k) {
    source.back()->strokes.push_back(createTrack(17, kSilk1));
    source.back()->strokes.back()->points = {{k, 0}, {k, 10}};
  }
  source.push_back(createArea(20, kCopper1));
  source.back()->points = {{0, 0}, {100, 0}, {100, -100}, {0, 0}};

  // Spare records: the source's own copy backwards (every record of another
  // kind than the element it takes), texts with more strokes than needed,
  // and too few records for the whole list.
  auto reversed = [&] {
    TObjektList l;
    copyList(l, source);
    for (auto& e : l) {
      e->groupIds = {77, 78, 79};
      e->copyMark = 1;
      e->selected = 1;
    }
    return TObjektList(std::make_move_iterator(l.rbegin()), std::make_move_iterator(l.rend()));
  };
  auto manyStrokes = [&] {
    TObjektList l;
    for (size_t i = 0; i < source.size(); ++i) {
      l.push_back(createText({5, 5}, "longer text than any", true, true, kSilk2, 3, 2, 2, 400));
      for (int k = 0; k < 5; ++k) l.back()->strokes.push_back(createTrack(30, kSilk2));
    }
    return l;
  };
  auto tooFew = [&] {
    TObjektList l = reversed();
    l.resize(3);
    return l;
  };
  struct Case {
    const char* name;
    std::function<TObjektList()> spare;
  } cases[] = {{"other kinds", reversed}, {"surplus strokes", manyStrokes}, {"too few", tooFew}};

  TObjektList fresh;
  copyList(fresh, source);
  auto at = [](const TObjektList& list, const TObjekt* p) -> long {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i].get() == p) return long(i);
    return p ? -2 : -1;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TObjektList spare = c.spare();
    const size_t spareBefore = spare.size();
    TObjektList copy;
    copyList(copy, source, spare);
    ASSERT_EQ(copy.size(), fresh.size());
    EXPECT_EQ(spare.size(), spareBefore - std::min(spareBefore, source.size()));
    for (size_t i = 0; i < copy.size(); ++i) {
      const TObjekt& a = *copy[i];
      const TObjekt& b = *fresh[i];
      EXPECT_EQ(encodeFileImage(a), encodeFileImage(b)) << i;
      EXPECT_EQ(a.points, b.points) << i;
      EXPECT_EQ(a.groupIds, b.groupIds) << i;
      EXPECT_EQ(a.text, b.text) << i;
      EXPECT_EQ(a.closed, b.closed) << i;
      EXPECT_EQ(a.copyMark, 0) << i;
      EXPECT_EQ(a.linkIndex, b.linkIndex) << i;
      EXPECT_EQ(at(copy, a.padLink), at(fresh, b.padLink)) << i;
      EXPECT_EQ(at(copy, a.routeFrom), at(fresh, b.routeFrom)) << i;
      EXPECT_EQ(at(copy, a.routeTo), at(fresh, b.routeTo)) << i;
      ASSERT_EQ(a.connections.size(), b.connections.size()) << i;
      for (size_t k = 0; k < a.connections.size(); ++k)
        EXPECT_EQ(at(copy, a.connections[k]), at(fresh, b.connections[k])) << i;
      ASSERT_EQ(a.strokes.size(), b.strokes.size()) << i;
      for (size_t k = 0; k < a.strokes.size(); ++k) {
        EXPECT_EQ(encodeFileImage(*a.strokes[k]), encodeFileImage(*b.strokes[k])) << i;
        EXPECT_EQ(a.strokes[k]->points, b.strokes[k]->points) << i;
      }
    }
  }
}

TEST(NextGroupId, IsOnePlusTheLargestOutermostId) {
  struct Case {
    std::vector<std::vector<int32_t>> ids;
    int32_t expected;
  } cases[] = {
      {{}, 1},
      {{{}, {}}, 1},
      {{{3}, {7}}, 8},
      {{{3}, {20, 7}}, 8},  // a larger inner id does not count
      {{{2, 5}, {}, {1}}, 6},
  };
  for (const auto& c : cases) {
    TObjektList list;
    for (const auto& ids : c.ids) {
      list.push_back(createTrack(10, 1));
      list.back()->groupIds = ids;
    }
    EXPECT_EQ(nextGroupId(list), c.expected);
  }
}

TEST(DeleteElements, ClearsEveryReferenceToTheDeleted) {
  TLayout layout = testing::makeSampleLayout();
  TObjektList& l = layout.elements();
  TObjekt* padA2 = l[1].get();
  TObjekt* smd = l[3].get();
  TObjekt* routed = l[4].get();
  TObjekt* padB = l[2].get();
  size_t removed =
      deleteElementsIf(l, [](const TObjekt& e) { return e.kind == kPad && e.x == 1000; });
  EXPECT_EQ(removed, 2u);
  EXPECT_EQ(std::find_if(l.begin(), l.end(), [&](auto& e) { return e.get() == padA2; }), l.end());
  EXPECT_EQ(smd->connections, std::vector<TObjekt*>{padB});
  EXPECT_EQ(routed->routeFrom, nullptr);
  EXPECT_EQ(routed->routeTo, padB);
}

TEST(Layers, SideChangeAndCopperSwap) {
  for (auto [layer, other] : {std::pair{1, 3}, {2, 4}, {3, 1}, {4, 2}})
    EXPECT_EQ(otherSideLayer(layer), other);
  TObjektList list;
  for (int layer : {1, 2, 3, 4}) list.push_back(createTrack(10, layer));
  swapCopperLayers(list);
  EXPECT_EQ(list[0]->layer, 3);
  EXPECT_EQ(list[1]->layer, 2);
  EXPECT_EQ(list[2]->layer, 1);
  EXPECT_EQ(list[3]->layer, 4);
}

}  // namespace
}  // namespace plavesk
