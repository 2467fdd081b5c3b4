#include "user32/text_layout.h"

#include "user32/gbk.h"
#include "user32/paint.h"

#include <algorithm>
#include <cstring>

namespace user32 {
namespace {

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

} // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] != '\r' && text[i] != '\n')
      continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      i++;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string_view> WrapLine(std::string_view line, LONG maxWidth, const TextWidth& widthOf) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (;;) {
    LONG x = 0;
    size_t i = start;
    size_t breakEnd = std::string_view::npos; // where the line would end
    size_t breakNext = 0;                     // and where the next would start
    bool previousTwoByte = false;
    bool broke = false;
    while (i < line.size()) {
      if (line[i] == ' ') {
        if (i > start)
          breakEnd = i;
        for (; i < line.size() && line[i] == ' '; i++)
          x += widthOf(line.substr(i, 1));
        breakNext = i;
        previousTwoByte = false;
        continue;
      }
      size_t length = CharLength(line, i);
      bool twoByte = length == 2;
      if (twoByte && previousTwoByte) {
        breakEnd = i;
        breakNext = i;
      }
      LONG width = widthOf(line.substr(i, length));
      if (x + width > maxWidth && i > start) {
        if (breakEnd != std::string_view::npos) {
          out.push_back(TrimTrailingBlanks(line.substr(start, breakEnd - start)));
          start = breakNext;
        } else {
          out.push_back(line.substr(start, i - start));
          start = i;
        }
        broke = true;
        break;
      }
      x += width;
      i += length;
      previousTwoByte = twoByte;
    }
    if (!broke) {
      out.push_back(TrimTrailingBlanks(line.substr(start)));
      return out;
    }
  }
}

std::string StripPrefixes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '&') {
      // The marked character (or the second "&") is kept; a last "&" goes.
      if (++i == text.size())
        break;
    }
    out += text[i];
  }
  return out;
}

} // namespace user32

int DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) {
  Painter* painter = PlatformGdiPainterOf(dc);
  PlatformDcState state{};
  if (!text || !rect || !painter || !PlatformGdiGetDcState(dc, &state))
    return 0;
  PlatformFontSpec font{};
  PlatformGdiGetFont(state.font, &font);
  std::string shown(text, length < 0 ? std::strlen(text) : static_cast<size_t>(length));
  if (!(format & DT_NOPREFIX))
    shown = user32::StripPrefixes(shown);
  if (format & DT_EXPANDTABS) {
    std::string expanded;
    for (char c : shown)
      expanded += c == '\t' ? std::string(8, ' ') : std::string(1, c);
    shown = expanded;
  }
  auto widthOf = [&](std::string_view part) {
    return painter->MeasureText(part.data(), static_cast<int>(part.size()), font).cx;
  };
  const LONG lineHeight = painter->MeasureText("", 0, font).cy;
  const LONG width = rect->right - rect->left;

  std::vector<std::string_view> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(shown);
  } else {
    for (std::string_view line : user32::SplitLines(shown)) {
      if (format & DT_WORDBREAK) {
        for (std::string_view part : user32::WrapLine(line, width, widthOf))
          lines.push_back(part);
      } else {
        lines.push_back(line);
      }
    }
  }
  const LONG height = lineHeight * static_cast<LONG>(lines.size());
  if (format & DT_CALCRECT) {
    LONG widest = 0;
    for (std::string_view line : lines)
      widest = std::max(widest, widthOf(line));
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }

  LONG y = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      y = rect->bottom - lineHeight;
  }
  TextAlign align = (format & DT_CENTER)  ? TextAlign::Center
                    : (format & DT_RIGHT) ? TextAlign::Right
                                          : TextAlign::Left;
  for (std::string_view line : lines) {
    // A line below the rectangle is clipped away whole: it shows nothing.
    if (!(format & DT_NOCLIP) && y >= rect->bottom)
      break;
    RECT lineRect{rect->left, y, rect->right, y + lineHeight};
    if (state.bkMode == OPAQUE && !line.empty()) {
      LONG w = widthOf(line);
      LONG left = align == TextAlign::Left    ? rect->left
                  : align == TextAlign::Right ? rect->right - w
                                              : rect->left + (width - w) / 2;
      painter->FillRect({left, y, left + w, y + lineHeight}, state.bkColor);
    }
    painter->DrawTextLine(lineRect, line.data(), static_cast<int>(line.size()), font, state.textColor, align);
    y += lineHeight;
  }
  return height;
}
