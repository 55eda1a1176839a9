#pragma once

// Resource numbers shared by the resource script and the program.
#define IDI_PROGRAM 1

// Bitmaps: the pages' pictures and the 10 x 10 button pictures.
#define IDB_SIDE_PICTURE 2
#define IDB_BANNER 3
#define IDB_ACCEPT 4
#define IDB_CANCEL 5
#define IDB_BROWSE 6
#define IDB_RETRY 7

// Controls of the pages and of the progress window; one number means the
// same control in every template.
#define IDC_SEPARATOR 66
#define IDC_ACCEPT 1001
#define IDC_CANCEL_PAGE 1003
#define IDC_TEXT_VIEW 1005
#define IDC_PROGRESS_BAR 1007
#define IDC_PAGE_TEXT 1009
#define IDC_PROGRESS_ITEM 1011
#define IDC_BROWSE 1013
#define IDC_FOLDER 1015
#define IDC_LANGUAGES 1017
#define IDC_PASSWORD 1019
#define IDC_SIDE_PICTURE 1021
#define IDC_RUN_PROGRAM 1023
#define IDC_LAUNCH 1025
#define IDC_VIEW_LOG 1027
#define IDC_OPEN_DOCUMENT 1029
#define IDC_BANNER 1032
#define IDC_BANNER_HEADING 1034
#define IDC_BANNER_TITLE 1035
#define IDC_SPACE_REQUIRED 1036
#define IDC_SPACE_AVAILABLE 1037
