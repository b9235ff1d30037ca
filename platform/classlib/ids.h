// Command ids, window ids and private messages of the class library. Only
// #define lines, so that resource scripts can include this file too.
#pragma once

// Commands the library handles itself.
#define ID_APP_EXIT 0xE141

// Child window ids of a frame.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900

// Frame style bits kept in the low word of a frame's window style.
#define FWS_SNAPTOBARS 0x0200
#define FWS_PREFIXTITLE 0x4000
#define FWS_ADDTOTITLE 0x8000

// Private messages of the library.
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364

// A notification that a parent reflects to the child it came from arrives
// at the child as WM_REFLECT_BASE + the original message.
#define WM_REFLECT_BASE 0xBC00

// The one message under which message maps list every WM_CTLCOLORxxx.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// The frame's dock bars, and the dock bar of a floating frame.
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F
