#include "cli/step_gate.h"

#include <cstdio>

#include "cli/disk_watch.h"
#include "cli/fill.h"
#include "cli/klar_prompt.h"
#include "cli/output_guard.h"
#include "platform/terminal_input.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {
namespace {

constexpr int kPollMs = 250;

}  // namespace

StepGate::StepGate(const CliRequest& request, std::istream& input, const DriveMap& drives,
                   const DriveChoice& drive, const StopToken& stop)
    : batch_(request.batch),
      automatic_(request.automatic),
      input_(input),
      drives_(drives),
      drive_(drive),
      stop_(stop) {}

bool StepGate::Open(int diskNumber) {
    bool go = true;
    if (automatic_) {
        go = AwaitDiskOrLine(diskNumber);
    } else if (!batch_) {
        go = AwaitKlar(input_, stdout);
    }
    return go && !stop_.Requested();
}

bool StepGate::AwaitDiskOrLine(int diskNumber) {
    Print(Fill(kAutoPrompt, std::to_string(diskNumber)));
    while (!stop_.Requested()) {
        const std::string disk = MountedDisk(drives_, drive_.driveIndex);
        if (!disk.empty() && disk != lastDisk_) {
            lastDisk_ = disk;
            Print("\n");
            return true;
        }
        if (batch_) {
            PauseFor(kPollMs);
            continue;
        }
        switch (PollLine(kPollMs)) {
            case Typed::kNothing:
                break;
            case Typed::kLine:
                lastDisk_ = MountedDisk(drives_, drive_.driveIndex);
                return true;
            case Typed::kStop:
                Print("\n");
                return false;
        }
    }
    return false;
}

StepGate::Typed StepGate::PollLine(int timeoutMs) {
    const auto typed = TakeTypedInput(timeoutMs);
    if (!typed) {
        return Typed::kStop;
    }
    if (typed->empty()) {
        return Typed::kNothing;
    }
    typed_ += *typed;
    const auto end = typed_.find('\n');
    if (end == std::string::npos) {
        return Typed::kNothing;
    }
    const std::string line = typed_.substr(0, end);
    typed_.erase(0, end + 1);
    return IsStopAnswer(line) ? Typed::kStop : Typed::kLine;
}

std::optional<std::string> AutoRefusal(const CliRequest& request, const DriveMap& drives,
                                       const DriveChoice& drive) {
    if (!request.automatic) {
        return std::nullopt;
    }
    const DriveMapping* mapping = drives.Find(drive.driveIndex);
    const bool mounted = mapping != nullptr &&
                         (mapping->kind == DriveKind::Media || mapping->kind == DriveKind::Device ||
                          mapping->kind == DriveKind::RemovableDisk);
    if (mounted) {
        return std::nullopt;
    }
    return Fill(kAutoNeedsMountedDrive, drive.Root());
}

}  // namespace torvanik::cli
