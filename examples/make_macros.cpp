// Writes the footprint macros the program brings along into a folder
// (examples/Makros in the source tree).
#include <cstdio>
#include <string>

#include "editing/footprint_macros.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_macros FOLDER\n");
    return 1;
  }
  std::string error;
  if (!plavesk::writeFootprintMacros(argv[1], error)) {
    std::fprintf(stderr, "make_macros: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
