// The scheme table: "Standard", "User 1" to "User 3", and the current
// colours that every drawing routine reads.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "view/colour_scheme.h"

namespace plavesk {

constexpr int kSchemeCount = 4;  // index 0 "Standard", 1..3 the user schemes

class TColourSchemes {
 public:
  // Standard filled in, user schemes black, Standard current.
  TColourSchemes();

  const TColourScheme& scheme(int index) const { return schemes_[size_t(index)]; }
  const TColourScheme& current() const { return current_; }
  // The index the scheme selector shows; written back as "Farbschema".
  int selected() const { return selected_; }

  // Start-up: the user schemes from `folder`, then select(`farbschema`).
  // Returns a message for every user scheme file that exists but could not be
  // used; missing files leave their scheme black without a message.
  std::vector<std::string> load(const std::string& folder, int farbschema);
  // The user schemes again from their files, as at start-up; the current
  // colours are not touched.
  std::vector<std::string> reloadUserSchemes(const std::string& folder);

  // current := scheme[index]. An index outside 0..3 (a hand-edited settings
  // file) chooses Standard. Returns the index selected.
  int select(int index);
  // Colours shown without choosing a scheme (the colour dialog's live
  // preview); the selected index stays.
  void setCurrent(const TColourScheme& colours) { current_ = colours; }

 private:
  std::array<TColourScheme, kSchemeCount> schemes_;
  TColourScheme current_;
  int selected_ = 0;
};

}  // namespace plavesk
