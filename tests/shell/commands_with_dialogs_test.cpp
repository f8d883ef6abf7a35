#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <string>

#include "engine/commands.h"
#include "engine/transfer_state.h"
#include "modal_script.h"
#include "picker_widgets.h"
#include "qt_printers.h"
#include "res/dialog_ids.h"
#include "shell/dialog_questions.h"
#include "shell/template_dialog.h"
#include "support/reset_transfer_state.h"
#include "support/temp_folder.h"

// The commands that ask, with the real dialogs and pickers answering.
namespace torvanik {
namespace {

using testing::AsPicker;
using testing::NameField;
using testing::PickerButton;
using testing::ResetTransferState;
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

class CommandsWithDialogsTest : public ::testing::Test {
  protected:
    CommandsWithDialogsTest() {
        std::filesystem::create_directory(tmp.path() / "drive");
        drives.Set(0, {tmp / "drive", std::nullopt});
        ResetTransferState();
    }
    ~CommandsWithDialogsTest() override { ResetTransferState(); }

    EngineSeams Seams(Questions& questions) { return {canvases, questions, files, drives}; }

    // A split armed and past its first disk.
    static void ArmSplitOnDiskThree() {
        transferState.transferPending = 1;
        transferState.viewState = VS_SPLIT | VS_NOTICE;
        transferState.diskNumber = 3;
        transferState.fileName = "bilde.bmp";
        transferState.sourcePath = "/bilder/bilde.bmp";
        transferState.pathStripKind = 1;
        transferState.lastNotice = {3, 0, 2, 3};
    }

    TempFolder tmp;
    DriveMap drives;
    Surface surface{500, 312};
    CanvasSource canvases{surface, {}};
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
    const std::function<void(const EngineSeams&)> commands[] = {OnSplitOut, OnJoinIn};
    for (const auto& command : commands) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            ResetTransferState();
            ArmSplitOnDiskThree();
            WriteBytes(tmp / "drive/INFO.FIL", {'5', '\n', 'X'});
            AbortDialogOnly questions(nullptr, drives);
            WhenModalShown(c.answer);
            command(Seams(questions));
            if (c.goesOn) {
                EXPECT_EQ(transferState.transferPending, 0);
                EXPECT_EQ(questions.pickersAsked, 1);
                EXPECT_EQ(transferState.viewState, 0);  // the picker was cancelled
            } else {
                EXPECT_EQ(transferState.transferPending, 1);
                EXPECT_EQ(questions.pickersAsked, 0);
                EXPECT_EQ(transferState.viewState, VS_SPLIT | VS_NOTICE);
                EXPECT_EQ(transferState.diskNumber, 3);
                EXPECT_EQ(transferState.fileName, "bilde.bmp");
                EXPECT_EQ(transferState.lastNotice, (Notice{3, 0, 2, 3}));
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
    OnSplitOut(Seams(questions));
    EXPECT_EQ(transferState.sourcePath, source);
    EXPECT_EQ(transferState.fileName, "bilde \xE6.bmp");
    EXPECT_EQ(transferState.viewState, VS_SPLIT | VS_NOTICE);
    EXPECT_EQ(transferState.lastNotice, (Notice{3, 3, 2, 1}));

    WhenModalShown([](QWidget& modal) { modal.windowHandle()->close(); });
    OnSplitOut(Seams(questions));
    EXPECT_EQ(transferState.viewState, 0);
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
    OnJoinIn(Seams(questions));
    EXPECT_EQ(offered, "BILDE.BMP");
    EXPECT_EQ(transferState.destinationPath, tmp / "ut/BILDE.BMP");
    EXPECT_EQ(transferState.viewState, VS_JOIN | VS_NOTICE);
    EXPECT_TRUE(std::filesystem::exists(tmp / "ut/BILDE.BMP"));

    WhenModalShown(
        [](QWidget& modal) { PickerButton(AsPicker(modal), QDialogButtonBox::Cancel).click(); });
    OnJoinIn(Seams(questions));
    EXPECT_EQ(transferState.viewState, 0);
}

TEST_F(CommandsWithDialogsTest, RyddeOnADriveWithoutAFolderGoesStraightToItsNotice) {
    transferState.driveIndex = 5;  // F: is not mapped
    DialogQuestions questions(nullptr, drives);
    OnCleanDisk(Seams(questions));
    EXPECT_EQ(transferState.lastNotice, (Notice{3, 14, 2, -1}));
}

}  // namespace
}  // namespace torvanik
