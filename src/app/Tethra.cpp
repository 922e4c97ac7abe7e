// The one application object; WinMain finds it through AfxGetApp.
#include "app/TethraApp.h"

CTethraApp theApp;
