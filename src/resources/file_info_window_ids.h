// Resource ids of the file information window (range 6000-6099): the page
// drop-down list and the text box below it.
#pragma once

#define IDD_FILE_INFO_WINDOW 6000

#define IDC_FILE_INFO_COMBO_PAGE 6001
#define IDC_FILE_INFO_EDIT_TEXT 6002
