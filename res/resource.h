// Identifiers shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX    100
#define IDS_ABOUTBOX    101
#define IDD_MAIN        102
#define IDR_MAINFRAME   128
#define IDB_FONT_ITEM   130

#define IDC_FONT_LIST   1000
#define IDC_MODIFY      1007
#define IDC_REMOVE      1008
#define IDC_ABOUT       1009
#define IDC_DATE        1010

#define IDM_ABOUTBOX    0x0010

#define IDS_NO_ASSIGNED             59142
#define IDS_MISSING_FILE            200
#define IDS_NOT_A_FONT              201
#define IDS_BAD_VALUE               202

#ifndef IDC_STATIC
#define IDC_STATIC      (-1)
#endif
