#include "kernel32/format.h"

#include "kernel32/conversion.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace {

struct Field {
  bool left = false;
  bool zero = false;
  bool prefix = false;
  int width = 0;
  int precision = -1;
  bool wide = false;
  char type = 0;
};

// Reads a field's flags, width, precision and letter after its "%"; returns
// where the field ends.
const char* ParseField(const char* at, Field& field) {
  for (;; at++) {
    if (*at == '-')
      field.left = true;
    else if (*at == '0')
      field.zero = true;
    else if (*at == '#')
      field.prefix = true;
    else
      break;
  }
  for (; *at >= '0' && *at <= '9'; at++)
    field.width = field.width * 10 + (*at - '0');
  if (*at == '.') {
    field.precision = 0;
    for (at++; *at >= '0' && *at <= '9'; at++)
      field.precision = field.precision * 10 + (*at - '0');
  }
  if (*at == 'l') {
    field.wide = true;
    at++;
  } else if (*at == 'h') {
    at++;
  }
  field.type = *at;
  return *at ? at + 1 : at;
}

void Pad(std::string& out, int count, char fill) {
  if (count > 0)
    out.append(static_cast<size_t>(count), fill);
}

void AppendAligned(std::string& out, const Field& field, std::string_view body) {
  int padding = field.width - static_cast<int>(body.size());
  if (!field.left)
    Pad(out, padding, ' ');
  out.append(body);
  if (field.left)
    Pad(out, padding, ' ');
}

void AppendText(std::string& out, const Field& field, std::string_view text) {
  if (field.precision >= 0 && text.size() > static_cast<size_t>(field.precision))
    text = text.substr(0, static_cast<size_t>(field.precision));
  AppendAligned(out, field, text);
}

std::string Digits(unsigned long long value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string out;
  do {
    out.insert(out.begin(), digits[value % base]);
    value /= base;
  } while (value);
  return out;
}

void AppendNumber(std::string& out, const Field& field, bool negative, unsigned long long magnitude) {
  bool hex = field.type == 'x' || field.type == 'X';
  std::string digits = Digits(magnitude, hex ? 16 : 10, field.type == 'X');
  if (field.precision >= 0 && digits.size() < static_cast<size_t>(field.precision))
    digits.insert(0, static_cast<size_t>(field.precision) - digits.size(), '0');
  std::string sign = negative ? "-" : "";
  if (hex && field.prefix && magnitude != 0)
    sign = field.type == 'X' ? "0X" : "0x";
  if (field.zero && !field.left && field.precision < 0) {
    int padding = field.width - static_cast<int>(sign.size() + digits.size());
    if (padding > 0)
      digits.insert(0, static_cast<size_t>(padding), '0');
  }
  AppendAligned(out, field, sign + digits);
}

std::string WideText(const WCHAR* text) {
  if (!text)
    return "(null)";
  return platform::FromUtf16(CP_ACP, std::u16string_view(text));
}

void AppendField(std::string& out, const Field& field, va_list& arguments) {
  switch (field.type) {
  case 's': {
    if (field.wide) {
      AppendText(out, field, WideText(va_arg(arguments, const WCHAR*)));
    } else {
      const char* text = va_arg(arguments, const char*);
      AppendText(out, field, text ? text : "(null)");
    }
    break;
  }
  case 'S':
    AppendText(out, field, WideText(va_arg(arguments, const WCHAR*)));
    break;
  case 'c': {
    char c = static_cast<char>(va_arg(arguments, int));
    AppendAligned(out, field, std::string_view(&c, 1));
    break;
  }
  case 'd':
  case 'i': {
    int value = va_arg(arguments, int);
    unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<long long>(value) : static_cast<unsigned>(value);
    AppendNumber(out, field, value < 0, magnitude);
    break;
  }
  case 'u':
  case 'x':
  case 'X':
    AppendNumber(out, field, false, va_arg(arguments, unsigned));
    break;
  case 0:
    break;
  default:
    out += field.type;
    break;
  }
}

} // namespace

int wvsprintfA(LPSTR buffer, LPCSTR format, va_list arguments) {
  if (!buffer || !format)
    return 0;
  std::string out;
  va_list copy;
  va_copy(copy, arguments);
  for (const char* at = format; *at && out.size() < static_cast<size_t>(kFormatBufferBytes);) {
    if (*at != '%') {
      out += *at++;
      continue;
    }
    Field field;
    at = ParseField(at + 1, field);
    AppendField(out, field, copy);
  }
  va_end(copy);
  size_t length = std::min(out.size(), static_cast<size_t>(kFormatBufferBytes - 1));
  std::memcpy(buffer, out.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int length = wvsprintfA(buffer, format, arguments);
  va_end(arguments);
  return length;
}
