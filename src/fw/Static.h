// CStatic: a static control with an object behind it.
#ifndef TETHRA_FW_STATIC_H
#define TETHRA_FW_STATIC_H

#include "fw/Wnd.h"

class CStatic : public CWnd {};

#endif
