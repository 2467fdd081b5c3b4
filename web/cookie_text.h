// Cookie texts: items "name=value" separated by ";" with any blanks.
//
// The merged form ends every item with "; " ("sid=2; theme=dark; "); the
// compact form has no blanks and a ";" after every item ("sid=2;theme=dark;").
// Names, values and items compare byte for byte, letter case included.
#pragma once

#include "runtime/text_value.h"

// The text before the first "="; empty without one. Nothing is trimmed.
TextValue CookieName(TextRef item);
// The text after the first "="; empty without one.
TextValue CookieValue(TextRef item);
// The pieces of the text, each at its first occurrence only, each followed by
// the separator.
TextValue UniqueItems(TextRef text, TextRef separator);
// Merges the cookies a response returned into the ones that were sent: a
// returned value replaces a sent one of the same name, returned cookies that
// were not sent follow, items ending in "=deleted" are dropped, duplicates
// are written once. `sent` receives the merged form and `returned` the
// compact form; the result is a copy of the merged form.
TextValue MergeCookies(TextValue& sent, TextValue& returned);
