// Presenting through the emulated handheld's stretching paint.
#include "DoubleSizePresenter.h"

#include "GameAssets.h"
#include "device/DeviceProfile.h"

namespace vornel::bench {

DoubleSizePresenter::DoubleSizePresenter() {
    const DeviceProfile* vga = DeviceProfile::find("pocketpc-vga");
    const std::string& folder = GameAssets::instance().folder();
    m_device = std::make_unique<HeadlessDevice>(vga != nullptr ? *vga : DeviceProfile::defaultProfile(),
                                                EmulatedDevice::Setup{folder, folder, 1});
}

void DoubleSizePresenter::presentRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (m_screen == nullptr || m_screen->m_buffer.isEmpty()) {
        return;
    }
    const Rect window = m_device->windowRect();
    m_device->invalidateRect(Rect{left * 2, top * 2, right * 2, bottom * 2});
    m_device->beginPaint();
    m_device->stretchBits(m_screen->m_buffer.data(), m_screen->m_width, m_screen->m_height,
                          window.right - window.left, window.bottom - window.top);
    m_device->endPaint();
}

}  // namespace vornel::bench
