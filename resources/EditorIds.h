#pragma once
// Resource and control ids of the command list editor.

#define IDD_COMMAND_LIST 117

#define IDC_EDITOR_COMMAND 1021
#define IDC_EDITOR_DESCRIPTION 1024
#define IDC_ADD_COMMAND 1051
#define IDC_DELETE_COMMAND 1053
#define IDC_CHANGE_COMMAND 1054
#define IDC_SAVE_FILE 1055
