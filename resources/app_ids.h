// Resource ids of the application core.
#pragma once

#define IDS_APP_TITLE 57344

// The program's icon.
#define IDI_HARBECK 116

// The application's commands.
#define ID_APP_ABOUT 57664
#define ID_DEFAULT_HELP 57671
#define ID_OPTION 32778
#define ID_SEARCH_PATH 32800
#define ID_LICENSE_AGREEMENT 32801
#define ID_HOME_PAGE 32804
#define ID_OTHER_PRODUCTS 32805
#define ID_SHORTCUT_LIST 32934

// "文件未能发现 :", before the path of a missing file.
#define IDS_FILE_NOT_FOUND 61283

// The About box and its pictures.
#define IDD_ABOUTBOX 101
#define IDB_ABOUT_BANNER 159
#define IDB_ABOUT_LOGO 185
#define IDC_ABOUT_VERSION 1109
#define IDC_ABOUT_DOWNLOAD 1110
#define IDC_ABOUT_HOME_PAGE 1111
#define IDC_ABOUT_SUPPORT_MAIL 1112
#define IDC_ABOUT_COOPERATION_MAIL 1347
#define IDC_ABOUT_PROJECT 1357

// The agreement dialog.
#define IDD_LICENSE 147
#define IDC_LICENSE_TITLE 1075
#define IDC_LICENSE_TEXT 1076

// The update notice.
#define IDD_UPDATE_NOTICE 242
#define IDC_UPDATE_VERSION 1355
#define IDC_UPDATE_FEATURES 1356
