// Resource ids of the relay tools' dialogs, shared by their resource
// templates and the tools' window classes: the command wizard (dialog 131),
// the relay test panel (dialog 40001) and the debug terminal (dialog 148).
// Plain #defines only, so windres can read this file.
#pragma once

// ---- Relay command wizard "继电器板指令生成向导V1.7" (dialog 131) ----
#define IDD_RELAY_WIZARD 131
#define IDC_WIZ_PARAM_LABEL 1013
#define IDC_WIZ_REPLY_LABEL 1014
#define IDC_WIZ_ADDRESS_LABEL 1020
#define IDC_WIZ_CHANNEL_LABEL 1021
#define IDC_WIZ_ADDRESS 1022
#define IDC_WIZ_OPERATION 1023
#define IDC_WIZ_CHANNEL 1024
#define IDC_WIZ_PARAM 1025
#define IDC_WIZ_REPLY 1026
#define IDC_WIZ_OUTPUT 1027
#define IDC_WIZ_GENERATE 1028
#define IDC_WIZ_HELP 1029
#define IDC_WIZ_SEND 1030

// ---- Relay test panel "测试工具" (dialog 40001) ----
#define IDD_RELAY_TEST 40001
#define IDC_RT_WRITE_ADDRESS 40002
#define IDC_RT_QUERY 40003
#define IDC_RT_ALL_CLOSE 40004
#define IDC_RT_ALL_OPEN 40005
#define IDC_RT_READ_ADDRESS 40006
#define IDC_RT_ADDRESS 40007
// The buttons of channels 1 to 32: IDC_RT_CHANNEL_FIRST + n - 1.
#define IDC_RT_CHANNEL_FIRST 40008
#define IDC_RT_CHANNEL_LAST 40039

// ---- Debug terminal "调试窗口" (dialog 148) ----
#define IDD_TERMINAL 148
#define IDC_TERM_LABEL_HEX 1013
#define IDC_TERM_LABEL_DATA 1021
#define IDC_TERM_RECEIVE 1027
#define IDC_TERM_CLEAR 1029
#define IDC_TERM_RECEIVE_ON 1054
#define IDC_TERM_HEX_DISPLAY 1064
#define IDC_TERM_LABEL_ACTION 1070
// Send line 1 to 5: hex check box, text box, "发送" button.
#define IDC_TERM_HEX1 1057
#define IDC_TERM_TEXT1 1056
#define IDC_TERM_SEND1 1055
#define IDC_TERM_HEX2 1058
#define IDC_TERM_TEXT2 1059
#define IDC_TERM_SEND2 1060
#define IDC_TERM_HEX3 1061
#define IDC_TERM_TEXT3 1062
#define IDC_TERM_SEND3 1063
#define IDC_TERM_HEX4 1067
#define IDC_TERM_TEXT4 1068
#define IDC_TERM_SEND4 1069
#define IDC_TERM_HEX5 1073
#define IDC_TERM_TEXT5 1074
#define IDC_TERM_SEND5 1075
