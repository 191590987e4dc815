// The early-build window shown until the main window exists.
#pragma once

#define IDD_EARLY_BUILD 100
#define IDC_EARLY_BUILD_TEXT 101
