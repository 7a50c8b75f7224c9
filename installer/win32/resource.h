#pragma once
// Resource IDs of Install.exe.

#define IDI_INSTALLER 1
