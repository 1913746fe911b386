// Test support lives in headers; this file gives the library a translation unit.
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

using namespace tarvik;
