// Resource ids of the bulk marking dialog (range 4000-4099), in tab order.
// The radios of each group have consecutive ids in mark-list order, so a
// radio's position in its group is its id minus the group's first id.
// "OK" and "ｷｬﾝｾﾙ" are IDOK and IDCANCEL.
#pragma once

#define IDD_BULK_MARK_DIALOG 4000

#define IDC_BULK_GROUP_TARGET 4001
#define IDC_BULK_RADIO_ALL 4002
#define IDC_BULK_RADIO_UNMARKED 4003
#define IDC_BULK_RADIO_CHOSEN_MARK 4004
#define IDC_BULK_COMBO_CHOSEN_MARK 4005
#define IDC_BULK_RULE 4006
#define IDC_BULK_CHECK_UNMARKED_GROUPS 4007
#define IDC_BULK_GROUP_NEW_MARK 4008
#define IDC_BULK_RADIO_NEW_MARK_0 4009
#define IDC_BULK_RADIO_NEW_MARK_1 4010
#define IDC_BULK_RADIO_NEW_MARK_2 4011
#define IDC_BULK_RADIO_NEW_MARK_3 4012
#define IDC_BULK_RADIO_NEW_MARK_4 4013
