#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QRubberBand>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <filesystem>
#include <string>

#include "modal_script.h"
#include "picker_widgets.h"
#include "platform/floppy_image.h"
#include "qt_printers.h"
#include "shell/dialog_questions.h"
#include "shell/file_pickers.h"
#include "support/temp_folder.h"

namespace torvanik {
namespace {

using testing::AsPicker;
using testing::NameField;
using testing::PickerButton;
using testing::TempFolder;
using testing::WhenModalShown;
using testing::WriteBytes;

// The list or the detail view, whichever the picker shows; both share one selection.
QAbstractItemView& FileView(QFileDialog& picker) {
    if (picker.viewMode() == QFileDialog::List) {
        return *picker.findChild<QListView*>("listView");
    }
    return *picker.findChild<QTreeView*>("treeView");
}

// The names the picker lists once its folder is read, sorted.
QStringList ListedNames(QFileDialog& picker, int expectedCount) {
    QAbstractItemView& list = FileView(picker);
    QStringList names;
    const auto read = [&] {
        names.clear();
        const QModelIndex root = list.rootIndex();
        for (int row = 0; row < list.model()->rowCount(root); ++row) {
            names << list.model()->index(row, 0, root).data().toString();
        }
        return names.size() == expectedCount;
    };
    EXPECT_TRUE(QTest::qWaitFor(read, 3000)) << names.join(", ").toStdString();
    names.sort();
    return names;
}

// Answers the toolkit's own question box that the next step brings up.
void AnswerQuestion(QMessageBox::StandardButton answer, QString* text = nullptr) {
    WhenModalShown(
        [=](QWidget& modal) {
            auto& box = static_cast<QMessageBox&>(modal);
            if (text != nullptr) {
                *text = box.text();
            }
            box.button(answer)->click();
        },
        "QMessageBox");
}

// Right-clicks the view at `position`, which opens its context menu, and clicks the entry of
// the action named `actionName`.
void ChooseFromContextMenu(QAbstractItemView& view, QPoint position, const char* actionName) {
    auto* timer = new QTimer(&view);
    QObject::connect(timer, &QTimer::timeout, [timer, actionName] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        timer->deleteLater();
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String(actionName)) {
                EXPECT_TRUE(action->isEnabled());
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                return;
            }
        }
        ADD_FAILURE() << "no " << actionName << " in the context menu";
        menu->close();
    });
    timer->start(10);
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, position);
}

QStringList SelectedNames(QAbstractItemView& view) {
    QStringList names;
    for (const QModelIndex& index : view.selectionModel()->selectedRows()) {
        names << index.data().toString();
    }
    names.sort();
    return names;
}

class FilePickersTest : public ::testing::Test {
  protected:
    FilePickersTest() {
        std::filesystem::create_directory(tmp.path() / "drive");
        drives.Set(0, {tmp / "drive", std::nullopt});
    }

    QString Drive() const { return QString::fromStdString(tmp / "drive"); }
    void MakeFile(const std::string& path) { WriteBytes(path, {'x'}); }

    TempFolder tmp;
    DriveMap drives;
    DialogQuestions questions{nullptr, drives};
};

TEST_F(FilePickersTest, SourcePickerOpensAllFilesInTheRoot) {
    const auto picker = MakeSourcePicker(nullptr);
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("Velg ut filen skal kopieres / splittes p") +
                                         QChar(0xE5) + QStringLiteral(" disketter."));
    EXPECT_EQ(picker->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(picker->fileMode(), QFileDialog::AnyFile);
    EXPECT_TRUE(picker->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(picker->directory().absolutePath(), QDir::rootPath());
    EXPECT_TRUE(picker->defaultSuffix().isEmpty());

    const QStringList filters = picker->nameFilters();
    ASSERT_EQ(filters.size(), 13);
    EXPECT_EQ(filters.front(), "Alle filer (*)");
    EXPECT_EQ(filters.back(), "PICT (.PIC) (*.PIC)");
    const auto* types = picker->findChild<QComboBox*>("fileTypeCombo");
    EXPECT_EQ(types->currentIndex(), 0);
    EXPECT_EQ(types->itemText(0), "Alle filer");
    EXPECT_EQ(types->itemText(12), "PICT (.PIC)");
}

TEST_F(FilePickersTest, PatternsMatchTheWindowsWay) {
    for (const char* name : {"README", "clip.avi", "Take.Avi", "bilde.BMP"}) {
        MakeFile(tmp / ("drive/" + std::string(name)));
    }
    const auto picker = MakeSourcePicker(nullptr);
    picker->setDirectory(Drive());
    picker->show();
    EXPECT_EQ(ListedNames(*picker, 4),
              (QStringList{"README", "Take.Avi", "bilde.BMP", "clip.avi"}));
    picker->selectNameFilter(picker->nameFilters()[1]);
    EXPECT_EQ(ListedNames(*picker, 2), (QStringList{"Take.Avi", "clip.avi"}));
    picker->close();
}

TEST_F(FilePickersTest, SourceNameNeedNotExist) {
    const std::string wanted = tmp / "drive/finnes ikke.avi";
    WhenModalShown([&](QWidget& modal) {
        auto& picker = AsPicker(modal);
        picker.setDirectory(Drive());
        NameField(picker).setText("finnes ikke.avi");
        PickerButton(picker, QDialogButtonBox::Open).click();
    });
    const auto picked = questions.PickSourceFile();
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->pathName, wanted);
    EXPECT_EQ(picked->fileName, "finnes ikke.avi");
}

TEST_F(FilePickersTest, DestinationPickerHoldsTheNameExactlyAndReturnsItInItsFolder) {
    const std::string initialName = " Mitt bilde \xC3\xA6.BMP";
    QString shownName;
    QString folder;
    QString title;
    WhenModalShown([&](QWidget& modal) {
        auto& picker = AsPicker(modal);
        title = picker.windowTitle();
        shownName = NameField(picker).text();
        folder = picker.directory().absolutePath();
        PickerButton(picker, QDialogButtonBox::Save).click();
    });
    const auto picked = questions.PickDestinationFile(initialName);
    EXPECT_EQ(title, "Destinasjon.  Velg hvor filen skal lagres / forenes.");
    EXPECT_EQ(shownName.toStdString(), initialName);
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->fileName, initialName);
    EXPECT_EQ(picked->pathName,
              QDir(folder).filePath(QString::fromStdString(initialName)).toStdString());
}

TEST_F(FilePickersTest, DestinationPickerHasNoFilterAndOpensInTheDefaultFolder) {
    const auto picker = MakeDestinationPicker(nullptr, "X");
    EXPECT_EQ(picker->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(picker->testOption(QFileDialog::DontConfirmOverwrite));
    const QFileDialog untouched(nullptr);
    EXPECT_EQ(picker->nameFilters(), untouched.nameFilters());
    EXPECT_EQ(picker->directory().absolutePath(), untouched.directory().absolutePath());
}

TEST_F(FilePickersTest, AnExistingDestinationBringsTheOverwriteQuestion) {
    MakeFile(tmp / "drive/BILDE.BMP");
    QString question;
    bool openAfterNo = false;
    WhenModalShown([&](QWidget& modal) {
        auto& picker = AsPicker(modal);
        picker.setDirectory(Drive());
        AnswerQuestion(QMessageBox::No, &question);
        PickerButton(picker, QDialogButtonBox::Save).click();
        openAfterNo = picker.isVisible();
        AnswerQuestion(QMessageBox::Yes);
        PickerButton(picker, QDialogButtonBox::Save).click();
    });
    const auto picked = questions.PickDestinationFile("BILDE.BMP");
    EXPECT_TRUE(question.contains("BILDE.BMP"));
    EXPECT_TRUE(openAfterNo);
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->pathName, tmp / "drive/BILDE.BMP");
}

TEST_F(FilePickersTest, PathNamesKeepTo259Characters) {
    // A folder whose path with a separator is 200 characters; names then fill the rest.
    std::string folder = tmp / "";
    while (folder.size() < 200) {
        const std::size_t remaining = 200 - folder.size();
        folder += std::string(remaining > 60 ? 50 : remaining - 1, 'd') + "/";
        std::filesystem::create_directory(folder);
    }
    folder.pop_back();
    ASSERT_EQ(folder.size() + 1, 200u);
    struct Case {
        std::size_t nameLength;
        bool kept;
    };
    for (const Case c : {Case{59, true}, Case{60, false}}) {
        const std::string name(c.nameLength, 'n');
        WhenModalShown([&](QWidget& modal) {
            auto& picker = AsPicker(modal);
            picker.setDirectory(QString::fromStdString(folder));
            PickerButton(picker, QDialogButtonBox::Save).click();
        });
        const auto picked = questions.PickDestinationFile(name);
        EXPECT_EQ(picked.has_value(), c.kept) << c.nameLength;
        if (picked) {
            EXPECT_EQ(picked->pathName.size(), kMaxPickedPathChars);
        }
    }
}

TEST_F(FilePickersTest, CleanUpPickerOpensInTheDriveFolderWithTheHintFirst) {
    const auto picker = MakeCleanUpPicker(nullptr, tmp / "drive");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("Rydde:    Velg fil med h") + QChar(0xF8) +
                                         QStringLiteral("yre musknapp og klikk \"Slett\" !"));
    EXPECT_EQ(picker->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(picker->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_FALSE(picker->testOption(QFileDialog::ReadOnly));
    EXPECT_EQ(FileView(*picker).selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(picker->directory().absolutePath(), Drive());
    const QStringList filters = picker->nameFilters();
    ASSERT_EQ(filters.size(), 14);
    EXPECT_EQ(filters.front(), "Man kan ramme inn flere filer samtidig (*)");
    EXPECT_EQ(filters[1], "Alle filer (*)");
    EXPECT_EQ(picker->findChild<QComboBox*>("fileTypeCombo")->currentIndex(), 0);
}

TEST_F(FilePickersTest, CleanUpPickerDeletesSeveralSelectedFilesThroughItsOwnMenu) {
    for (const char* name : {"bilde_bmp_1", "bilde_bmp_2", "INFO.FIL"}) {
        MakeFile(tmp / ("drive/" + std::string(name)));
    }
    QString question;
    WhenModalShown([&](QWidget& modal) {
        auto& picker = AsPicker(modal);
        ASSERT_EQ(ListedNames(picker, 3).size(), 3);
        QAbstractItemView& list = FileView(picker);
        const QModelIndex root = list.rootIndex();
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        for (int row = 0; row < 3; ++row) {
            const QModelIndex index = list.model()->index(row, 0, root);
            if (index.data().toString().startsWith("bilde")) {
                QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                                  list.visualRect(index).center());
                modifiers = Qt::ControlModifier;
            }
        }
        AnswerQuestion(QMessageBox::Yes, &question);
        ChooseFromContextMenu(list, list.visualRect(list.currentIndex()).center(),
                              "qt_delete_action");
        PickerButton(picker, QDialogButtonBox::Cancel).click();
    });
    questions.OpenCleanUpPicker("A:", 1);
    EXPECT_TRUE(question.contains("2")) << question.toStdString();  // one question for both
    EXPECT_FALSE(std::filesystem::exists(tmp / "drive/bilde_bmp_1"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "drive/bilde_bmp_2"));
    EXPECT_TRUE(std::filesystem::exists(tmp / "drive/INFO.FIL"));
}

// A right-button drag frames files from below, in either view; a left click still selects.
TEST_F(FilePickersTest, CleanUpPickerFramesFilesWithTheRightButton) {
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        MakeFile(tmp / ("drive/" + std::string(name)));
    }
    const auto picker = MakeCleanUpPicker(nullptr, tmp / "drive");
    picker->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(picker.get()));
    for (const auto mode : {QFileDialog::List, QFileDialog::Detail}) {
        picker->setViewMode(mode);
        ASSERT_EQ(ListedNames(*picker, 5).size(), 5);
        QAbstractItemView& view = FileView(*picker);
        QWidget* area = view.viewport();
        // The files as they stand on the screen, top to bottom.
        std::vector<std::pair<QRect, QString>> shown;
        for (int row = 0; row < 5; ++row) {
            const QModelIndex index = view.model()->index(row, 0, view.rootIndex());
            shown.emplace_back(view.visualRect(index), index.data().toString());
        }
        std::ranges::sort(shown,
                          [](const auto& l, const auto& r) { return l.first.y() < r.first.y(); });
        const QPoint below = shown[4].first.bottomLeft() + QPoint(4, 6);
        const QPoint second = shown[1].first.center();
        QTest::mousePress(area, Qt::RightButton, {}, below);
        QTest::mouseMove(area, below - QPoint(0, 10));
        QTest::mouseMove(area, second);
        const auto* band = view.findChild<QRubberBand*>();
        ASSERT_NE(band, nullptr);
        EXPECT_TRUE(band->isVisible());
        QTest::mouseRelease(area, Qt::RightButton, {}, second);
        EXPECT_FALSE(band->isVisible());
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // a drag opens no menu
        QStringList framed;
        for (int i = 1; i < 5; ++i) {
            framed << shown[static_cast<std::size_t>(i)].second;
        }
        framed.sort();
        EXPECT_EQ(SelectedNames(view), framed);

        QTest::mouseClick(area, Qt::LeftButton, {}, shown[0].first.center());
        EXPECT_EQ(SelectedNames(view), QStringList{shown[0].second});
    }
}

TEST_F(FilePickersTest, ConfirmingTheCleanUpPickerChangesNothing) {
    MakeFile(tmp / "drive/a");
    MakeFile(tmp / "drive/b");
    WhenModalShown([&](QWidget& modal) {
        auto& picker = AsPicker(modal);
        ListedNames(picker, 2);
        FileView(picker).selectAll();
        PickerButton(picker, QDialogButtonBox::Save).click();
    });
    questions.OpenCleanUpPicker("A:", 1);
    EXPECT_TRUE(std::filesystem::exists(tmp / "drive/a"));
    EXPECT_TRUE(std::filesystem::exists(tmp / "drive/b"));
}

TEST_F(FilePickersTest, NoCleanUpPickerForADriveWithoutAFolder) {
    drives.Set(1, {tmp / "missing", std::nullopt});
    EXPECT_EQ(MakeCleanUpPicker(nullptr, tmp / "missing"), nullptr);
    EXPECT_EQ(MakeCleanUpPicker(nullptr, ""), nullptr);
    questions.OpenCleanUpPicker("B:", 1);  // returns without showing anything
    questions.OpenCleanUpPicker("C:", 1);
}

// The picker shows a copy of the image's files; what is deleted there leaves the image.
TEST_F(FilePickersTest, CleanUpPickerOnAnImageDriveDeletesFromTheImage) {
    drives.Set(0, {tmp / "drive", std::nullopt, DriveKind::Images});
    {
        const DiskInDrive disk = drives.Resolve(0, 1, DiskUse::Write);
        MakeFile(disk.folder + "/gammel_fil_1");
        MakeFile(disk.folder + "/INFO.FIL");
        const Result<std::string> finished = drives.Finish(disk);
        ASSERT_TRUE(finished) << finished.why().text;
    }
    WhenModalShown([&](QWidget& modal) {
        auto& picker = AsPicker(modal);
        ASSERT_EQ(ListedNames(picker, 2), QStringList({"INFO.FIL", "gammel_fil_1"}));
        QAbstractItemView& list = FileView(picker);
        const QModelIndex root = list.rootIndex();
        for (int row = 0; row < 2; ++row) {
            const QModelIndex index = list.model()->index(row, 0, root);
            if (index.data().toString() == "gammel_fil_1") {
                QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                                  list.visualRect(index).center());
            }
        }
        AnswerQuestion(QMessageBox::Yes);
        ChooseFromContextMenu(list, list.visualRect(list.currentIndex()).center(),
                              "qt_delete_action");
        PickerButton(picker, QDialogButtonBox::Cancel).click();
    });
    questions.OpenCleanUpPicker("A:", 1);
    const Result<ImageRoot> root = ReadImageRoot(tmp / "drive/DSKA0000.IMG");
    ASSERT_TRUE(root) << root.why().text;
    EXPECT_EQ(root->files, std::vector<std::string>{"INFO.FIL"});
}

}  // namespace
}  // namespace torvanik
