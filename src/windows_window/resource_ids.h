// Identifiers of the Windows window's resources, shared by vessory.rc and the code.
#ifndef VESSORY_WINDOWS_WINDOW_RESOURCE_IDS_H_
#define VESSORY_WINDOWS_WINDOW_RESOURCE_IDS_H_

#define IDI_VESSORY 1
#define IDD_SUMMARY 100
#define IDC_SUMMARY_TEXT 101

#endif  // VESSORY_WINDOWS_WINDOW_RESOURCE_IDS_H_
