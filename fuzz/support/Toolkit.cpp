#include "support/Toolkit.h"

#include "framework/dialogs/DialogPresenter.h"

#include <QCoreApplication>
#include <QEvent>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace fuzz_support {

namespace {

constexpr std::chrono::seconds kPumpLimit{20};

class AbortingPresenter : public Ovelund::DialogPresenter {
public:
    void ShowMessage(const Ovelund::String& text) override {
        std::fprintf(stderr, "fuzz: a dialog was shown: %s\n", text.c_str());
        std::abort();
    }
    Answer ShowMessageDialog(const Ovelund::MessageDialog&) override {
        std::fprintf(stderr, "fuzz: a message dialog was shown\n");
        std::abort();
    }
};

} // namespace

void StartToolkit(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    Ovelund::SetDialogPresenter(std::make_unique<AbortingPresenter>());
}

void PumpOnce() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool PumpUntil(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + kPumpLimit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        PumpOnce();
        std::this_thread::yield();
    }
    return true;
}

void FinishInput() {
    for (int pass = 0; pass < 3; ++pass)
        PumpOnce();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace fuzz_support
