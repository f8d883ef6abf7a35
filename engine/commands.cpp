#include "engine/commands.h"

#include <algorithm>

#include "engine/check_file.h"
#include "engine/disk_set.h"
#include "engine/join_parity.h"
#include "engine/join_step.h"
#include "engine/parity_disk_read.h"
#include "engine/parity_files.h"
#include "engine/reports.h"
#include "engine/resume.h"
#include "engine/settings.h"
#include "engine/split_step.h"
#include "engine/transfer_start.h"
#include "platform/cp1252.h"

namespace torvanik {
namespace {

// UT and INN abandon a transfer under way only when the user says so.
bool MayAbandonTransfer(Transfer& t, const EngineSeams& seams) {
    if (!t.pending) {
        return true;
    }
    if (seams.questions.ConfirmAbort()) {
        t.pending = false;
        return true;
    }
    return false;
}

// A set with parity disks has check files: the join knows its disks by them.
bool ParityNeedsCheckFiles(const Transfer& t) {
    return t.parity.disks == 0 || !t.setIdentity.empty();
}

void Disarm(Transfer& t, Reports& reports) {
    t.armed = TransferKind::kNone;
    reports.Reset(ScreenReset::kNothing);
}

// A stopped transfer goes on at its next disk, or is refused with the reason and nothing
// armed.
StepOutcome GoOn(Transfer& t, Reports& reports, const Result<void>& resumed) {
    if (!resumed) {
        const Why& refused = resumed.why();
        t.source = File();
        t.destination = File();
        t.filePicked = false;
        t.pending = false;
        t.diskNumber = 1;
        Disarm(t, reports);
        reports.Reason(refused);
        return {StepResult::kRefused, refused};
    }
    if (t.parity.nextParityDisk > 0) {
        reports.Notice(NoticeId::kInsertParityDisk, t.parity.nextParityDisk);
    } else {
        reports.Notice(NoticeId::kInsertDisk, t.diskNumber);
    }
    return {StepResult::kArmed, {}};
}

// After a finished disk the transfer is kept, once the disk's files are durable: the record
// the step staged is placed when it says just that; a finished transfer is kept no more.
void KeepRecord(Transfer& t, const EngineSeams& seams, Reports& reports, TransferKind kind,
                StepResult result) {
    StagedFile staged = std::move(t.staged.file);
    if (seams.records == nullptr) {
        return;
    }
    // A join with holes keeps no record: its holes can't be gone on from.
    const bool holes = kind == TransferKind::kJoin && !t.joinParity.skipped.empty();
    if (result == StepResult::kAdvanced && !holes) {
        const TransferRecord record = RecordOf(t);
        const bool kept = staged.written() && t.staged.record == record
                              ? staged.Place().ok()
                              : seams.records->Save(record);
        if (!kept) {
            reports.Reason({Reason::kRecordNotSaved, 0, {}});
        }
    } else if (result == StepResult::kFinished) {
        seams.records->Remove(kind, kind == TransferKind::kJoin ? t.destinationPath : t.sourcePath);
    }
}

}  // namespace

StepOutcome OnSplitOut(Transfer& t, const EngineSeams& seams) {
    Reports reports(seams, t);
    if (!MayAbandonTransfer(t, seams)) {
        return {StepResult::kArmed, {}};
    }
    const auto picked = seams.questions.PickSourceFile();
    if (!picked) {
        Disarm(t, reports);
        reports.Screen();
        return {StepResult::kIdle, {}};
    }
    t.fileName = SetNameOf(Utf8ToCp1252(picked->fileName));
    t.sourcePath = picked->pathName;
    const auto resume = OfferToResume(seams, TransferKind::kSplit, t.sourcePath);
    t.armed = TransferKind::kSplit;
    t.diskNumber = 1;
    t.filePicked = true;
    t.bytesWritten = 0;
    t.freeKB = 0;
    t.setIdentity = seams.drives.settings().checkFile ? NewSetIdentity() : std::string();
    t.parity = {seams.drives.settings().parityDisks, 0, 0, 0};
    reports.Reset(ScreenReset::kNothing);
    auto source = ParityNeedsCheckFiles(t)
                      ? OpenSource(t, seams)
                      : Result<File>(Why{Reason::kParityWithoutCheckFiles, 0, {}});
    StepOutcome outcome{StepResult::kArmed, {}};
    if (!source) {
        t.filePicked = false;
        Disarm(t, reports);
        reports.Notice(NoticeId::kInsertDiskAgain, kNoNumber, source.why());
        outcome = {StepResult::kRefused, source.why()};
    } else {
        t.source = std::move(*source);
        if (resume) {
            outcome = GoOn(t, reports, ResumeSplit(t, seams, *resume));
        } else {
            reports.Notice(NoticeId::kInsertDisk, 1, DisksOfSet(t, seams));
        }
    }
    reports.TotalRestarted();
    reports.Screen();
    return outcome;
}

StepOutcome OnJoinIn(Transfer& t, const EngineSeams& seams) {
    Reports reports(seams, t);
    if (!MayAbandonTransfer(t, seams)) {
        return {StepResult::kArmed, {}};
    }
    const JoinStart start = ReadInfoOrParity(t, seams, reports);
    if (start == JoinStart::kNone) {
        reports.Notice(NoticeId::kInsertDiskOneForJoin);
        Disarm(t, reports);
        return {StepResult::kCannotStart, {}};
    }
    const auto picked = seams.questions.PickDestinationFile(Cp1252ToUtf8(t.joinName));
    if (!picked) {
        Disarm(t, reports);
        reports.Screen();
        return {StepResult::kIdle, {}};
    }
    t.fileName = Utf8ToCp1252(picked->fileName);
    t.destinationPath = picked->pathName;
    t.filePicked = true;
    t.diskNumber = 1;
    if (const auto resume = OfferToResume(seams, TransferKind::kJoin, t.destinationPath)) {
        t.armed = TransferKind::kJoin;
        reports.Reset(ScreenReset::kNothing);
        const StepOutcome outcome = GoOn(t, reports, ResumeJoin(t, seams, *resume));
        reports.TotalRestarted();
        reports.Screen();
        return outcome;
    }
    auto destination = OpenDestination(t, seams);
    StepOutcome outcome{StepResult::kArmed, {}};
    if (destination) {
        t.destination = std::move(*destination);
        t.armed = TransferKind::kJoin;
        reports.Reset(ScreenReset::kNothing);
        t.bytesJoined = 0;
        // Disk 1's check file tells the set's identity.
        t.setIdentity.clear();
        t.toldNoCheckFiles = false;
        if (start == JoinStart::kParityDisk) {
            StartFromParityDisk(t, reports);
        } else {
            reports.Notice(NoticeId::kKeepDiskOne);
        }
    } else {
        // A split armed before would go on from the middle of its file onto a new disk 1
        // under the new name: a broken set. It is abandoned, as INN asked.
        if (t.armed == TransferKind::kSplit) {
            t.armed = TransferKind::kNone;
        }
        reports.Notice(NoticeId::kNoDestination, kNoNumber, destination.why());
        outcome = {StepResult::kRefused, destination.why()};
    }
    reports.TotalRestarted();
    reports.Screen();
    return outcome;
}

StepOutcome OnDiskReady(Transfer& t, const EngineSeams& seams) {
    Reports reports(seams, t);
    if (t.armed == TransferKind::kNone) {
        reports.Notice(NoticeId::kIdlePrompt);
        reports.SyncFacts();
        return {StepResult::kIdle, {}};
    }
    const TransferKind kind = t.armed;
    const bool join = kind == TransferKind::kJoin;
    if (AwaitsParityDisk(t)) {
        const StepOutcome outcome = ReadParityDisk(t, seams, reports);
        KeepRecord(t, seams, reports, kind, outcome.result);
        reports.Screen();
        return outcome;
    }
    reports.DiskStepBegun(t.diskNumber);
    reports.DiskProgress(t.diskNumber, !join);
    const int disk = t.diskNumber;
    StepOutcome outcome =
        join ? ReadNextDisk(t, seams, reports, disk) : WriteNextDisk(t, seams, reports, disk);
    if (outcome.result == StepResult::kAdvanced) {
        ++t.diskNumber;
    }
    KeepRecord(t, seams, reports, kind, outcome.result);
    if (join && outcome.result == StepResult::kSameDisk && MayTakeFromParity(t, outcome.why) &&
        seams.questions.TakeFromParity(disk)) {
        outcome = OnSkipDisk(t, seams);
    }
    reports.Screen();
    return outcome;
}

void OnCleanDisk(Transfer& t, const EngineSeams& seams) {
    Reports reports(seams, t);
    const bool armed = t.armed != TransferKind::kNone;
    if (armed) {
        reports.DiskProgress(t.diskNumber, true);
    }
    // The disk the next KLAR handles, disk 1 before any transfer.
    const std::string notCarried =
        seams.questions.OpenCleanUpPicker(seams.drive.Root(), std::max(1, t.diskNumber));
    const Why why{Reason::kNone, 0, notCarried};
    if (armed) {
        reports.Notice(NoticeId::kInsertDisk, t.diskNumber, why);
    } else {
        reports.Notice(NoticeId::kIdlePrompt, kNoNumber, why);
    }
    reports.Screen();
}

void OnSelectDrive(Transfer& t, const EngineSeams& seams) {
    Reports reports(seams, t);
    seams.drive.driveIndex = seams.questions.ChooseDrive(seams.drive.driveIndex);
    reports.Screen();
    reports.Notice(NoticeId::kIdlePrompt);
    SaveSettings(seams.drive);
}

void ReportFacts(const Transfer& t, const EngineSeams& seams) {
    Reports(seams, t).SyncFacts();
}

}  // namespace torvanik
