// The rules between registry data and tagged values: how each registry type
// reads into a value (DecodeRegData), which registry type and bytes a value
// writes as (EncodeSetting, SettingRegType), and the environment test that
// picks REG_EXPAND_SZ over REG_SZ (IsExpandable). Shared by clsLxRegSetting
// and clsLxRegistry; not part of the library's public face.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "registry/LxVariant.h"

namespace lxrules {

// True when expanding the environment references in text changes it, i.e. it
// names at least one defined variable. The expansion ends at the text's
// first NUL and is compared with the whole text, so a text holding a NUL
// counts as expandable. False when either expansion call fails.
bool IsExpandable(const std::string& text);

// Buffer size for reading a value whose type and size the platform reported:
// a REG_DWORD is always read as exactly four bytes, anything else as reported.
DWORD ReadBufferSize(DWORD type, DWORD reportedSize);

// Decodes size bytes of data of registry type `type` (data must hold at least
// max(size, 4) bytes for a REG_DWORD, zero-filled beyond what was read):
//   REG_SZ, REG_EXPAND_SZ  String; a final NUL is dropped, any other last
//                          character is kept (data stored without terminator)
//   REG_MULTI_SZ           String array from 0; trailing NULs go, the rest is
//                          split at each NUL; all-NUL data give no element
//   REG_DWORD              Long, little-endian (0xFFFFFFFF reads -1)
//   anything else          Byte array from 0 (REG_DWORD_BIG_ENDIAN included)
LxVariant DecodeRegData(DWORD type, const BYTE* data, DWORD size);

// Registry type and bytes that WriteSetting passes to RegSetValueExA.
struct RegData {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

// Integer/Long/Byte -> REG_DWORD; String -> REG_EXPAND_SZ or REG_SZ plus NUL;
// Byte array -> REG_BINARY; arrays of String, Variant, Decimal, Error ->
// REG_MULTI_SZ (each element's text plus NUL, then one more NUL). Anything else
// throws LxRaisedError 13; an element without a text form throws its
// conversion's error. Arrays of Long, Double, Date, Object, Boolean and plain
// interface objects pass the REG_BINARY test of SettingRegType but are
// refused here with 13.
RegData EncodeSetting(const LxVariant& value);

// The registry type EncodeSetting would choose, without converting anything
// (REG_BINARY for every array that passes the binary test, also those that
// EncodeSetting then refuses); REG_NONE for the other kinds that cannot be
// written.
DWORD SettingRegType(const LxVariant& value);

}  // namespace lxrules
