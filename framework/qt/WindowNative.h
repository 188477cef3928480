#pragma once
// The toolkit side of a Window: a top-level frame holding the window's menu bar above the content area in
// which controls stand at their designed positions.

#include "framework/core/Object.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QAction;
class QEventLoop;
class QMenuBar;
class QVBoxLayout;

namespace Ovelund {

class Window;

class WindowFrame final : public QWidget {
public:
    explicit WindowFrame(QWidget* parent = nullptr);
    void SetOwner(const WeakRef<Window>& owner) { owner_ = owner; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WeakRef<Window> owner_;
};

struct WindowNative {
    QPointer<WindowFrame> frame;
    QPointer<QWidget> content;
    QPointer<QMenuBar> menuBar;
    QVBoxLayout* layout = nullptr;
    // The loops of the ShowModal calls running on this window, innermost last.
    std::vector<QEventLoop*> modalLoops;
    // The application bar's actions this window answers, when it has no menu bar of its own.
    std::vector<QPointer<QAction>> applicationActions;
};

} // namespace Ovelund
