#include "modal_script.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace torvanik::testing {
namespace {

constexpr int kPollMs = 10;
constexpr int kGiveUpMs = 5000;

}  // namespace

void WhenModalShown(std::function<void(QWidget& modal)> script, const char* className) {
    auto* timer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout,
                     [timer, waited, className, script = std::move(script)] {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (modal == nullptr || !modal->isVisible() ||
                             (className != nullptr && !modal->inherits(className))) {
                             *waited += kPollMs;
                             if (*waited > kGiveUpMs) {
                                 timer->deleteLater();
                                 ADD_FAILURE() << "no modal window opened";
                             }
                             return;
                         }
                         timer->stop();
                         timer->deleteLater();
                         EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
                         QPointer<QWidget> opened = modal;
                         script(*modal);
                         QTimer::singleShot(kGiveUpMs, qApp, [opened] {
                             if (opened && opened->isVisible()) {
                                 ADD_FAILURE() << "the modal window stayed open";
                                 opened->close();
                             }
                         });
                     });
    timer->start(kPollMs);
}

}  // namespace torvanik::testing
