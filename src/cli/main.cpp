#include <iostream>

#include "cli/commands/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return plavesk::runCli(args, std::cout, std::cerr);
}
