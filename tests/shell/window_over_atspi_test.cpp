#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "picker_widgets.h"
#include "res/command_ids.h"
#include "shell/main_window.h"
#include "support/temp_folder.h"

// The real window under an X server, read from another process through the accessibility
// bus, as a screen reader reads it.
namespace torvanik {
namespace {

TEST(WindowOverAtspiTest, AScreenReaderReadsTheNoticeAfterUt) {
    const testing::TempFolder tmp;
    setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
    setenv("XDG_STATE_HOME", (tmp / "state").c_str(), 1);
    std::filesystem::create_directories(tmp / "a");
    DriveMap drives;
    drives.Set(0, {tmp / "a", 1'457'664});
    MainWindow frame(drives, "Torvanik");
    ASSERT_TRUE(frame.Create());
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const std::string source = tmp / "bilde.bmp";
    testing::WriteBytes(source, testing::PatternBytes(3'000));
    testing::AnswerPicker(source);
    frame.action(ID_SPLIT_OUT)->trigger();

    // The window answers the reader while it reads: the event loop runs meanwhile.
    QProcess reader;
    reader.setProcessChannelMode(QProcess::MergedChannels);
    reader.start(qEnvironmentVariable("TORVANIK_ATSPI_PYTHON", "python3"),
                 {TORVANIK_ATSPI_READER, QCoreApplication::applicationName()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.state() == QProcess::NotRunning; }, 60'000));
    const QString said = QString::fromUtf8(reader.readAll());
    if (reader.exitCode() == 77) {
        GTEST_SKIP() << said.toStdString();
    }
    ASSERT_EQ(reader.exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(said.split('\n').contains("Sett inn diskett nummer  1 og klikk 'KLAR'!"))
        << said.toStdString();
}

}  // namespace
}  // namespace torvanik
