#include <malloc.h>

#include <iostream>

#include "cli/commands/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  plavesk::leaveLayoutsToProcessExit();
  // One command, then the process ends. Large blocks come from the heap too,
  // so the memory of a file read is used again for the file written instead
  // of being given back and faulted in anew, and the heap grows in big steps.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TOP_PAD, 16 << 20);
  return plavesk::runCli(args, std::cout, std::cerr);
}
