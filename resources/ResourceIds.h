#pragma once
// Resource and control ids of Kelvanor, shared by the resource script and the code.

#define IDR_MAINMENU 101
#define IDI_KELVANOR 31234

#define IDD_CT_NUMBER 106
#define IDD_PORT_NUMBER 107

#define IDC_CT_NUMBER_FIELD 1049
#define IDC_PORT_LIST 1024

// Menu commands of the main window.
#define ID_TEST_CT 40001
#define ID_CT_NUMBER 40002
#define ID_PORT_NUMBER 40003
#define ID_EXIT 40005
#define ID_CT_BCS 40007
#define ID_LOG_FILE 40009
#define ID_ANSWER_DETAILS 40011
// Has no handler anywhere, so an item carrying it shows disabled.
#define ID_INERT 2048

#include "resources/BcsIds.h"
#include "resources/ConsoleIds.h"
#include "resources/DetailsIds.h"
#include "resources/EditorIds.h"
