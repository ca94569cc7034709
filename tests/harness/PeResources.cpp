#include "tests/harness/PeResources.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace harness {

namespace {
template <typename T>
bool Read(const std::vector<char>& file, size_t offset, T* out) {
  if (offset + sizeof(T) > file.size()) return false;
  std::memcpy(out, file.data() + offset, sizeof(T));
  return true;
}

// The entry with numeric identifier `id` in the directory at `dirOffset`, or 0.
size_t FindEntry(const std::vector<char>& file, size_t dirOffset, int id) {
  IMAGE_RESOURCE_DIRECTORY dir;
  if (!Read(file, dirOffset, &dir)) return 0;
  size_t first = dirOffset + sizeof dir;
  for (int i = 0; i < dir.NumberOfNamedEntries + dir.NumberOfIdEntries; ++i) {
    size_t at = first + i * sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY);
    IMAGE_RESOURCE_DIRECTORY_ENTRY entry;
    if (!Read(file, at, &entry)) return 0;
    if (!entry.NameIsString && entry.Id == id) return at;
  }
  return 0;
}
}  // namespace

bool RenumberResource(const std::string& exePath, int type, int id, int newId) {
  std::vector<char> file;
  {
    std::ifstream in(exePath, std::ios::binary);
    file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  IMAGE_DOS_HEADER dos;
  IMAGE_NT_HEADERS64 nt;
  if (!Read(file, 0, &dos) || !Read(file, static_cast<size_t>(dos.e_lfanew), &nt)) return false;
  if (nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return false;
  DWORD rva = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress;
  size_t sections = static_cast<size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                    nt.FileHeader.SizeOfOptionalHeader;
  size_t root = 0;
  for (int i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER s;
    if (!Read(file, sections + i * sizeof s, &s)) return false;
    if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
      root = rva - s.VirtualAddress + s.PointerToRawData;
  }
  if (!root) return false;
  size_t typeEntry = FindEntry(file, root, type);
  IMAGE_RESOURCE_DIRECTORY_ENTRY entry;
  if (!typeEntry || !Read(file, typeEntry, &entry) || !entry.DataIsDirectory) return false;
  size_t idEntry = FindEntry(file, root + entry.OffsetToDirectory, id);
  if (!idEntry) return false;
  WORD newWord = static_cast<WORD>(newId);
  std::memcpy(file.data() + idEntry + offsetof(IMAGE_RESOURCE_DIRECTORY_ENTRY, Id), &newWord, sizeof newWord);
  std::ofstream out(exePath, std::ios::binary | std::ios::trunc);
  out.write(file.data(), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace harness
