#include "search/Module1.h"

#include <utility>

namespace Module1 {

Ovelund::String StartAt;
Ovelund::String StopAt;
bool StopFlag = false;
bool Busy = false;

void Release() {
    Ovelund::String old = std::exchange(StartAt, Ovelund::String());
    old = std::exchange(StopAt, Ovelund::String());
}

} // namespace Module1
