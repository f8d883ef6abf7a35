#include "shell/dialog_questions.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>

#include "shell/abort_confirm_dialog.h"
#include "shell/file_pickers.h"
#include "shell/hand_off.h"
#include "shell/resume_confirm_dialog.h"
#include "shell/select_drive_dialog.h"
#include "shell/take_from_parity_dialog.h"

namespace torvanik {
namespace {

// Runs `ask` on the window's thread, where every dialog lives, and returns when it has
// run: at once on that thread, else as a queued call the asking thread waits for.
void OnWindowThread(const std::function<void()>& ask) {
    QCoreApplication* application = QCoreApplication::instance();
    if (QThread::currentThread() == application->thread()) {
        ask();
        return;
    }
    QMetaObject::invokeMethod(application, ask, Qt::BlockingQueuedConnection);
}

}  // namespace

DialogQuestions::DialogQuestions(QWidget* owner, const DriveMap& drives)
    : owner_(owner), drives_(drives) {}

bool DialogQuestions::ConfirmAbort() {
    bool abort = false;
    OnWindowThread([this, &abort] {
        CAbortConfirmDlg dialog(owner_);
        dialog.exec();
        abort = dialog.abort();
    });
    return abort;
}

bool DialogQuestions::ConfirmResume(int finishedDisks) {
    bool resume = false;
    OnWindowThread([this, finishedDisks, &resume] {
        ResumeConfirmDialog dialog(owner_, finishedDisks);
        resume = dialog.exec() == QDialog::Accepted;
    });
    return resume;
}

bool DialogQuestions::TakeFromParity(int disk) {
    bool take = false;
    OnWindowThread([this, disk, &take] {
        TakeFromParityDialog dialog(owner_, disk);
        take = dialog.exec() == QDialog::Accepted;
    });
    return take;
}

std::optional<PickedFile> DialogQuestions::PickSourceFile() {
    std::optional<PickedFile> picked;
    OnWindowThread([this, &picked] { picked = RunPicker(*MakeSourcePicker(owner_)); });
    return picked;
}

std::optional<PickedFile> DialogQuestions::PickDestinationFile(const std::string& initialName) {
    std::optional<PickedFile> picked;
    OnWindowThread([this, &picked, &initialName] {
        picked = RunPicker(*MakeDestinationPicker(owner_, initialName));
    });
    return picked;
}

// The disk is held while the picker is open: a drive may show a copy of the disk's files,
// and carry the deletions onto it. Both wait on the drive, so they stay on the asking thread,
// and so do the deletions made in the picker, the window's thread serving its events
// meanwhile.
std::string DialogQuestions::OpenCleanUpPicker(const std::string& driveRoot, int diskNumber) {
    const DiskInDrive disk = drives_.Resolve(DriveIndexOf(driveRoot), diskNumber, DiskUse::Read);
    bool opened = false;
    const auto runPicker = [this, &disk, &opened](FileRemover remove) {
        if (auto picker = MakeCleanUpPicker(owner_, disk.folder, std::move(remove))) {
            picker->exec();
            opened = true;
        }
    };
    QCoreApplication* application = QCoreApplication::instance();
    if (QThread::currentThread() == application->thread()) {
        runPicker(RemoveFiles);
    } else {
        HandOff deletions;
        QMetaObject::invokeMethod(
            application,
            [&runPicker, &deletions] {
                runPicker([&deletions](const QStringList& paths) {
                    QStringList kept;
                    deletions.Run([&kept, &paths] { kept = RemoveFiles(paths); });
                    return kept;
                });
                deletions.Close();
            },
            Qt::QueuedConnection);
        deletions.Serve();
    }
    if (!opened) {
        return {};
    }
    const Result<void> carried = drives_.CarryDeletions(disk);
    return carried ? std::string() : carried.why().text;
}

int DialogQuestions::ChooseDrive(int driveIndex) {
    OnWindowThread([this, &driveIndex] {
        CSelectDriveDlg dialog(owner_, driveIndex);
        dialog.exec();
        driveIndex = dialog.driveIndex();
    });
    return driveIndex;
}

}  // namespace torvanik
