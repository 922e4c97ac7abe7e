// Every resource and control id of Tethra, each named once.
#ifndef TETHRA_RES_RESOURCE_H
#define TETHRA_RES_RESOURCE_H

#include "fw/AfxRes.h"

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_LOCKPANEL 133
#define IDD_PASSWORD_PROMPT 135
#define IDD_SETTINGS 136
#define IDD_CHANGE_PASSWORD 137

// Frame resources (menu, icon, title string, and the menu pictures: a
// toolbar resource naming the commands and its bitmap), bitmaps and icons
#define IDR_MAINFRAME 128
#define IDB_CHECKMARK 132
// The toolbar resource type, for the resource script.
#define RT_TOOLBAR_TYPE 241
#define IDB_BANNER 134
#define IDI_PASSWORD 138
#define IDI_SETTINGS 139
#define IDI_PROMPT 140

// Controls
#define IDC_LOCK 1000
#define IDC_SETTINGS 1002
#define IDC_BANNER 1006
#define IDC_PASSWORD 1007

// Controls of the settings dialog
#define IDC_CHANGE_PASSWORD 1008
#define IDC_INIT_TRAY 1009
#define IDC_INIT_LOCK 1010
#define IDC_AUTORUN 1011
#define IDC_UNLOCK_HIDE 1012
#define IDC_UNLOCK_QUIT 1013
#define IDC_PROTECT_RESTART 1014
#define IDC_TIME_LOCK 1015
#define IDC_AFTER_RUNNING 1016
#define IDC_AT_CLOCK 1017
#define IDC_AFTER_TIME 1018
#define IDC_ON_TIME 1019
#define IDC_HOTKEY 1020
#define IDC_HOTKEY_LABEL 1021
#define IDC_IDLE_LOCK 1022
#define IDC_IDLE_MINUTES 1023
#define IDC_IDLE_SPIN 1024

// Controls of the change-password dialog
#define IDC_OLD_PASSWORD 1010
#define IDC_NEW_PASSWORD 1011
#define IDC_REPEAT_PASSWORD 1012

// Commands of menu 128
#define ID_SLEEP 32771
#define ID_RESTART 32772
#define ID_SHUTDOWN 32773
#define ID_LOGOFF 32774
#define ID_LOCK 32775
#define ID_SETTINGS 32776
#define ID_SHOW 32779
#define ID_HOMEPAGE 32780
#define ID_EMAIL 32781

// Messages from the string table
#define IDS_WRONG_PASSWORD 57666
#define IDS_PASSWORDS_DIFFER 57667
#define IDS_PASSWORD_CHANGED 57668
#define IDS_WRITE_FAILED 57669
#define IDS_UNSUPPORTED_SYSTEM 57670
#define IDS_NO_DATE_PICKER 57671
// The lock panel's first button, locked and unlocked.
#define IDS_LOCK 57678
#define IDS_UNLOCK 57679
#define IDS_HOTKEY_REFUSED 57672
#define IDS_HOTKEY_TAKEN 57673
#define IDS_WRONG_PASSWORDS 57674
#define IDS_IDLE_MINUTES_RANGE 57675

#endif
