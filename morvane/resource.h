#pragma once

// Resource, control and command identifiers of Morvane Convert, shared by the templates and
// the code.
#define IDD_MORVANE_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_WORKING 129

#define IDC_FILELIST 1000
#define IDC_PROGRESS 1001
#define IDC_PROCESSING 1002
#define IDC_NOERRORS 1003
#define IDC_WRITEPCX 1004
#define IDC_WRITEPNG 1005
#define IDC_PREVIEW 1006
#define IDC_PREVDIRECTION 1007
#define IDC_DIRECTIONTEXT 1008
#define IDC_NEXTDIRECTION 1009
#define IDC_PREVFRAME 1010
#define IDC_FRAMETEXT 1011
#define IDC_NEXTFRAME 1012
#define IDC_PLAY 1013

// Browse and Select All are the dialog's buttons 3 and 4.
#define IDC_BROWSE 3
#define IDC_SELECTALL 4
