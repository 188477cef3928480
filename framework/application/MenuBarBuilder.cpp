#include "framework/application/MenuBarBuilder.h"

#include "framework/application/MenuBar.h"
#include "framework/qt/MenuItemNative.h"
#include "framework/qt/QtText.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace Ovelund {

namespace {
void RefreshEnabled(MenuItem& menu) {
    for (std::size_t i = 0; i < menu.Count(); ++i) {
        Ref<MenuItem> item = menu.Item(i);
        NativeAction(*item)->setEnabled(item->AutoEnable() ? item->CanAct() : item->Enabled());
    }
}

void FillMenu(QMenu* menu, const Ref<MenuItem>& entry) {
    for (std::size_t i = 0; i < entry->Count(); ++i) {
        Ref<MenuItem> item = entry->Item(i);
        if (item->Count() > 0) {
            QMenu* submenu = menu->addMenu(ToQt(item->Text()));
            FillMenu(submenu, item);
        } else {
            menu->addAction(NativeAction(*item));
        }
    }
    MenuItem* raw = entry.get();
    QObject::connect(menu, &QMenu::aboutToShow, menu, [raw] { RefreshEnabled(*raw); });
}
} // namespace

QMenuBar* BuildMenuBar(MenuBar& bar, QWidget* parent) {
    auto* menuBar = new QMenuBar(parent);
    menuBar->setNativeMenuBar(false);
    for (std::size_t i = 0; i < bar.Count(); ++i) {
        Ref<MenuItem> entry = bar.Item(i);
        if (entry->Count() > 0 || !entry->IsSeparator()) {
            QMenu* menu = menuBar->addMenu(ToQt(entry->Text()));
            menu->setObjectName(ToQt(entry->Name()));
            FillMenu(menu, entry);
        }
    }
    return menuBar;
}

} // namespace Ovelund
