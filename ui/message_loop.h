// The thread's message loop, which each implementation provides.
#pragma once

namespace ui {

// Dispatches the thread's messages until the program quits.
void RunMessageLoop();

}  // namespace ui
