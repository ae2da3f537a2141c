#pragma once
// The real platform: every interface over the Windows API, as the program's logic needs it.
#include <windows.h>

#include "platform/platform.h"

namespace platform::win32 {

// Called by the message loop with each message taken from the queue, before it is translated
// and dispatched; true when the message has been handled (dialog keys, for example).
using PreTranslate = bool (*)(MSG& message);
void SetPreTranslate(PreTranslate hook);

// All the real implementations, alive for the program's lifetime.
platform::Platform& RealPlatform();

}  // namespace platform::win32
