#pragma once
// The program's file-type set: one type, "text", registered at start-up and used by nothing else.

#include "framework/runtime/FileType.h"

namespace FileTypes {

extern Ovelund::Ref<Ovelund::FileType> pText;

// Creates the "text" type, sets its four properties and registers it with the platform.
void Initialize();

} // namespace FileTypes
