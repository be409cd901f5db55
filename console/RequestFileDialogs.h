#pragma once
// The request file operations that ask the user for a file name.
#include <windows.h>

#include "console/ListEditor.h"

enum class RequestLoad { Cancelled, NotOpened, Loaded };

// OpenFile: the Open dialog, then the chosen file into the lists. Any outcome but Cancelled means a
// file was chosen; failures and a load cut short have been shown to the user.
RequestLoad OpenRequestFile(HWND owner, CommandLists& lists);

// The Save dialog, then the written form of the first count entries. true when the file was written;
// a failure has been shown to the user.
bool SaveRequestFileAs(HWND owner, const EditorLists& lists, int count);
