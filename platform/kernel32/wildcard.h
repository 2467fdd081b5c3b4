// Matching a name against a wildcard name (internal to libkernel32).
//
// "*" matches any run of units, "?" exactly one unit, every other unit
// itself with ASCII letters folded. The whole name must match.
#pragma once

#include <string_view>

bool WildcardMatch(std::u16string_view pattern, std::u16string_view name);
