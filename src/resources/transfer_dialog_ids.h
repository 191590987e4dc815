// Resource ids of the progress window of a move or copy (range 5050-5099).
// "ｷｬﾝｾﾙ" is IDCANCEL. IDC_TRANSFER_COMMAND_DONE is no control: it is the
// command the worker posts as its last act.
#pragma once

#define IDD_TRANSFER_DIALOG 5050

#define IDC_TRANSFER_TEXT_FILE 5051
#define IDC_TRANSFER_PROGRESS 5052
#define IDC_TRANSFER_COMMAND_DONE 5099
