#pragma once
// Resource and control identifiers of Quillet.exe.

#define IDR_MANIFEST 1
#define IDI_APP 101
#define IDC_TEXT 1001
// Menu commands are IDM_FIRST plus the item's MenuItem number (menu_bar.h).
#define IDM_FIRST 40000

// The find dialog, built in code.
#define IDC_FIND_LABEL 2001
#define IDC_FIND_FIELD 2002
#define IDC_REPLACE_LABEL 2003
#define IDC_REPLACE_FIELD 2004
#define IDC_MATCH_CASE 2005
#define IDC_FIND_BUTTON 2006
#define IDC_CANCEL_BUTTON 2007
#define IDC_REPLACE_ALL_BUTTON 2008
