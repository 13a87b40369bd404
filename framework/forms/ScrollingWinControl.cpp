#include "framework/forms/ScrollingWinControl.h"

#include "framework/core/Property.h"

IMPLEMENT_CLASS(TScrollingWinControl)
