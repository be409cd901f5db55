// This build has no command list editor yet; the console says so when asked for it.
#include "console/CommandListEditor.h"

bool RunCommandListEditor(HWND) { return false; }
