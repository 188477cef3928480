#include "framework/controls/TextEdit.h"

#include "framework/runtime/UIThread.h"

namespace Ovelund {

const ClassRecord& TextEdit::Lookup() {
    static const ClassRecord record =
        ClassBuilder<TextEdit>("TextEdit", &RectControl::Lookup())
            .Property("AutomaticallyCheckSpelling", &TextEdit::SetAutomaticallyCheckSpelling,
                      &TextEdit::AutomaticallyCheckSpelling)
            .NoFactory()
            .Build();
    return record;
}

void TextEdit::SetAutomaticallyCheckSpelling(bool value) {
    CheckUIThread();
    automaticallyCheckSpelling_ = value;
}

} // namespace Ovelund
