// The tests' entry: a real QApplication on the offscreen platform, and a recording dialog presenter so that
// no test blocks on a modal dialog it did not ask for.

#include "support/RecordingPresenter.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Ovelund::SetDialogPresenter(std::make_unique<testing_support::RecordingPresenter>());
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    // Objects handed to deleteLater go before the application does, as at the end of a real run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
