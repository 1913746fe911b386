#pragma once

#include "print/print_device.h"
#include "tools/rtf/rtf_document.h"

namespace tarvik {

// A letter on paper: its paragraphs wrapped between margins of 2 cm, word by
// word, with the fonts, alignments, indents and bullets they have on screen,
// drawn on a print device as one document.
namespace letterprint {

void print(const rtf::Document& letter, print::PrintDevice& device);

} // namespace letterprint

} // namespace tarvik
