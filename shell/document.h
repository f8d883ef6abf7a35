#pragma once

#include <QString>

#include "engine/drive_choice.h"
#include "engine/record_store.h"
#include "engine/transfer.h"

namespace torvanik {

// The window's document: the one transfer of the window, the drive chosen for it, and where
// stopped transfers are kept. Its files are on the disks, so closing the window asks nothing.
struct Document {
    Transfer transfer;
    DriveChoice drive;
    RecordStore records;

    // The document-name field of the main window's template string: the caption.
    static QString Title();
};

}  // namespace torvanik
