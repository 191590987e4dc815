// Resource ids of the folder marking dialog (range 4100-4199), in tab order.
// The mark radios have consecutive ids in mark-list order, so a radio's
// position is its id minus IDC_DIRMARK_RADIO_MARK_0. "OK" and "ｷｬﾝｾﾙ" are
// IDOK and IDCANCEL.
#pragma once

#define IDD_DIRECTORY_MARK_DIALOG 4100

#define IDC_DIRMARK_GROUP_FOLDER 4101
#define IDC_DIRMARK_LABEL_FOLDER 4102
#define IDC_DIRMARK_EDIT_FOLDER 4103
#define IDC_DIRMARK_BUTTON_BROWSE 4104
#define IDC_DIRMARK_CHECK_SUBFOLDERS 4105
#define IDC_DIRMARK_CHECK_ONLY_DUPLICATES 4106
#define IDC_DIRMARK_GROUP_ACTION 4107
#define IDC_DIRMARK_RADIO_MARK_0 4108
#define IDC_DIRMARK_RADIO_MARK_1 4109
#define IDC_DIRMARK_RADIO_MARK_2 4110
#define IDC_DIRMARK_RADIO_MARK_3 4111
#define IDC_DIRMARK_RADIO_MARK_4 4112
