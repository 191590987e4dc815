// Resource ids of the report window (range 3000-3099). "閉じる" is IDOK, the
// default button, and ends the run; the window has no IDCANCEL control.
#pragma once

#define IDD_REPORT_WINDOW 3000

#define IDC_REPORT_EDIT_TEXT 3001
#define IDC_REPORT_BUTTON_SAVE 3002
