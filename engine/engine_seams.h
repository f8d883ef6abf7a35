#pragma once

#include "engine/drive_choice.h"
#include "engine/questions.h"
#include "engine/record_store.h"
#include "engine/transfer_report.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"

namespace torvanik {

// The outside world of the engine as its front end gives it: the questions, the files,
// the drives and the drive chosen, who hears the reports (none: nobody listens), and where
// transfers are kept between runs (none: they are not).
struct EngineSeams {
    Questions& questions;
    FileSystem& files;
    const DriveMap& drives;
    DriveChoice& drive;
    TransferObserver* observer = nullptr;
    const RecordStore* records = nullptr;
};

}  // namespace torvanik
