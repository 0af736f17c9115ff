// The hidapi functions, served by the simulated mouse instead of Windows' HID stack.

#include "tests/service/hidsim/CSimulatedHid.h"

using hidsim::Call;

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void) {
    return CSimulatedHid::Instance().Init();
}

int HID_API_EXPORT HID_API_CALL hid_exit(void) {
    return CSimulatedHid::Instance().Exit();
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id) {
    return CSimulatedHid::Instance().Enumerate(vendor_id, product_id);
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs) {
    CSimulatedHid::Instance().FreeEnumeration(devs);
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path) {
    return CSimulatedHid::Instance().OpenPath(path);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev) {
    CSimulatedHid::Instance().Close(dev);
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device* dev, const unsigned char* data,
                                                        size_t length) {
    return CSimulatedHid::Instance().SendFeatureReport(dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device* dev, unsigned char* data,
                                                       size_t length) {
    return CSimulatedHid::Instance().GetFeatureReport(dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device* dev, unsigned char* data, size_t length) {
    return CSimulatedHid::Instance().Read(dev, data, length, -1, Call::Read);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data,
                                                 size_t length, int milliseconds) {
    return CSimulatedHid::Instance().Read(dev, data, length, milliseconds, Call::ReadTimeout);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device* dev, int nonblock) {
    return CSimulatedHid::Instance().SetNonblocking(dev, nonblock);
}

HID_API_EXPORT const wchar_t* HID_API_CALL hid_error(hid_device* dev) {
    return CSimulatedHid::Instance().Error(dev);
}

} // extern "C"
