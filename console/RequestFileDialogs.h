#pragma once
// The request file operations that ask the user for a file name.
#include <windows.h>

#include "console/ListEditor.h"

// The Save dialog, then the written form of the first count entries. true when the file was written;
// a failure has been shown to the user.
bool SaveRequestFileAs(HWND owner, const EditorLists& lists, int count);
