// The parts of a File that do not depend on the system: ownership of the
// handle moves with the object and the handle is closed with it.
#include "sys/files.h"

namespace sys {

File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

}  // namespace sys
