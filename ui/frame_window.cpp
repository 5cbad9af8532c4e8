#include <utility>

#include "ui/window.h"

namespace ui {

FrameWindow::~FrameWindow() { Destroy(); }

FrameWindow::FrameWindow(FrameWindow&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

FrameWindow& FrameWindow::operator=(FrameWindow&& other) noexcept {
    if (this != &other) {
        Destroy();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

}  // namespace ui
