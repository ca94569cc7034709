#include "toolkit/MsgBox.h"

namespace tk {

int MsgBox(HWND owner, const std::wstring& prompt, UINT buttons, const std::wstring& title) {
  return MessageBoxW(owner, prompt.c_str(), title.c_str(), buttons);
}

}  // namespace tk
