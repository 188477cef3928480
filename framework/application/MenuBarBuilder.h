#pragma once

class QMenuBar;
class QWidget;

namespace Ovelund {

class MenuBar;

// Builds the toolkit menu bar that shows `bar` in one window. The entries' actions are shared by every
// window that shows the same bar.
QMenuBar* BuildMenuBar(MenuBar& bar, QWidget* parent);

} // namespace Ovelund
