// Resource ids of the About box (range 400-499). "OK" is IDOK and closes the
// box; the home page button opens the address of IDS_HOME_PAGE.
#pragma once

#define IDD_ABOUT_BOX 400

#define IDC_ABOUT_ICON 401
#define IDC_ABOUT_TEXT 402
#define IDC_ABOUT_BUTTON_HOME_PAGE 403
