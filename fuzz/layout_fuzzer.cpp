// Feeds arbitrary bytes to the layout reader, plainly and as an import into
// an open layout. Whatever it accepts must write and read back to the same
// bytes.
#include <cstdlib>

#include "document/layout_file.h"

using namespace plavesk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TLayout layout;
  TReadReport report = readLayoutData(layout, data, size, "fuzz.lay", {});
  if (report.ok) {
    std::vector<uint8_t> written = encodeLayout(layout);
    TLayout again;
    TReadReport second = readLayoutData(again, written.data(), written.size(), "again.lay", {});
    if (!second.ok || encodeLayout(again) != written) std::abort();
  }

  TLayout open;
  open.addBoard("Board 1");
  open.elements().push_back(createTrack(50, 1));
  open.elements().back()->points = {{0, 0}, {100, 0}};
  std::vector<uint8_t> before = encodeLayout(open);
  TReadReport imported = readLayoutData(open, data, size, "fuzz.lay", {true, 1});
  if (!imported.ok && encodeLayout(open) != before) std::abort();  // a failed import changed it
  return 0;
}
