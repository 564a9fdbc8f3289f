#pragma once
// The one place the program's version and names are written; the window
// caption and the file's version record both come from here.
#define VENBROOK_VERSION_MAJOR 1
#define VENBROOK_VERSION_MINOR 1
#define VENBROOK_VERSION_PATCH 0
#define VENBROOK_VERSION_BUILD 0
#define VENBROOK_VERSION_TEXT "1.1.0.0"
#define VENBROOK_PRODUCT_NAME "Venbrook"
#define VENBROOK_DESCRIPTION "支持云更新、网维大师导出成QQ网吧格式"
#define VENBROOK_WEB_ADDRESS "https://venbrook.github.io"
#define VENBROOK_CAPTION "Venbrook1.1-Talsin " VENBROOK_WEB_ADDRESS
