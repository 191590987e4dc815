// Resource ids of the main window (range 1000-1199): the dialog, its menu bar,
// its controls (IDC_MAIN_<kind>_<name>, in tab order) and its menu commands
// (IDM_<menu>_<item>, in the order of the menu bar).
//
// A menu item that runs the same command as a button carries the button's id,
// so both reach the same handler: "検索...(&S)", "リセット(&R)", "開く(&O)",
// "&0 - 解除" to "&3 - 削除", "完全比較(&C)", "&2 - 非重複の除外" and
// "レポート(&R)". "終了" and "終了(&X)" are IDCANCEL, like Escape, so every
// way of quitting is the dialog's cancel command. The other menu commands have
// ids of their own, rising in menu order.
//
// IDC_MAIN_BUTTON_THREAD_DONE is a hidden button: a worker ends its run by
// posting a WM_COMMAND with this id (the completion command).
#pragma once

#define IDD_MAIN_WINDOW 1000
#define IDR_MAIN_MENU 1001

#define IDC_MAIN_GROUP_CONDITIONS 1010
#define IDC_MAIN_CHECK_NAME 1011
#define IDC_MAIN_CHECK_EXTENSION 1012
#define IDC_MAIN_CHECK_SIZE 1013
#define IDC_MAIN_CHECK_CRC 1014
#define IDC_MAIN_CHECK_DATE 1015
#define IDC_MAIN_CHECK_PLUGIN1 1016
#define IDC_MAIN_CHECK_PLUGIN2 1017
#define IDC_MAIN_CHECK_PLUGIN3 1018
#define IDC_MAIN_BUTTON_EXCLUDE_UNIQUE 1019
#define IDC_MAIN_BUTTON_SEARCH 1020
#define IDC_MAIN_BUTTON_REPORT 1021
#define IDC_MAIN_BUTTON_RESET 1022
#define IDC_MAIN_CHECK_SHOW_INFO 1023
#define IDC_MAIN_LABEL_TREE 1024
#define IDC_MAIN_STATUS 1025
#define IDC_MAIN_PROGRESS 1026
#define IDC_MAIN_TREE 1027
#define IDC_MAIN_BUTTON_MARK_NONE 1028
#define IDC_MAIN_BUTTON_MARK_DUPLICATE 1029
#define IDC_MAIN_BUTTON_MARK_UNIQUE 1030
#define IDC_MAIN_BUTTON_MARK_DELETE 1031
#define IDC_MAIN_BUTTON_OPEN 1032
#define IDC_MAIN_BUTTON_FULL_COMPARE 1033
#define IDC_MAIN_BUTTON_QUIT 2  // IDCANCEL
#define IDC_MAIN_BUTTON_THREAD_DONE 1034

// "ファイル(&F)"
#define IDM_FILE_SEARCH IDC_MAIN_BUTTON_SEARCH
#define IDM_FILE_RESET IDC_MAIN_BUTTON_RESET
#define IDM_FILE_DELETE 1101
#define IDM_FILE_MOVE 1102
#define IDM_FILE_COPY 1103
#define IDM_FILE_EXIT IDC_MAIN_BUTTON_QUIT
// "編集(&E)"
#define IDM_EDIT_OPEN IDC_MAIN_BUTTON_OPEN
#define IDM_EDIT_MARK_NONE IDC_MAIN_BUTTON_MARK_NONE
#define IDM_EDIT_MARK_DUPLICATE IDC_MAIN_BUTTON_MARK_DUPLICATE
#define IDM_EDIT_MARK_UNIQUE IDC_MAIN_BUTTON_MARK_UNIQUE
#define IDM_EDIT_MARK_DELETE IDC_MAIN_BUTTON_MARK_DELETE
#define IDM_EDIT_MARK_COPY 1104
#define IDM_EDIT_BULK_MARK 1105
#define IDM_EDIT_FULL_COMPARE IDC_MAIN_BUTTON_FULL_COMPARE
#define IDM_EDIT_COMPARE_ALL 1106
#define IDM_EDIT_EXCLUDE_NONE 1107
#define IDM_EDIT_EXCLUDE_DUPLICATE 1108
#define IDM_EDIT_EXCLUDE_UNIQUE IDC_MAIN_BUTTON_EXCLUDE_UNIQUE
// "ツール(&T)"
#define IDM_TOOLS_MARK_BY_FOLDER 1109
#define IDM_TOOLS_PICK_ONE 1110
#define IDM_TOOLS_REPORT IDC_MAIN_BUTTON_REPORT
// "表示(&V)"
#define IDM_VIEW_THUMBNAIL 1111
#define IDM_VIEW_SHOW_UNIQUE 1112
// "ヘルプ(&H)"
#define IDM_HELP_CONTENTS 1113
#define IDM_HELP_ABOUT 1114
