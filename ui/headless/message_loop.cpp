#include "message_loop.h"

namespace ui {

// Headless there are no messages: a program that asks for its loop is
// done as soon as it starts it.
void RunMessageLoop() {}

}  // namespace ui
