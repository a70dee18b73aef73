// The main window's firmware update: the menus "更新固件" (the configured
// rate) and "更新固件_115200", the images and loader signature it carries as
// resources, and the serial port's baud switch (see tarn_dlg.h and
// device/firmware_update.h). Timers 2 and 3 tick its countdowns.
#include "app/tarn_dlg.h"

#include "platform/resources.h"
#include "res/resource.h"

namespace orlo {

namespace {

ResourceLoad ownFirmwareImage(int id, std::string& image)
{
    return loadOwnResource(kFirmwareResourceType, id, image);
}

// The signature as the build embedded it; trailing zero bytes and line ends
// from the resource file are not part of it.
std::string ownLoaderSignature()
{
    std::string text;
    if (loadOwnResource(kLoaderSignatureResourceType, kLoaderSignatureResourceId, text) !=
        ResourceLoad::Loaded)
        return std::string();
    while (!text.empty() && (text.back() == '\0' || text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

}  // namespace

void CTarnDlg::installFirmwareUpdate()
{
    firmware_.setSource(services_.firmware ? services_.firmware : ownFirmwareImage);
    firmware_.setLoaderSignature(services_.loaderSignature.empty() ? ownLoaderSignature()
                                                                   : services_.loaderSignature);
    const struct {
        int id;
        std::uint16_t updateBaud;
    } menus[] = {
        {ID_COMM_FIRMWARE, kKeepBaud},
        {ID_COMM_FIRMWARE_115200, kUpdateBaud115200},
    };
    for (const auto& m : menus) {
        setCommandHandler(m.id, [this, baud = m.updateBaud](Notify n) {
            if (n == Notify::Clicked)
                firmware_.start(baud);
        });
    }
}

void CTarnDlg::FirmwareLineAdapter::setBaudRate(unsigned baudRate)
{
    owner_.link_.serialPort().setBaudRate(baudRate);
}

}  // namespace orlo
