#include "search/SearchFixture.h"

#include "framework/qt/CompactListView.h"

namespace testing_support {

std::int32_t SearchFixture::VisibleRows() const {
    auto list = window->ListBox1();
    auto* view = qobject_cast<Ovelund::CompactListView*>(list->Native().widget.data());
    if (!view)
        return 0;
    auto range = view->visibleRange();
    return range.count;
}

} // namespace testing_support
