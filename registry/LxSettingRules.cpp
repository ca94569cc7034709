// Read and write rules between registry data and tagged values.
#include "registry/LxSettingRules.h"

#include <cstring>

#include "registry/clsLxError.h"

namespace lxrules {

namespace {

// Bits of an array's element code that select REG_BINARY and REG_MULTI_SZ.
// The binary test admits more than Byte arrays (Long, Double, ... share the
// bit); EncodeSetting refuses those.
constexpr int32_t kBinaryBits = 0x11;
constexpr int32_t kMultiBits = 0x8;

[[noreturn]] void TypeMismatch() { throw LxRaisedError(13, "", "Type mismatch"); }

LxVariant DecodeMultiString(const BYTE* data, DWORD size) {
  std::string all(reinterpret_cast<const char*>(data), size);
  const size_t lastText = all.find_last_not_of('\0');
  if (lastText == std::string::npos) return LxVariant::StringArray({});
  all.erase(lastText + 1);
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t nul = all.find('\0', start);
    parts.push_back(all.substr(start, nul - start));
    if (nul == std::string::npos) break;
    start = nul + 1;
  }
  return LxVariant::StringArray(parts);
}

}  // namespace

bool IsExpandable(const std::string& text) {
  const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (needed == 0) return false;
  std::string buffer(needed, '\0');
  if (ExpandEnvironmentStringsA(text.c_str(), &buffer[0], needed) == 0) return false;
  buffer.resize(std::strlen(buffer.c_str()));  // cut before the first NUL
  return buffer != text;
}

DWORD ReadBufferSize(DWORD type, DWORD reportedSize) { return type == REG_DWORD ? 4 : reportedSize; }

LxVariant DecodeRegData(DWORD type, const BYTE* data, DWORD size) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::string text(reinterpret_cast<const char*>(data), size);
      // Only a real terminator goes: data written without one keep their last
      // character. REG_EXPAND_SZ data stay unexpanded.
      if (!text.empty() && text.back() == '\0') text.pop_back();
      return LxVariant::String(std::move(text));
    }
    case REG_MULTI_SZ: return DecodeMultiString(data, size);
    case REG_DWORD: {
      uint32_t bits = 0;
      std::memcpy(&bits, data, 4);  // x86 and x86_64 are little-endian, as REG_DWORD is
      return LxVariant::Long(static_cast<int32_t>(bits));
    }
    default: return LxVariant::ByteArray(std::vector<uint8_t>(data, data + size));
  }
}

RegData EncodeSetting(const LxVariant& value) {
  RegData out;
  const int32_t vt = value.VarTypeCode();
  if (!value.IsArray()) {
    if (vt == LxVariant::vbInteger || vt == LxVariant::vbLong || vt == LxVariant::vbByte) {
      const uint32_t bits = static_cast<uint32_t>(static_cast<int32_t>(value.IntValue()));
      out.type = REG_DWORD;
      out.bytes = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8), static_cast<BYTE>(bits >> 16),
                   static_cast<BYTE>(bits >> 24)};
      return out;
    }
    if (vt == LxVariant::vbString) {
      const std::string& text = value.Text();
      out.type = IsExpandable(text) ? REG_EXPAND_SZ : REG_SZ;
      out.bytes.assign(text.begin(), text.end());
      out.bytes.push_back(0);
      return out;
    }
    TypeMismatch();
  }
  if (vt & kBinaryBits) {
    if (vt != (LxVariant::vbArray | LxVariant::vbByte)) TypeMismatch();
    out.type = REG_BINARY;
    out.bytes.assign(value.Bytes().begin(), value.Bytes().end());
    return out;
  }
  if (vt & kMultiBits) {
    out.type = REG_MULTI_SZ;
    for (const LxVariant& item : value.Items()) {
      const std::string text = item.AsText();  // may throw its own error
      out.bytes.insert(out.bytes.end(), text.begin(), text.end());
      out.bytes.push_back(0);
    }
    out.bytes.push_back(0);
    return out;
  }
  TypeMismatch();
}

DWORD SettingRegType(const LxVariant& value) {
  const int32_t vt = value.VarTypeCode();
  if (value.IsArray()) {
    if (vt & kBinaryBits) return REG_BINARY;
    if (vt & kMultiBits) return REG_MULTI_SZ;
    return REG_NONE;
  }
  switch (vt) {
    case LxVariant::vbInteger:
    case LxVariant::vbLong:
    case LxVariant::vbByte: return REG_DWORD;
    case LxVariant::vbString: return IsExpandable(value.Text()) ? REG_EXPAND_SZ : REG_SZ;
    default: return REG_NONE;
  }
}

}  // namespace lxrules
