#pragma once

#include "platform/fixed_prompter.h"

// Answers nothing and shows nothing: the fuzz targets only look at the data.
using NullPrompter = FixedPrompter;
