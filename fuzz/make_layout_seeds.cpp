// Writes the fuzzer's seed corpus: layouts of every version built by code.
#include <cstdio>
#include <fstream>
#include <string>

#include "document/layout_file.h"
#include "support/old_layout_files.h"
#include "support/sample_layout.h"

using namespace plavesk;
using plavesk::testing::OldElement;

static void save(const std::string& folder, const std::string& name,
                 const std::vector<uint8_t>& bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_layout_seeds FOLDER\n");
    return 1;
  }
  const std::string folder = argv[1];
  TLayout empty;
  empty.addBoard("Board 1");
  save(folder, "empty-v4.lay", encodeLayout(empty));

  TLayout sample = plavesk::testing::makeSampleLayout();
  sample.addBoard("Second");
  plavesk::testing::addPad(sample.elements(), 10, -10, 3);
  save(folder, "sample-v4.lay", encodeLayout(sample));

  const std::vector<OldElement> old = {
      {kPad, {100, -200, 80, 40, 0}, 1, 2, "", 0, 0, 0, 35, {7}, {}, 1, {1}},
      {kPad, {100, -200, 80, 40, 0}, 3, 2, "", 0, 0, 0, 35, {7}, {}, 0, {0}},
      {kTrack, {0, 0, 0, 0, 50}, 3, 0, "", 2, 0, 0, 40, {1}, {{0, 0}, {10, 10}}},
      {kFontText, {10, -10, 500, -300, -20}, 2, 0, "Hallo", 2, 90, 0, 40},
      {kCircle, {0, 0, 300, 200, 90}, 1, 1, "", 0, 45, 1, 40},
      {kArea, {0, 0, 0, 0, 20}, 1, 0, "", 0, 0, 0, 40, {}, {{0, 0}, {50, 0}, {50, 50}}},
  };
  save(folder, "sample-v3.lay", plavesk::testing::makeV3File(old, 1, 0));
  for (int version : {0, 1, 2})
    save(folder, "sample-v" + std::to_string(version) + ".lay",
         plavesk::testing::makeLegacyFile(version, old));
  return 0;
}
