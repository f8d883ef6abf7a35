#pragma once

#include "res/dialog_template.h"

// The program's dialog templates.
namespace torvanik {

extern const DialogTemplate AboutTemplate;         // IDD_ABOUT
extern const DialogTemplate SelectDriveTemplate;   // IDD_SELECT_DRIVE
extern const DialogTemplate AbortConfirmTemplate;  // IDD_ABORT_CONFIRM
// Its texts carry %1, the disks finished, and %2, the disk to go on with.
extern const DialogTemplate ResumeConfirmTemplate;  // IDD_RESUME_CONFIRM
// Its texts carry %1, the disk that failed.
extern const DialogTemplate TakeFromParityTemplate;  // IDD_TAKE_FROM_PARITY

}  // namespace torvanik
