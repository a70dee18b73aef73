// The simulated controller's firmware loader: started only by its own
// signature, the exchange of a whole update with its verdict on the image,
// and the baud switch it follows.
#include <gtest/gtest.h>

#include "device/firmware_update.h"
#include "device/frames.h"
#include "sim/controller.h"

namespace orlo::sim {
namespace {

const char* const kSignature = "ABCDEFGHIJKLM";

struct LoaderTest : ::testing::Test {
    std::vector<std::string> log;
    std::unique_ptr<Controller> controller;

    void make()
    {
        log.clear();
        ControllerConfig config;
        config.loader.signature = kSignature;
        config.loader.chip = "at32f403avgt7";
        controller = std::make_unique<Controller>(
            config, [this](const std::string& l) { log.push_back(l); });
    }
    std::string ask(const std::string& request) { return controller->handle(request, 0, 0); }
    bool logged(const std::string& part) const
    {
        for (const std::string& l : log)
            if (l.find(part) != std::string::npos)
                return true;
        return false;
    }
    // Sends a whole update of image with the given header; returns how many
    // requests were answered.
    unsigned update(const std::string& image, const std::string& header)
    {
        const std::uint16_t blocks = static_cast<std::uint16_t>((image.size() + 49) / 50);
        std::vector<std::string> requests = {
            requestFrame(1, kQueryFirmwareLoader, 0),
            settingFrame(1, kQueryFirmwareLoader, std::string(10, '\0')),
            blockFrame(1, kFirmwareHeaderBlock, blocks, header),
        };
        for (unsigned k = 0; k < blocks; ++k)
            requests.push_back(blockFrame(1, static_cast<std::uint16_t>(10001 + k), blocks,
                                          image.substr(50 * k, 50)));
        ask(loaderEntryFrame(kSignature));
        unsigned answered = 0;
        for (const std::string& r : requests)
            answered += ask(r).empty() ? 0 : 1;
        return answered;
    }
};

TEST_F(LoaderTest, StartsOnlyWithItsSignature)
{
    make();
    EXPECT_TRUE(ask(loaderEntryFrame("ABCDEFGHIJKLX")).empty());
    EXPECT_TRUE(ask(requestFrame(1, kQueryFirmwareLoader, 0)).empty());
    EXPECT_TRUE(ask(loaderEntryFrame(kSignature)).empty());
    EXPECT_EQ(ask(requestFrame(1, kQueryFirmwareLoader, 0)),
              dataReply(1, kQueryCommand, "at32f403avgt7"));
    // Another address is not this controller.
    EXPECT_TRUE(ask(requestFrame(2, kQueryFirmwareLoader, 0)).empty());
}

TEST_F(LoaderTest, ChecksTheImageAgainstItsHeader)
{
    const std::string image(1234, '\x5C');
    std::string wrongCrc = firmwareHeader(image);
    wrongCrc[10] ^= 1;
    std::string wrongSize = firmwareHeader(image);
    wrongSize[7] ^= 1;
    const struct {
        std::string header;
        const char* verdict;
    } cases[] = {
        {firmwareHeader(image), "firmware received intact: 1234 bytes in 25 blocks"},
        {wrongCrc, "firmware damaged (crc differ"},
        {wrongSize, "firmware damaged (size differ"},
    };
    for (const auto& c : cases) {
        make();
        EXPECT_EQ(update(image, c.header), 3u + 25u);
        EXPECT_TRUE(logged(c.verdict)) << c.verdict;
        // Done: the loader has left.
        EXPECT_FALSE(controller->loader().active());
    }
}

TEST_F(LoaderTest, FollowsTheBaudSwitchOnALineWithARate)
{
    make();
    controller->setLineBaud(9600);
    ask(loaderEntryFrame(kSignature));
    EXPECT_FALSE(ask(requestFrame(1, kQueryFirmwareLoader, 1152)).empty());
    const std::string prepare = settingFrame(1, kQueryFirmwareLoader, std::string(10, '\0'));
    EXPECT_TRUE(ask(prepare).empty());
    controller->setLineBaud(115200);
    EXPECT_EQ(ask(prepare), shortReply(1, kSettingCommand, kQueryFirmwareLoader, 10));
    // TCP has no rate of its own.
    controller->setLineBaud(0);
    EXPECT_FALSE(ask(prepare).empty());
}

}  // namespace
}  // namespace orlo::sim
