#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLibraryInfo>
#include <QPushButton>
#include <memory>

#include "qt_printers.h"
#include "shell/file_pickers.h"
#include "shell/qt_translation.h"

namespace torvanik {
namespace {

bool NorwegianInstalled() {
    const QDir folder(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return !folder.entryList({"qtbase_nb.qm", "qtbase_no.qm", "qtbase_nn.qm"}).isEmpty();
}

TEST(QtTranslationTest, PickersSpeakNorwegianWhenATranslationIsInstalled) {
    ASSERT_EQ(InstallNorwegianQtTranslation(*qApp), NorwegianInstalled());
    if (!NorwegianInstalled()) {
        GTEST_SKIP() << "no Norwegian Qt translation on this machine";
    }
    const auto picker = MakeDestinationPicker(nullptr, "BILDE.BMP");
    const auto* buttons = picker->findChild<QDialogButtonBox*>("buttonBox");
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), "Avbryt");
    EXPECT_NE(buttons->button(QDialogButtonBox::Save)->text(), "&Save");
}

}  // namespace
}  // namespace torvanik
