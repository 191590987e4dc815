// Resource ids of the move destination dialog (range 5000-5049), in tab
// order. "実行" is IDOK and "ｷｬﾝｾﾙ" is IDCANCEL.
#pragma once

#define IDD_MOVE_TARGET_DIALOG 5000

#define IDC_MOVE_LABEL_FOLDER 5001
#define IDC_MOVE_EDIT_FOLDER 5002
#define IDC_MOVE_BUTTON_BROWSE 5003
