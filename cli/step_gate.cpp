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

KlarAnswer StepGate::Open(int number, bool parityDisk) {
    KlarAnswer answer = KlarAnswer::kReady;
    if (automatic_) {
        answer = AwaitDiskOrLine(number, parityDisk);
    } else if (!batch_) {
        answer = AwaitKlar(input_, stdout);
    }
    return stop_.Requested() ? KlarAnswer::kStop : answer;
}

KlarAnswer StepGate::AwaitDiskOrLine(int number, bool parityDisk) {
    Print(Fill(parityDisk ? kAutoParityPrompt : kAutoPrompt, std::to_string(number)));
    while (!stop_.Requested()) {
        const std::string disk = MountedDisk(drives_, drive_.driveIndex);
        if (!disk.empty() && disk != lastDisk_) {
            lastDisk_ = disk;
            Print("\n");
            return KlarAnswer::kReady;
        }
        if (batch_) {
            PauseFor(kPollMs);
            continue;
        }
        if (const auto answer = PollLine(kPollMs)) {
            if (*answer == KlarAnswer::kStop) {
                Print("\n");
            } else {
                lastDisk_ = MountedDisk(drives_, drive_.driveIndex);
            }
            return *answer;
        }
    }
    return KlarAnswer::kStop;
}

std::optional<KlarAnswer> StepGate::PollLine(int timeoutMs) {
    const auto typed = TakeTypedInput(timeoutMs);
    if (!typed) {
        return KlarAnswer::kStop;
    }
    typed_ += *typed;
    const auto end = typed_.find('\n');
    if (end == std::string::npos) {
        return std::nullopt;
    }
    const std::string line = typed_.substr(0, end);
    typed_.erase(0, end + 1);
    return AnswerOf(line);
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
