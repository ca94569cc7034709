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

// The name of a named entry: a length and UTF-16 characters at `offset`
// from the resource directory's root.
std::wstring EntryName(const std::vector<char>& file, size_t root, DWORD offset) {
  WORD length = 0;
  if (!Read(file, root + offset, &length) || root + offset + 2 + length * 2u > file.size()) return L"";
  std::wstring name(length, L'\0');
  std::memcpy(&name[0], file.data() + root + offset + 2, length * 2u);
  return name;
}

// The entry with numeric identifier `id`, or with the name `name` when one
// is given, in the directory at `dirOffset`, or 0.
size_t FindEntry(const std::vector<char>& file, size_t root, size_t dirOffset, int id, const wchar_t* name = nullptr) {
  IMAGE_RESOURCE_DIRECTORY dir;
  if (!Read(file, dirOffset, &dir)) return 0;
  size_t first = dirOffset + sizeof dir;
  for (int i = 0; i < dir.NumberOfNamedEntries + dir.NumberOfIdEntries; ++i) {
    size_t at = first + i * sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY);
    IMAGE_RESOURCE_DIRECTORY_ENTRY entry;
    if (!Read(file, at, &entry)) return 0;
    if (name ? entry.NameIsString && EntryName(file, root, entry.NameOffset) == name
             : !entry.NameIsString && entry.Id == id)
      return at;
  }
  return 0;
}

bool Renumber(const std::string& exePath, int type, const wchar_t* typeName, int id, int newId) {
  std::vector<char> file;
  {
    std::ifstream in(exePath, std::ios::binary);
    file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // PE32 (the i686 release) and PE32+ (the x86_64 twin) differ only in the
  // optional header, which holds the resource directory's place.
  IMAGE_DOS_HEADER dos;
  IMAGE_FILE_HEADER header;
  WORD magic = 0;
  if (!Read(file, 0, &dos)) return false;
  const size_t fileHeader = static_cast<size_t>(dos.e_lfanew) + sizeof(DWORD);  // after "PE\0\0"
  const size_t optional = fileHeader + sizeof header;
  if (!Read(file, fileHeader, &header) || !Read(file, optional, &magic)) return false;
  IMAGE_DATA_DIRECTORY resources;
  if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    IMAGE_OPTIONAL_HEADER64 opt;
    if (!Read(file, optional, &opt)) return false;
    resources = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
  } else if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    IMAGE_OPTIONAL_HEADER32 opt;
    if (!Read(file, optional, &opt)) return false;
    resources = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
  } else {
    return false;
  }
  const DWORD rva = resources.VirtualAddress;
  const size_t sections = optional + header.SizeOfOptionalHeader;
  size_t root = 0;
  for (int i = 0; i < header.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER s;
    if (!Read(file, sections + i * sizeof s, &s)) return false;
    if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
      root = rva - s.VirtualAddress + s.PointerToRawData;
  }
  if (!root) return false;
  size_t typeEntry = FindEntry(file, root, root, type, typeName);
  IMAGE_RESOURCE_DIRECTORY_ENTRY entry;
  if (!typeEntry || !Read(file, typeEntry, &entry) || !entry.DataIsDirectory) return false;
  size_t idEntry = FindEntry(file, root, root + entry.OffsetToDirectory, id);
  if (!idEntry) return false;
  WORD newWord = static_cast<WORD>(newId);
  std::memcpy(file.data() + idEntry + offsetof(IMAGE_RESOURCE_DIRECTORY_ENTRY, Id), &newWord, sizeof newWord);
  std::ofstream out(exePath, std::ios::binary | std::ios::trunc);
  out.write(file.data(), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace

bool RenumberResource(const std::string& exePath, int type, int id, int newId) {
  return Renumber(exePath, type, nullptr, id, newId);
}

bool RenumberResource(const std::string& exePath, const wchar_t* type, int id, int newId) {
  return Renumber(exePath, 0, type, id, newId);
}

}  // namespace harness
