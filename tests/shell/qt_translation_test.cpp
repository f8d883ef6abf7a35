#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <memory>

#include "qt_printers.h"
#include "shell/file_pickers.h"
#include "shell/qt_translation.h"

namespace torvanik {
namespace {

QString LabelText(const QFileDialog& picker, const char* name) {
    const auto* label = picker.findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QString();
}

// Qt's own texts in the pickers are Bokmål, also where the machine has only Nynorsk.
TEST(QtTranslationTest, PickersSpeakBokmal) {
    ASSERT_TRUE(InstallNorwegianQtTranslation(*qApp));
    const auto picker = MakeDestinationPicker(nullptr, "BILDE.BMP");
    EXPECT_EQ(LabelText(*picker, "lookInLabel"), "S\xC3\xB8k i:");
    EXPECT_EQ(LabelText(*picker, "fileNameLabel"), "Fil&navn:");
    EXPECT_EQ(LabelText(*picker, "fileTypeLabel"), "Filtype:");
    const auto* buttons = picker->findChild<QDialogButtonBox*>("buttonBox");
    EXPECT_EQ(buttons->button(QDialogButtonBox::Save)->text(), "&Lagre");
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), "Avbryt");
    EXPECT_EQ(MakeSourcePicker(nullptr)
                  ->findChild<QDialogButtonBox*>("buttonBox")
                  ->button(QDialogButtonBox::Open)
                  ->text(),
              "&\xC3\x85pne");

    const auto* header = picker->findChild<QTreeView*>("treeView")->model();
    EXPECT_EQ(header->headerData(0, Qt::Horizontal).toString(), "Navn");
    EXPECT_EQ(header->headerData(1, Qt::Horizontal).toString(), "St\xC3\xB8rrelse");
    EXPECT_EQ(header->headerData(3, Qt::Horizontal).toString(), "Endret");
    EXPECT_EQ(QFileDialog::tr("&Delete"), "&Slett");
    EXPECT_EQ(QFileDialog::tr("%1 already exists.\nDo you want to replace it?"),
              "%1 finnes fra f\xC3\xB8r.\nVil du erstatte den?");
}

}  // namespace
}  // namespace torvanik
