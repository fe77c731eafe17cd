// Identifiers shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX    100
#define IDS_ABOUTBOX    101
#define IDD_MAIN        102
#define IDD_CHARACTERS  103
#define IDR_MAINFRAME   128
#define IDB_FONT_ITEM   130

#define IDC_FONT_LIST   1000
#define IDC_MODIFY      1007
#define IDC_REMOVE      1008
#define IDC_ABOUT       1009
#define IDC_DATE        1010
#define IDC_CHAR_GRID       1020
#define IDC_CHAR_PREVIEW    1021
#define IDC_CHAR_CODE       1022
#define IDC_CHAR_BIG5       1023
#define IDC_CHAR_COUNT      1024

#define IDM_ABOUTBOX    0x0010
#define IDM_CHARACTERS  0x0020

#define IDS_NO_ASSIGNED             59142
#define IDS_MISSING_FILE            200
#define IDS_NOT_A_FONT              201
#define IDS_BAD_VALUE               202
#define IDS_CHARACTERS              210
#define IDS_CHARS_UNCHECKED         211
#define IDS_CHARS_UNLINKED          212
#define IDS_CHARS_MISSING_FILE      213
#define IDS_CHARS_NOT_A_FONT        214
#define IDS_CHARS_BAD_VALUE         215
#define IDS_CHARS_UNREADABLE        216
#define IDS_CHARS_COUNT             217
#define IDS_CHARS_NO_BIG5           218
#define IDS_CHARS_READING           219

#ifndef IDC_STATIC
#define IDC_STATIC      (-1)
#endif
