#pragma once

#include "engine/drive_choice.h"
#include "engine/questions.h"
#include "engine/record_store.h"
#include "engine/stop_token.h"
#include "engine/transfer_report.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"

namespace torvanik {

// The outside world of the engine as its front end gives it: the questions, the files,
// the drives and the drive chosen, who hears the reports (none: nobody listens), where
// transfers are kept between runs (none: they are not), and the stop it may request (none:
// the steps run to their end).
struct EngineSeams {
    Questions& questions;
    FileSystem& files;
    const DriveMap& drives;
    DriveChoice& drive;
    TransferObserver* observer = nullptr;
    const RecordStore* records = nullptr;
    const StopToken* stop = nullptr;
};

inline bool StopRequested(const EngineSeams& seams) {
    return seams.stop != nullptr && seams.stop->Requested();
}

}  // namespace torvanik
