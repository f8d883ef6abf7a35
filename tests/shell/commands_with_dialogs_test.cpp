#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <string>

#include "engine/commands.h"
#include "modal_script.h"
#include "picker_widgets.h"
#include "qt_printers.h"
#include "res/dialog_ids.h"
#include "screen/presenter.h"
#include "shell/dialog_questions.h"
#include "shell/template_dialog.h"
#include "support/temp_folder.h"

// The commands that ask, with the real dialogs and pickers answering.
namespace torvanik {
namespace {

using testing::AsPicker;
using testing::NameField;
using testing::PickerButton;
using testing::TempFolder;
using testing::WhenModalShown;
using testing::WriteBytes;

// The real abort question; the pickers only count that they were asked and cancel.
class AbortDialogOnly : public DialogQuestions {
  public:
    using DialogQuestions::DialogQuestions;

    std::optional<PickedFile> PickSourceFile() override {
        ++pickersAsked;
        return std::nullopt;
    }
    std::optional<PickedFile> PickDestinationFile(const std::string&) override {
        ++pickersAsked;
        return std::nullopt;
    }

    int pickersAsked = 0;
};

// What the screen shows of the transfer: the mode it names, and whether the help box, the
// panel, the bars and the notice are up.
struct Shown {
    TransferKind mode;
    bool help;
    bool panel;
    bool bars;
    bool notice;

    bool operator==(const Shown&) const = default;
};

Shown ShownOn(const ScreenRecord& screen) {
    return {screen.facts.armed, screen.helpShown, screen.panelShown, screen.barsShown,
            screen.noticeShown};
}

constexpr Shown kNothingShown{TransferKind::kNone, false, false, false, false};

Shown NoticeOnlyIn(TransferKind mode) {
    return {mode, false, false, false, true};
}

class CommandsWithDialogsTest : public ::testing::Test {
  protected:
    CommandsWithDialogsTest() {
        std::filesystem::create_directory(tmp.path() / "drive");
        drives.Set(0, {tmp / "drive", std::nullopt});
    }

    EngineSeams Seams(Questions& questions) {
        return {questions, files, drives, drive, &presenter};
    }
    const ScreenRecord& screen() const { return presenter.record(); }

    // A split armed and past its first disk, its notice asking for disk 3.
    void ArmSplitOnDiskThree(Questions& questions) {
        transfer = Transfer{};
        transfer.pending = true;
        transfer.armed = TransferKind::kSplit;
        transfer.diskNumber = 3;
        transfer.fileName = "bilde.bmp";
        transfer.sourcePath = "/bilder/bilde.bmp";
        transfer.filePicked = true;
        presenter.record() = ScreenRecord{};
        ReportFacts(transfer, Seams(questions));
        presenter.NoticeShown(NoticeId::kInsertDiskAgain, 3);
    }

    TempFolder tmp;
    DriveMap drives;
    DriveChoice drive;
    Transfer transfer;
    Surface surface{500, 312};
    Presenter presenter{CanvasSource(surface, {})};
    FileSystem files;
};

TEST_F(CommandsWithDialogsTest, AbortQuestionDecidesWhetherUtAndInnGoOn) {
    struct Case {
        const char* name;
        std::function<void(QWidget&)> answer;
        bool goesOn;
    };
    const Case cases[] = {
        {"Enter", [](QWidget&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); },
         true},
        {"Esc", [](QWidget&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
         false},
        {"close box", [](QWidget& d) { d.windowHandle()->close(); }, false},
        {"NEI", [](QWidget& d) { qobject_cast<QPushButton*>(FindControl(d, IDCANCEL))->click(); },
         false},
    };
    using Command = StepOutcome (*)(Transfer&, const EngineSeams&);
    for (const Command command : {&OnSplitOut, &OnJoinIn}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            AbortDialogOnly questions(nullptr, drives);
            ArmSplitOnDiskThree(questions);
            WriteBytes(tmp / "drive/INFO.FIL", {'5', '\n', 'X'});
            WhenModalShown(c.answer);
            command(transfer, Seams(questions));
            if (c.goesOn) {
                EXPECT_FALSE(transfer.pending);
                EXPECT_EQ(questions.pickersAsked, 1);
                // The picker was cancelled.
                EXPECT_EQ(transfer.armed, TransferKind::kNone);
                EXPECT_EQ(ShownOn(screen()), kNothingShown);
            } else {
                EXPECT_TRUE(transfer.pending);
                EXPECT_EQ(questions.pickersAsked, 0);
                EXPECT_EQ(transfer.armed, TransferKind::kSplit);
                EXPECT_EQ(ShownOn(screen()), NoticeOnlyIn(TransferKind::kSplit));
                EXPECT_EQ(transfer.diskNumber, 3);
                EXPECT_EQ(transfer.fileName, "bilde.bmp");
                EXPECT_EQ(screen().lastNotice, NoticeOf(NoticeId::kInsertDiskAgain, 3));
            }
        }
    }
}

TEST_F(CommandsWithDialogsTest, UtTakesThePickedSourceAndStopsWhenThePickerIsClosed) {
    const std::string source = tmp / "bilde \xC3\xA6.bmp";
    WriteBytes(source, std::vector<char>(100, 'x'));
    DialogQuestions questions(nullptr, drives);

    WhenModalShown([&](QWidget& modal) {
        QFileDialog& picker = AsPicker(modal);
        picker.setDirectory(QString::fromStdString(tmp / ""));
        NameField(picker).setText(QString::fromUtf8("bilde \xC3\xA6.bmp"));
        PickerButton(picker, QDialogButtonBox::Open).click();
    });
    OnSplitOut(transfer, Seams(questions));
    EXPECT_EQ(transfer.sourcePath, source);
    EXPECT_EQ(transfer.fileName, "bilde \xE6.bmp");
    EXPECT_EQ(transfer.armed, TransferKind::kSplit);
    EXPECT_EQ(ShownOn(screen()), NoticeOnlyIn(TransferKind::kSplit));
    EXPECT_EQ(screen().lastNotice, NoticeOf(NoticeId::kInsertDisk, 1));
    // The screen names the file being split, and its length.
    EXPECT_EQ(screen().facts.path, source);
    EXPECT_EQ(screen().facts.fileLength, 100);

    WhenModalShown([](QWidget& modal) { modal.windowHandle()->close(); });
    OnSplitOut(transfer, Seams(questions));
    EXPECT_EQ(transfer.armed, TransferKind::kNone);
    EXPECT_EQ(ShownOn(screen()), kNothingShown);
}

TEST_F(CommandsWithDialogsTest, InnOffersTheSetsNameAndStopsWhenCancelled) {
    WriteBytes(tmp / "drive/INFO.FIL", {'5', '\n', 'B', 'I', 'L', 'D', 'E', '.', 'B', 'M', 'P'});
    std::filesystem::create_directory(tmp.path() / "ut");
    DialogQuestions questions(nullptr, drives);

    QString offered;
    WhenModalShown([&](QWidget& modal) {
        QFileDialog& picker = AsPicker(modal);
        offered = NameField(picker).text();
        picker.setDirectory(QString::fromStdString(tmp / "ut"));
        PickerButton(picker, QDialogButtonBox::Save).click();
    });
    OnJoinIn(transfer, Seams(questions));
    EXPECT_EQ(offered, "BILDE.BMP");
    EXPECT_EQ(transfer.destinationPath, tmp / "ut/BILDE.BMP");
    EXPECT_EQ(transfer.armed, TransferKind::kJoin);
    EXPECT_EQ(ShownOn(screen()), NoticeOnlyIn(TransferKind::kJoin));
    // The screen names the file being joined, and the set's length.
    EXPECT_EQ(screen().facts.path, tmp / "ut/BILDE.BMP");
    EXPECT_EQ(screen().facts.fileLength, 5);
    EXPECT_TRUE(std::filesystem::exists(tmp / "ut/BILDE.BMP"));

    WhenModalShown(
        [](QWidget& modal) { PickerButton(AsPicker(modal), QDialogButtonBox::Cancel).click(); });
    OnJoinIn(transfer, Seams(questions));
    EXPECT_EQ(transfer.armed, TransferKind::kNone);
    EXPECT_EQ(ShownOn(screen()), kNothingShown);
}

TEST_F(CommandsWithDialogsTest, RyddeOnADriveWithoutAFolderGoesStraightToItsNotice) {
    drive.driveIndex = 5;  // F: is not mapped
    DialogQuestions questions(nullptr, drives);
    OnCleanDisk(transfer, Seams(questions));
    EXPECT_EQ(screen().lastNotice, NoticeOf(NoticeId::kIdlePrompt, kNoNumber));
}

}  // namespace
}  // namespace torvanik
