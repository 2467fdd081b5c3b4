// Finding the first lyric link on a search result page.
//
// The result page lists the hits, each with a download button whose caption
// is "下载LRC歌词". The page is split on that caption; the link is cut out of
// the part before the first button, between the markers of the button's
// class attribute.
#pragma once

#include "runtime/text_value.h"
#include "runtime/value_array.h"

extern const char kLyricButtonCaption[];
extern const char kLyricLinkStart[];
extern const char kLyricLinkEnd[];

// The page's pieces around the download buttons.
TextArray SplitResultPage(TextRef page);
// The number of hits, pieces minus one, written as a number ("2"; "-1" for a
// page that yields no piece at all).
TextValue HitCountText(const TextArray& pieces);
// The relative link of the first hit, or the empty text when there is none.
TextValue FirstLyricLink(const TextArray& pieces);
