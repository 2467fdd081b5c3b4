#include "ole32/guid.h"

namespace {

constexpr int kTextLength = 38;

int HexValue(OLECHAR c) {
  if (c >= u'0' && c <= u'9')
    return c - u'0';
  if (c >= u'a' && c <= u'f')
    return c - u'a' + 10;
  if (c >= u'A' && c <= u'F')
    return c - u'A' + 10;
  return -1;
}

// Reads `digits` hex digits at text[at]; false when one of them is not hex.
bool ReadHex(LPCOLESTR text, int at, int digits, uint32_t* value) {
  uint32_t v = 0;
  for (int i = 0; i < digits; i++) {
    int d = HexValue(text[at + i]);
    if (d < 0)
      return false;
    v = v << 4 | static_cast<uint32_t>(d);
  }
  *value = v;
  return true;
}

bool ParseBraced(LPCOLESTR text, GUID* guid) {
  for (int i = 0; i < kTextLength; i++) {
    if (text[i] == 0)
      return false;
  }
  if (text[kTextLength] != 0 || text[0] != u'{' || text[37] != u'}')
    return false;
  if (text[9] != u'-' || text[14] != u'-' || text[19] != u'-' || text[24] != u'-')
    return false;
  uint32_t v = 0;
  if (!ReadHex(text, 1, 8, &v))
    return false;
  guid->Data1 = v;
  if (!ReadHex(text, 10, 4, &v))
    return false;
  guid->Data2 = static_cast<WORD>(v);
  if (!ReadHex(text, 15, 4, &v))
    return false;
  guid->Data3 = static_cast<WORD>(v);
  static constexpr int kByteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; i++) {
    if (!ReadHex(text, kByteAt[i], 2, &v))
      return false;
    guid->Data4[i] = static_cast<BYTE>(v);
  }
  return true;
}

void WriteHex(LPOLESTR out, uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int i = digits - 1; i >= 0; i--) {
    out[i] = static_cast<OLECHAR>(kDigits[value & 0xF]);
    value >>= 4;
  }
}

} // namespace

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
  if (!clsid)
    return E_INVALIDARG;
  *clsid = CLSID_NULL;
  GUID parsed{};
  if (!text || !ParseBraced(text, &parsed))
    return CO_E_CLASSSTRING;
  *clsid = parsed;
  return S_OK;
}

INT StringFromGUID2(REFGUID guid, LPOLESTR buffer, INT size) {
  if (!buffer || size < kTextLength + 1)
    return 0;
  buffer[0] = u'{';
  WriteHex(buffer + 1, guid.Data1, 8);
  buffer[9] = u'-';
  WriteHex(buffer + 10, guid.Data2, 4);
  buffer[14] = u'-';
  WriteHex(buffer + 15, guid.Data3, 4);
  buffer[19] = u'-';
  WriteHex(buffer + 20, guid.Data4[0], 2);
  WriteHex(buffer + 22, guid.Data4[1], 2);
  buffer[24] = u'-';
  for (int i = 2; i < 8; i++)
    WriteHex(buffer + 25 + (i - 2) * 2, guid.Data4[i], 2);
  buffer[37] = u'}';
  buffer[38] = 0;
  return kTextLength + 1;
}
