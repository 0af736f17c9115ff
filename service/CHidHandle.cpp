#include "service/CHidHandle.h"

bool CHidHandle::Open(const std::string& path) {
    Close();
    if (!path.empty()) {
        device_.store(hid_open_path(path.c_str()));
    }
    return IsOpen();
}

void CHidHandle::Close() {
    if (hid_device* device = device_.exchange(nullptr)) {
        hid_close(device);
    }
}
