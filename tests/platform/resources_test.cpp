// The resource runtime: the linked bundle, and damaged bundles and resources that
// must be refused without reading out of bounds.
#include "platform/resources/resources.h"

#include <gtest/gtest.h>

#include <random>

#include "resource_bundle.h"

namespace {

using namespace pf;

std::vector<uint8_t> linked_bundle() {
    return std::vector<uint8_t>(resource_bundle_data(), resource_bundle_data() + resource_bundle_size());
}

TEST(Resources, LinkedBundleInstallsWithItsVersion) {
    ASSERT_EQ(resources_install(resource_bundle_data(), resource_bundle_size()), noErr);
    VersionInfo version;
    const Resource* vers = get_resource(kVersionType, 1);
    ASSERT_NE(vers, nullptr);
    EXPECT_TRUE(decode_version(vers->bytes, version));
    resources_clear();
    EXPECT_EQ(get_resource(kVersionType, 1), nullptr);
    EXPECT_EQ(count_resources(kVersionType), 0);
}

TEST(Resources, DamagedBundleIsRefusedAndKeepsTheInstalledOne) {
    std::vector<uint8_t> bundle = linked_bundle();
    ASSERT_EQ(resources_install(bundle.data(), bundle.size()), noErr);
    for (size_t size = 0; size + 1 < bundle.size(); ++size)  // the last byte may be padding
        EXPECT_EQ(resources_install(bundle.data(), size), mapReadErr) << size;
    std::vector<uint8_t> bad_magic = bundle;
    bad_magic[0] ^= 1;
    EXPECT_EQ(resources_install(bad_magic.data(), bad_magic.size()), mapReadErr);
    EXPECT_NE(get_resource(kVersionType, 1), nullptr);
}

TEST(Resources, RandomBytesNeverCrashTheReader) {
    std::mt19937 random(7);
    std::vector<uint8_t> bundle = linked_bundle();
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> damaged = bundle;
        for (int flips = 0; flips < 3; ++flips) damaged[random() % damaged.size()] = uint8_t(random());
        if (resources_install(damaged.data(), damaged.size()) != noErr) continue;
        for (FourCC type : {kVersionType, kStringListType})
            for (int16_t id : resource_ids(type)) {
                VersionInfo version;
                decode_version(get_resource(type, id)->bytes, version);
                get_indexed_string(id, 1);
            }
    }
}

}  // namespace
