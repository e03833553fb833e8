#include "view/colour_schemes.h"

#include "view/scheme_file.h"

namespace plavesk {

TColourSchemes::TColourSchemes() {
  schemes_[0] = standardColourScheme();
  current_ = schemes_[0];
}

std::vector<std::string> TColourSchemes::load(const std::string& folder, int farbschema) {
  schemes_[0] = standardColourScheme();
  std::vector<std::string> problems = reloadUserSchemes(folder);
  select(farbschema);
  return problems;
}

std::vector<std::string> TColourSchemes::reloadUserSchemes(const std::string& folder) {
  std::vector<std::string> problems;
  for (int n = kUserSchemeFirst; n <= kUserSchemeLast; ++n) {
    TSchemeFileResult r = readUserScheme(folder, n);
    // A bad file is treated like a missing one, but the caller hears of it.
    schemes_[size_t(n)] = r.ok() ? r.scheme : TColourScheme{};
    if (!r.ok() && r.status != SchemeFileStatus::missing) problems.push_back(r.error);
  }
  return problems;
}

int TColourSchemes::select(int index) {
  selected_ = (index >= 0 && index < kSchemeCount) ? index : 0;
  current_ = schemes_[size_t(selected_)];
  return selected_;
}

}  // namespace plavesk
