#pragma once

// Everything a host needs to embed the draw history control.

#include <qrt/AppManager.h>
#include <qrt/Automation.h>
#include <qrt/CommonDialog.h>
#include <qrt/FlexGrid.h>
#include <qrt/HostContract.h>
#include <qrt/MsgBox.h>
#include <qrt/RuntimeError.h>
#include <qrt/Settings.h>
#include <qrt/ShellExecute.h>
