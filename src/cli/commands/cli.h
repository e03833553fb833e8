// plavesk-cli: the editor's core driven from the command line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace plavesk {

// Exit status: 0 done, 1 usage error, 2 the input or output failed.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Called by the program when the process ends right after the command: the
// layouts a command has read are then left to the system instead of being
// freed element by element, which takes long on a huge layout.
void leaveLayoutsToProcessExit();

}  // namespace plavesk
