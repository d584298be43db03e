// Resource ids of the controls' tests (kept apart from the program's numbers).
#pragma once

#define IDB_TEST_SKIN 9001
#define IDB_TEST_HOVER3 9002
#define IDB_TEST_HOVER4 9003
#define IDB_TEST_SINGLE 9004

#define IDD_TEST_BUTTONS 9100
#define IDC_TEST_RADIO1 1201
#define IDC_TEST_RADIO2 1202
#define IDC_TEST_RADIO3 1203
#define IDC_TEST_CHECK 1204
#define IDC_TEST_PUSH 1205
#define IDC_TEST_RECORD 1206
#define IDC_TEST_COLOR 1207
#define IDC_TEST_AFTER 1208
