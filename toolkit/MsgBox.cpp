#include "toolkit/MsgBox.h"

namespace tk {

int MsgBox(const std::wstring& prompt, UINT buttons, const std::wstring& title) {
  return MessageBoxW(GetActiveWindow(), prompt.c_str(), title.c_str(), buttons);
}

}  // namespace tk
