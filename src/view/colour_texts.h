// The German, English and French texts of the colour schemes, the colour
// dialog and the layer panel, all in one place. Language 0 German,
// 1 English, 2 French; other values read as English. UTF-8.
#pragma once

namespace plavesk {

// "K1", "B1", "K2", "B2" in German, "C1", "S1", "C2", "S2" otherwise; empty
// for codes outside 1..4.
const char* layerButtonCaption(int layer, int language);

// Swatch caption of a scheme colour; empty for the two reserved entries,
// which the dialog does not show.
const char* colourRoleCaption(int colourIndex, int language);

// Scheme selector entries: "Standard" (English "Default") and "User 1" to
// "User 3".
const char* schemeName(int schemeIndex, int language);

const char* colourDialogTitle(int language);
const char* colourMenuCaption(int language);
const char* okCaption(int language);
const char* cancelCaption(int language);
// Asked when another scheme is chosen after a swatch was changed.
const char* saveSchemeQuestion(int language);
const char* layerInfoTitle(int language);

}  // namespace plavesk
