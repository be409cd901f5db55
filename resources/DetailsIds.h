#pragma once
// Resource and control ids of the Answer Details window.

#define IDD_ANSWER_DETAILS 130

#define IDC_ANSWER_DETAILS_TEXT 1300
