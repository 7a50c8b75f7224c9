#pragma once
// Resource and control identifiers of Quillet.exe.

#define IDR_MANIFEST 1
#define IDI_APP 101
#define IDC_RICH 1001
