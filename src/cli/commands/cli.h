// plavesk-cli: the editor's core driven from the command line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace plavesk {

// Exit status: 0 done, 1 usage error, 2 the input or output failed.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace plavesk
