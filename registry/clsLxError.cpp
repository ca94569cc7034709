// The error record and the exception it raises.
#include "registry/clsLxError.h"

namespace {

std::string MessageFor(int32_t number, const std::string& description) {
  return description.empty() ? "Error " + std::to_string(number) : description;
}

}  // namespace

LxRaisedError::LxRaisedError(int32_t number, std::string source, std::string description, std::string helpFile,
                             int32_t helpContext)
    : std::runtime_error(MessageFor(number, description)),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)),
      helpFile_(std::move(helpFile)),
      helpContext_(helpContext) {}

void clsLxError::Raise(int32_t lngNumber, const std::string& strSource, const std::string& strDescription,
                       const std::string& strHelpFile, int32_t lngHelpContext) {
  number_ = lngNumber;
  description_ = strDescription;
  helpContext_ = lngHelpContext;
  helpFile_ = strHelpFile;
  source_ = strSource;
  throw LxRaisedError(number_, source_, description_, helpFile_, helpContext_);
}

void clsLxError::Clear() {
  source_.clear();
  lastDllError_ = 0;
  helpFile_.clear();
  helpContext_ = 0;
  description_.clear();
  number_ = 0;
}
