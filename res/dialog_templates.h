#pragma once

#include "res/dialog_template.h"

// The program's three dialog templates.
namespace torvanik {

extern const DialogTemplate AboutTemplate;         // IDD_ABOUT
extern const DialogTemplate SelectDriveTemplate;   // IDD_SELECT_DRIVE
extern const DialogTemplate AbortConfirmTemplate;  // IDD_ABORT_CONFIRM

}  // namespace torvanik
