// clsLxError: the registry library's error record (number, description, help
// file and context, last DLL error, source), and LxRaisedError, the exception
// that Raise throws for callers that prefer catching to checking.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// What Raise throws, and what the tagged value's text conversion throws for a
// value that has no text form (13 type mismatch, 94 invalid use of Null).
class LxRaisedError : public std::runtime_error {
 public:
  LxRaisedError(int32_t number, std::string source, std::string description, std::string helpFile = {},
                int32_t helpContext = 0);

  int32_t Number() const { return number_; }
  const std::string& Source() const { return source_; }
  const std::string& Description() const { return description_; }
  const std::string& HelpFile() const { return helpFile_; }
  int32_t HelpContext() const { return helpContext_; }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
  std::string helpFile_;
  int32_t helpContext_;
};

// A plain record: every property stores what it is given, nothing is checked.
// Getters and setters share the property's name: Number() reads, Number(5) writes.
class clsLxError {
 public:
  // Stores the five values (LastDllError keeps its own) and throws them as an
  // LxRaisedError. what() is the description, or "Error <number>" when empty.
  [[noreturn]] void Raise(int32_t lngNumber, const std::string& strSource = {}, const std::string& strDescription = {},
                          const std::string& strHelpFile = {}, int32_t lngHelpContext = 0);
  // Every field back to 0 or the empty text.
  void Clear();

  void Source(const std::string& vData) { source_ = vData; }
  const std::string& Source() const { return source_; }
  void LastDllError(int32_t vData) { lastDllError_ = vData; }
  int32_t LastDllError() const { return lastDllError_; }
  void HelpFile(const std::string& vData) { helpFile_ = vData; }
  const std::string& HelpFile() const { return helpFile_; }
  void HelpContext(int32_t vData) { helpContext_ = vData; }
  int32_t HelpContext() const { return helpContext_; }
  void Description(const std::string& vData) { description_ = vData; }
  const std::string& Description() const { return description_; }
  void Number(int32_t vData) { number_ = vData; }
  int32_t Number() const { return number_; }

 private:
  int32_t number_ = 0;
  std::string description_;
  int32_t helpContext_ = 0;
  std::string helpFile_;
  int32_t lastDllError_ = 0;
  std::string source_;
};
