// Identifiers of the resource template that every Qorin program carries.
// Plain #defines, so that both the Windows resource compiler and C++ can include this file.
#pragma once

#define IDS_APP_TITLE 103
#define IDD_ABOUTBOX 103
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDI_QORIN 107
#define IDI_SMALL 108
#define IDC_QORIN 109
#define IDR_MAINFRAME 128
#ifndef IDC_STATIC
#define IDC_STATIC -1
#endif
