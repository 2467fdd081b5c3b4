// The parameters of a shell call as separate program arguments (internal to
// libshell32).
//
// Words are separated by blanks (spaces and tabs); a double quote starts or
// ends a stretch in which blanks belong to the word, and is itself dropped,
// so "\"My Songs\" -x" gives the two words `My Songs` and `-x`. A pair of
// quotes with nothing between them is an empty word.
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> SplitParameterWords(std::string_view parameters);
