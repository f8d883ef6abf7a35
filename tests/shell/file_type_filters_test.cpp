#include <gtest/gtest.h>

#include <string>

#include "qt_printers.h"
#include "shell/file_type_filters.h"

namespace torvanik {
namespace {

TEST(FileTypeFiltersTest, CleanUpTextIsTheHintBeforeTheSourceText) {
    const std::string source = SourceFilterText();
    EXPECT_TRUE(source.starts_with("Alle filer |*.*|Video for Windows (.AVI) |*.AVI|"));
    EXPECT_TRUE(source.ends_with("PICT (.PIC)|*.PIC|"));
    EXPECT_EQ(CleanUpFilterText(), "Man kan ramme inn flere filer samtidig |*.*|" + source);
}

TEST(FileTypeFiltersTest, QtFiltersKeepOrderAndShowEveryFileForStarDotStar) {
    const QStringList source = QtNameFilters(SourceFilterText());
    ASSERT_EQ(source.size(), 13);
    EXPECT_EQ(source.front(), "Alle filer  (*)");
    EXPECT_EQ(source[1], "Video for Windows (.AVI)  (*.AVI)");
    EXPECT_EQ(source[3], "Windows bitmap (.BMP) (*.BMP)");
    EXPECT_EQ(source.back(), "PICT (.PIC) (*.PIC)");

    const QStringList cleanUp = QtNameFilters(CleanUpFilterText());
    ASSERT_EQ(cleanUp.size(), 14);
    EXPECT_EQ(cleanUp.front(), "Man kan ramme inn flere filer samtidig  (*)");
    EXPECT_EQ(cleanUp.mid(1), source);
}

TEST(FileTypeFiltersTest, QtFiltersReadUtf8AndIgnoreAnUnclosedPair) {
    EXPECT_EQ(
        QtNameFilters("Bilder p\xC3\xA5 disk|*.PIC|Rest|*.X"),
        QStringList{QStringLiteral("Bilder p") + QChar(0xE5) + QStringLiteral(" disk (*.PIC)")});
    EXPECT_TRUE(QtNameFilters("").isEmpty());
}

}  // namespace
}  // namespace torvanik
