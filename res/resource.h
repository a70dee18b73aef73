// Resource ids shared by the resource script (res/tarn.rc) and the C++ code:
// dialog and menu templates, the controls of each dialog, menu commands.
// Plain #defines only, so windres can read this file. Control ids live in
// 1000..1999, menu commands in 32771..32899; the two ranges never meet, so a
// window tells a menu command from a control by its number alone.
#pragma once

// Labels that code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC -1
#endif

// Icon of the application (first icon of Tarn.exe).
#define IDI_MAIN 128

// ---- Main window (dialog 102) ----
#define IDD_MAIN 102
#define IDC_OPEN 1001
#define IDC_SAVE 1002
#define IDC_SAVE_AS 1003
#define IDC_SETTINGS 1004
#define IDC_PROGRAM_LIST 1005
#define IDC_ADD_LINE 1006
#define IDC_DELETE 1007
#define IDC_CONNECT 1008
#define IDC_ADDRESS 1010
#define IDC_READ_ALL 1011
#define IDC_WRITE_ALL 1012
#define IDC_PROGRAM_SIZE 1013
#define IDC_FIND_TEXT 1014
#define IDC_FIND 1015
#define IDC_PORT 1017
#define IDC_PROGRESS 1018

// ---- Communication settings (dialog 135, CCom_Dlg) ----
#define IDD_COMM_SETTINGS 135
#define IDC_COMM_SERIAL 1033
#define IDC_COMM_TCP 1034
#define IDC_COMM_PORT 1024
#define IDC_COMM_BAUD 1042
#define IDC_COMM_ADDRESS 1027
#define IDC_COMM_TCP_PORT 1025
#define IDC_COMM_AUTO_PORT 1043
#define IDC_COMM_AUTO_FILE 1036

// ---- Information (dialog 141, Cyingjianxinxi) ----
#define IDD_INFO 141
#define IDC_INFO_TEXT 1027
#define IDC_INFO_OK 1048
#define IDC_INFO_CANCEL 1049

// ---- Line editor (dialog 133, Cadd_in) ----
#define IDD_LINE_EDITOR 133
#define IDC_LINE_PARAM3 1025
#define IDC_LINE_OR 1036
#define IDC_LINE_REMARK 1037
#define IDC_LINE_KIND 1039
#define IDC_LINE_PARAM1 1040
#define IDC_LINE_PARAM2 1041
#define IDC_LINE_SIDE 1042
// "说明": the help window on the chosen kind (shown only with the usage extras).
#define IDC_LINE_HELP 1103

// ---- Function and thread lists (dialog 146, Chanshu_dlg) ----
#define IDD_SECTION_LIST 146
#define IDC_SECTIONS_LINES 1006
#define IDC_SECTIONS_DELETE 1007
#define IDC_SECTIONS_FIND_TEXT 1014
#define IDC_SECTIONS_FIND 1015
#define IDC_SECTIONS_IMPORT 1050
#define IDC_SECTIONS_EXPORT 1051
#define IDC_SECTIONS_ADD 1052
#define IDC_SECTIONS_LIST 1053
#define IDC_SECTIONS_DELETE_ALL 1054

// ---- Find (dialog 158, Cfind_dlg) ----
#define IDD_FIND 158
#define IDC_FIND_WINDOW_TEXT 1027

// ---- Global naming (dialog 137, Cmming_dlg) ----
#define IDD_NAMING 137
#define IDC_NAMING_NAME 1027
#define IDC_NAMING_COUNT 1028
#define IDC_NAMING_EXPORT 1029
#define IDC_NAMING_TEXT 1030
#define IDC_NAMING_APPLY 1032
#define IDC_NAMING_RESET_ALL 1033
#define IDC_NAMING_IMPORT 1044
#define IDC_NAMING_APPEND 1045
#define IDC_NAMING_CATEGORIES 1046
#define IDC_NAMING_ITEMS 1047
#define IDC_NAMING_LOCAL 1067

// ---- Local naming (dialog 151, C_mming_jubu_dlg) ----
#define IDD_LOCAL_NAMING 151
#define IDC_LOCAL_SECTIONS 1048
#define IDC_LOCAL_ITEMS 1047

// ---- Menus ----
#define IDR_MAIN_MENU 129
#define IDR_CONTEXT_MENU 143
// Orlo.exe's own menu bar and context menus: Tarn.exe's without the firmware
// update, with the usage extras; the context menus' sub-menus sit at the
// same positions as IDR_CONTEXT_MENU's.
#define IDR_ORLO_MENU 130
#define IDR_ORLO_CONTEXT_MENU 144
// Sub-menus of IDR_CONTEXT_MENU and IDR_ORLO_CONTEXT_MENU, by position.
#define CONTEXT_MAIN_LIST 0
#define CONTEXT_SECTION_LIST 1

// "文件"
#define ID_FILE_NEW 32771
#define ID_FILE_OPEN 32772
#define ID_FILE_SAVE 32773
#define ID_FILE_SAVE_AS 32774
#define ID_FILE_IMPORT 32775
#define ID_FILE_EXPORT 32776
#define ID_FILE_EXIT 32777
#define ID_FILE_IMPORT_MAIN 32778
#define ID_FILE_IMPORT_AT_SELECTION 32879
// "编辑"
#define ID_EDIT_DELETE 32779
#define ID_EDIT_DELETE_ALL 32780
#define ID_EDIT_FIND 32781
#define ID_EDIT_CUT 32783
#define ID_EDIT_COPY 32784
#define ID_EDIT_PASTE 32785
#define ID_EDIT_UNDO 32875
#define ID_EDIT_REDO 32876
#define ID_EDIT_INSERT_BEFORE 32877
#define ID_EDIT_INSERT_AFTER 32878
// "设置"
#define ID_SETTINGS_COMM 32792
#define ID_SETTINGS_FUNCTIONS 32793
#define ID_SETTINGS_THREADS 32794
#define ID_SETTINGS_RENAME 32795
// "工具"
#define ID_TOOLS_WIZARD 32782
#define ID_TOOLS_TERMINAL 32837
#define ID_TOOLS_RELAY_TEST 32838
// "通信"
#define ID_COMM_READ_ALL 32848
#define ID_COMM_WRITE_ALL 32849
#define ID_COMM_VERIFY 32874
#define ID_COMM_SET_CLOCK 32850
#define ID_COMM_READ_CLOCK 32851
#define ID_COMM_READ_ADDRESS 32856
#define ID_COMM_WRITE_ADDRESS 32857
#define ID_COMM_HARDWARE_INFO 32858
#define ID_COMM_HARDWARE_INFO2 32859
#define ID_COMM_FIRMWARE 32867
#define ID_COMM_FIRMWARE_115200 32869
// Example-program entries of the main list's context menu.
#define ID_EXAMPLE_SEND 32870
#define ID_EXAMPLE_JOG 32871
#define ID_EXAMPLE_LATCH 32872
#define ID_EXAMPLE_PACKET_SEND 32873
// "帮助" (Orlo.exe)
#define ID_HELP_KINDS 32880
#define ID_HELP_ABOUT 32881

// ---- Help on the condition and result kinds (dialog 160, Cshuoming_dlg) ----
#define IDD_KIND_HELP 160
#define IDC_HELP_SIDE 1100
#define IDC_HELP_KINDS 1101
#define IDC_HELP_TEXT 1102

// ---- About box (dialog 100, CAboutDlg) and its system-menu entry ----
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_PRODUCT 1090
#define IDC_ABOUT_FIRMWARE 1091
#define IDC_ABOUT_RELEASE 1092
#define IDC_ABOUT_BUILD_DATE 1093
// A system-menu command: a multiple of 16 below 0xF000.
#define IDM_ABOUTBOX 0x0010
