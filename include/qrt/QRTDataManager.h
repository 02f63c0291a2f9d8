#pragma once

// Everything a host needs to embed the draw history control.

#include "AppManager.h"
#include "Automation.h"
#include "CommonDialog.h"
#include "FlexGrid.h"
#include "HostContract.h"
#include "KeySynthesis.h"
#include "MsgBox.h"
#include "RuntimeError.h"
#include "Settings.h"
#include "ShellExecute.h"
#include "Twips.h"
