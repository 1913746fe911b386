#pragma once

namespace tarvik {

// Whether every print opens a preview first ("Aperçu avant impression"). Kept
// in the user's Qt settings, not in Tarvik.ini, whose lines stay as they are.
bool printPreviewWanted();
void setPrintPreviewWanted(bool wanted);

} // namespace tarvik
