// Resources shared by the whole program: the application icon, the tree's
// mark image strip and the string table. Plain #defines, usable from both the
// resource script and C++.
//
// IDI_TWINSEEK has the lowest icon id, so it is the program's first icon
// (the one the shell shows for twinseek.exe).
// IDB_MARK_IMAGES is a 112 x 16 bitmap of seven 16 x 16 images, one per mark
// code 0 to 6 in that order; pure white (255, 255, 255) is transparent.
// IDS_HOME_PAGE is the home page address that the About box opens.
#pragma once

#define IDI_TWINSEEK 1

#define IDB_MARK_IMAGES 10
#define MARK_IMAGE_SIZE 16
#define MARK_IMAGE_COUNT 7

#define IDS_HOME_PAGE 100
