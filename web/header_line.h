// Splitting a request header line ("Accept: */*") into its name and value.
// Only the first colon separates; blanks around name and value do not count.
#pragma once

#include "runtime/text_value.h"

// The trimmed text before the first colon; empty without a colon.
TextValue HeaderName(TextRef line);
// The trimmed text after the first colon; empty without a colon.
TextValue HeaderValue(TextRef line);
