#include "launcher/mdlMain.h"

#include <objbase.h>

#include <exception>
#include <memory>
#include <string>

#include "launcher/frmMain.h"
#include "launcher/mdlLanguage.h"
#include "toolkit/Fatal.h"

int Main(HINSTANCE instance) {
  // Help may open the notes through the shell, whose association handlers
  // expect COM on the calling thread: initialised once, for the program's
  // one thread, in an apartment of its own.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  SelectLanguage();
  std::unique_ptr<frmMain> form;
  try {
    tk::Form::RegisterClasses(instance);
    form = std::make_unique<frmMain>();
    form->Show();
  } catch (const std::exception& e) {
    // The load handler has no error handling of its own: a failure there, or
    // a window that cannot be made, is reported like any unrecoverable
    // run-time error, and the program ends.
    form.reset();
    tk::FatalError(std::string("Run-time error while loading the menu:\n") + e.what());
  }
  int code = tk::Form::RunMessageLoop();
  return code;
}
