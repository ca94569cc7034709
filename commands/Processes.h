// Starting the programs of the CD and opening a document, without waiting.
#pragma once
#include <windows.h>

#include <string>

// Starts a process with window style 1 (normal, focused) and lets it go.
// application: the exact program file, or nullptr to let the platform search
// for the first word of commandLine. The started program receives commandLine
// unchanged. False when no process was created.
bool StartProgram(const wchar_t* application, const std::wstring& commandLine);

// Opens a document with the program the system associates with its type.
bool OpenDocument(HWND owner, const std::wstring& path);
