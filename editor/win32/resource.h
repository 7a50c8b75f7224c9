#pragma once
// Resource and control identifiers of Quillet.exe.

#define IDR_MANIFEST 1
#define IDI_APP 101
#define IDC_RICH 1001
// Menu commands are IDM_FIRST plus the item's MenuItem number (menu_bar.h).
#define IDM_FIRST 40000


// The find dialog frmFind, built in code.
#define IDC_FIND_LBLFIND 2001
#define IDC_FIND_CBOFIND 2002
#define IDC_FIND_LBLREPLACE 2003
#define IDC_FIND_CBOREPLACE 2004
#define IDC_FIND_CHKMATCHCASE 2005
#define IDC_FIND_CMDFIND 2006
#define IDC_FIND_CMDCANCEL 2007
#define IDC_FIND_CMDREPLACEALL 2008
