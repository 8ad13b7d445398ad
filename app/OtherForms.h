#pragma once
// The tool's windows besides the main window, the notices and the port setup, each in a
// unit of its own; code that reaches several of them includes this header.

#include "app/AssignForm.h"
#include "app/Conversion.h"
#include "app/HexKeyForm.h"
#include "app/IPSetting1.h"
#include "app/ImageSelect.h"
#include "app/ImageView.h"
#include "app/KeyForm.h"
#include "app/OKBottomDlg.h"
#include "app/OptionBox.h"
#include "app/VerBox.h"
