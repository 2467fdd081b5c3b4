// Where the lyric service is, and who answers for the program.
#pragma once

// Scheme and host of the lyric service, without a closing "/", set when the
// project is configured (by default the bundled service on this machine).
// It begins every search URL and is put in front of the relative lyric link
// found on a result page, which also makes it the value of a missing link.
inline constexpr char LyricServiceBase[] = CANTIVA_LYRIC_SERVICE;

// The maker's contact handle, in every message that carries it.
inline constexpr char MakerContact[] = "20130501";
