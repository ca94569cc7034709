// Starting the programs of the CD and opening a document, without waiting.
#pragma once
#include <windows.h>

#include <shellapi.h>

#include <string>

// The platform calls that start a program, in one place so that a test can
// play the answers that Windows gives and Wine never does: Wine runs every
// program as an administrator, so it never refuses a set-up that needs one.
struct ProcessCalls {
  decltype(&CreateProcessW) createProcess = CreateProcessW;
  decltype(&ShellExecuteExW) shellExecuteEx = nullptr;  // nullptr: shell32's, loaded when needed
};
extern ProcessCalls g_processCalls;

// Starts a process with window style 1 (normal, focused) and lets it go.
// application: the exact program file, or nullptr to let the platform search
// for the first word of commandLine. The started program receives commandLine
// unchanged. False when no process was created.
bool StartProgram(const wchar_t* application, const std::wstring& commandLine);

// Starts a set-up program as StartProgram(program, program + " " + parameters)
// does. Where Windows refuses that because the set-up needs administrator
// rights (User Account Control: its manifest asks for them, or installer
// detection saw "setup" in its name), the shell starts it instead and asks
// the user for consent: program as the file, parameters as its arguments,
// owner as the consent's owner. False when no process was started, consent
// declined included; the shell shows no error of its own.
bool StartSetup(HWND owner, const std::wstring& program, const std::wstring& parameters);

// Opens a document with the program the system associates with its type.
bool OpenDocument(HWND owner, const std::wstring& path);
