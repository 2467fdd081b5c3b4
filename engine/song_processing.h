// Song processing: one song of the song list, from its listed file name to
// the saved lyric file and the three log lines that tell the outcome.
#pragma once

#include "runtime/byte_set.h"
#include "runtime/text_value.h"

#include <array>

// The text with every occurrence of t1, then of each further text, removed
// (whole characters only, letter case counts). Empty texts remove nothing.
TextValue RemoveTexts(TextRef text, TextRef t1, TextRef t2 = {}, TextRef t3 = {}, TextRef t4 = {}, TextRef t5 = {},
                      TextRef t6 = {}, TextRef t7 = {}, TextRef t8 = {}, TextRef t9 = {}, TextRef t10 = {});

// The page request of a URL, its body turned from UTF-8 into a code page 936
// text; the further arguments are the page request's, passed through.
TextValue FetchPageText(TextRef url, TextValue& method, TextRef postText, TextValue& cookies,
                        TextValue& returnedCookies, TextValue& headers, TextValue& redirectTo, bool noRedirect,
                        int32_t timeoutSeconds, TextValue& responseHeaders, ByteRef postBytes);

// Searches the lyric service for the song name, downloads the first hit's
// lyric and saves it in SongFolder as name + ".lrc", logging the outcome.
// A download that brings nothing writes nothing, so that a lyric file the
// user already has is never emptied.
void ProcessSong(TextRef listed, TextRef name);
