#pragma once
// Resource and control ids of the CT-BCS panel and its parameter and waiting dialogs.

#define IDD_BCS_PANEL 112
#define IDD_CARD_PARAMETERS 113
#define IDD_WAITING 114

// The panel.
#define IDC_BCS_CT_INFO 1028
#define IDC_BCS_ICC_STATUS 1030
#define IDC_BCS_REQUEST_ICC 1031
#define IDC_BCS_EJECT_ICC 1032
#define IDC_BCS_CT_INIT 1038
#define IDC_BCS_CT_CLOSE 1039
#define IDC_BCS_RESET_CT 1040
#define IDC_BCS_RESET_ICC 1041
#define IDC_BCS_INPUT_LABEL 1042
#define IDC_BCS_CONFIG_LABEL 1043

// The parameter dialog of Request and Eject ICC.
#define IDC_WAITING_TIME 1033
#define IDC_ACOUSTIC_SIGNAL 1035

// The waiting window.
#define IDC_WAITING_TEXT 1036
#define IDC_WAITING_ICON 1037
