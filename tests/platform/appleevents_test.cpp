#include "platform/appleevents/appleevents.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/files/files.h"
#include "tests/platform/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using pf::AEDesc;
using pf::AppleEvent;
using pf::four_cc;

int32_t long_of(const AEDesc& d) {
    int32_t v = 0;
    std::memcpy(&v, d.data.data(), std::min<size_t>(4, d.data.size()));
    return v;
}

std::string text_of(const AEDesc& d) { return {d.data.begin(), d.data.end()}; }

template <typename T>
AEDesc desc_of(pf::FourCC type, T value) {
    AEDesc d;
    pf::ae_create_desc(type, &value, sizeof value, d);
    return d;
}

AEDesc text_desc(pf::FourCC type, std::string_view text) {
    AEDesc d;
    pf::ae_create_desc(type, text.data(), text.size(), d);
    return d;
}

AppleEvent event_to_self(pf::FourCC event_class, pf::FourCC event_id) {
    AEDesc self;
    pf::ae_address_of_self(self);
    AppleEvent event;
    pf::ae_create_apple_event(event_class, event_id, self, pf::kAutoGenerateReturnId, pf::kAnyTransactionId, event);
    return event;
}

TEST(AEDescriptors, ListsAndRecords) {
    AEDesc list;
    ASSERT_EQ(pf::ae_create_list(false, list), pf::noErr);
    int16_t seven = 7;
    ASSERT_EQ(pf::ae_put_ptr(list, 0, pf::kTypeShort, &seven, sizeof seven), pf::noErr);
    ASSERT_EQ(pf::ae_put_desc(list, 2, text_desc(pf::kTypeText, "two")), pf::noErr);
    EXPECT_EQ(pf::ae_put_desc(list, 4, text_desc(pf::kTypeText, "gap")), pf::kAEIllegalIndexErr);
    long count = 0;
    ASSERT_EQ(pf::ae_count_items(list, count), pf::noErr);
    EXPECT_EQ(count, 2);

    int32_t value = 0;
    pf::FourCC type = 0, keyword = 0;
    size_t size = 0;
    ASSERT_EQ(pf::ae_get_nth_ptr(list, 1, pf::kTypeLong, &keyword, &type, &value, sizeof value, &size), pf::noErr);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(type, pf::kTypeLong);
    EXPECT_EQ(size, 4u);
    char small[2] = {};
    ASSERT_EQ(pf::ae_get_nth_ptr(list, 2, pf::kTypeWildCard, nullptr, nullptr, small, sizeof small, &size), pf::noErr);
    EXPECT_EQ(size, 3u);  // the whole size, though only two bytes fit
    EXPECT_EQ(std::string(small, 2), "tw");
    AEDesc item;
    EXPECT_EQ(pf::ae_get_nth_desc(list, 3, pf::kTypeWildCard, nullptr, item), pf::kAEIllegalIndexErr);
    EXPECT_EQ(pf::ae_get_nth_desc(list, 2, pf::kTypeLong, nullptr, item), pf::kAECoercionFailErr);
    ASSERT_EQ(pf::ae_delete_item(list, 1), pf::noErr);
    pf::ae_count_items(list, count);
    EXPECT_EQ(count, 1);

    AEDesc record;
    pf::ae_create_list(true, record);
    ASSERT_EQ(pf::ae_put_key_desc(record, four_cc("name"), text_desc(pf::kTypeText, "Sheet")), pf::noErr);
    ASSERT_EQ(pf::ae_put_key_desc(record, four_cc("name"), text_desc(pf::kTypeText, "Layer")), pf::noErr);
    pf::ae_count_items(record, count);
    EXPECT_EQ(count, 1);  // the same key replaces
    ASSERT_EQ(pf::ae_get_key_desc(record, four_cc("name"), pf::kTypeUtf8Text, item), pf::noErr);
    EXPECT_EQ(text_of(item), "Layer");
    EXPECT_EQ(pf::ae_get_key_desc(record, four_cc("nope"), pf::kTypeWildCard, item), pf::kAEDescNotFoundErr);
    EXPECT_EQ(pf::ae_delete_key_desc(record, four_cc("name")), pf::noErr);
    EXPECT_EQ(pf::ae_count_items(text_desc(pf::kTypeText, "x"), count), pf::kAEWrongDataTypeErr);

    AEDesc copy;
    pf::ae_duplicate_desc(list, copy);
    pf::ae_dispose_desc(list);
    EXPECT_EQ(list.type, pf::kTypeNull);
    EXPECT_EQ(pf::ae_count_items(copy, count), pf::noErr);
}

TEST(AECoercions, NumbersCodesAndText) {
    AEDesc out;
    ASSERT_EQ(pf::ae_coerce_desc(desc_of<int16_t>(pf::kTypeShort, -3), pf::kTypeLong, out), pf::noErr);
    EXPECT_EQ(long_of(out), -3);
    EXPECT_EQ(pf::ae_coerce_desc(desc_of<int32_t>(pf::kTypeLong, 70000), pf::kTypeShort, out), pf::kAECoercionFailErr);
    EXPECT_EQ(pf::ae_coerce_desc(desc_of<double>(pf::kTypeDouble, 2.5), pf::kTypeLong, out), pf::kAECoercionFailErr);
    ASSERT_EQ(pf::ae_coerce_desc(desc_of<double>(pf::kTypeDouble, 12.0), pf::kTypeShort, out), pf::noErr);
    EXPECT_EQ(out.data.size(), 2u);
    AEDesc yes;
    pf::ae_create_desc(pf::kTypeTrue, nullptr, 0, yes);
    ASSERT_EQ(pf::ae_coerce_desc(yes, pf::kTypeBoolean, out), pf::noErr);
    EXPECT_EQ(out.data, std::vector<uint8_t>{1});
    EXPECT_EQ(pf::ae_coerce_desc(desc_of<int32_t>(pf::kTypeLong, 2), pf::kTypeBoolean, out), pf::kAECoercionFailErr);
    ASSERT_EQ(pf::ae_coerce_desc(desc_of(pf::kTypeEnumerated, four_cc("yes ")), pf::kTypeType, out), pf::noErr);
    EXPECT_EQ(uint32_t(long_of(out)), four_cc("yes "));

    ASSERT_EQ(pf::ae_coerce_desc(text_desc(pf::kTypeUtf8Text, "caf\u00E9"), pf::kTypeText, out), pf::noErr);
    EXPECT_EQ(text_of(out), "caf\x8E");
    ASSERT_EQ(pf::ae_coerce_desc(out, pf::kTypeUtf8Text, out), pf::noErr);
    EXPECT_EQ(text_of(out), "caf\u00E9");

    AEDesc corrupt = text_desc(pf::kTypeFileSpec, "short");
    EXPECT_EQ(pf::ae_coerce_desc(corrupt, pf::kTypeUtf8Text, out), pf::kAECorruptDataErr);
}

TEST(AECoercions, ListsRecordsAndInstalledHandlers) {
    AEDesc out;
    AEDesc one = desc_of<int32_t>(pf::kTypeLong, 5);
    ASSERT_EQ(pf::ae_coerce_desc(one, pf::kTypeList, out), pf::noErr);
    long count = 0;
    pf::ae_count_items(out, count);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(pf::ae_coerce_desc(out, pf::kTypeShort, out), pf::noErr);  // a one-item list gives its item
    EXPECT_EQ(out.type, pf::kTypeShort);

    AEDesc record;
    pf::ae_create_list(true, record);
    ASSERT_EQ(pf::ae_coerce_desc(record, four_cc("obj "), out), pf::noErr);
    EXPECT_EQ(out.type, four_cc("obj "));
    EXPECT_EQ(out.kind, pf::AEDescKind::record);

    auto doubled = [](const AEDesc& from, pf::FourCC to, long refcon, AEDesc& result) -> pf::OSErr {
        int32_t v = long_of(from) * 2 + int32_t(refcon);
        return pf::ae_create_desc(to, &v, sizeof v, result);
    };
    ASSERT_EQ(pf::ae_install_coercion_handler(four_cc("mine"), pf::kTypeLong, doubled, 1), pf::noErr);
    ASSERT_EQ(pf::ae_coerce_desc(desc_of<int32_t>(four_cc("mine"), 20), pf::kTypeLong, out), pf::noErr);
    EXPECT_EQ(long_of(out), 41);
    pf::ae_remove_coercion_handler(four_cc("mine"), pf::kTypeLong);
    EXPECT_EQ(pf::ae_coerce_desc(desc_of<int32_t>(four_cc("mine"), 20), pf::kTypeLong, out), pf::kAECoercionFailErr);
}

class AppleEvents : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root.empty());
        posted.clear();
        received.clear();
        pf::ae_set_post_hook([](pf::FourCC c, pf::FourCC i) { posted.emplace_back(c, i); });
    }
    void TearDown() override {
        pf::ae_set_post_hook(nullptr);
        pf::ae_clear_pending();
        for (auto id : {pf::kOpenDocuments, pf::kOpenApplication, four_cc("test"), pf::kTypeWildCard})
            pf::ae_remove_event_handler(pf::kCoreEventClass, id);
    }

    // Records what an open-documents handler was given, as the required handlers do.
    static pf::OSErr open_documents(const AppleEvent* event, AppleEvent*, long refcon) {
        AEDesc documents;
        if (pf::OSErr err = pf::ae_get_param_desc(*event, pf::kKeyDirectObject, pf::kTypeList, documents)) return err;
        if (pf::ae_get_attribute_ptr(*event, pf::kKeyMissedKeyword, pf::kTypeWildCard, nullptr, nullptr, 0, nullptr) !=
            pf::kAEDescNotFoundErr)
            return pf::kAEParamMissedErr;
        long count = 0;
        pf::ae_count_items(documents, count);
        for (long i = 1; i <= count; ++i) {
            pf::FileSpec spec;
            size_t size = 0;
            pf::FourCC type = 0;
            if (pf::OSErr err = pf::ae_get_nth_ptr(documents, i, pf::kTypeFileSpec, nullptr, &type, &spec, sizeof spec, &size))
                return err;
            std::string path;
            pf::path_from_file_spec(spec, path);
            received.push_back(path + (size == 70 && type == pf::kTypeFileSpec ? "" : " (bad size)"));
        }
        return pf::OSErr(refcon);
    }

    static inline std::vector<std::pair<pf::FourCC, pf::FourCC>> posted;
    static inline std::vector<std::string> received;
    TempFolder folder;
    const std::string root = folder.path;
};

TEST_F(AppleEvents, MissedKeywordsNameTheParametersNotRead) {
    AppleEvent event = event_to_self(pf::kCoreEventClass, four_cc("test"));
    pf::ae_put_param_desc(event, pf::kKeyDirectObject, text_desc(pf::kTypeText, "x"));
    pf::ae_put_param_desc(event, four_cc("extr"), text_desc(pf::kTypeText, "y"));
    auto handler = [](const AppleEvent* e, AppleEvent*, long) -> pf::OSErr {
        AEDesc direct, missed;
        pf::ae_get_param_desc(*e, pf::kKeyDirectObject, pf::kTypeWildCard, direct);
        if (pf::ae_get_attribute_desc(*e, pf::kKeyMissedKeyword, pf::kTypeWildCard, missed)) return -1;
        return uint32_t(long_of(missed)) == four_cc("extr") ? pf::kAEParamMissedErr : -2;
    };
    pf::ae_install_event_handler(pf::kCoreEventClass, four_cc("test"), handler, 0);
    AppleEvent reply;
    EXPECT_EQ(pf::ae_send(event, &reply, pf::kAEWaitReply), pf::kAEParamMissedErr);
    int32_t number = 0;
    ASSERT_EQ(pf::ae_get_param_ptr(reply, pf::kKeyErrorNumber, pf::kTypeLong, nullptr, &number, 4, nullptr), pf::noErr);
    EXPECT_EQ(number, pf::kAEParamMissedErr);

    // Listed as optional, the extra parameter is not missed.
    AEDesc optional;
    pf::ae_create_list(false, optional);
    pf::FourCC extra = four_cc("extr");
    pf::ae_put_ptr(optional, 0, pf::kTypeKeyword, &extra, 4);
    pf::ae_put_attribute_desc(event, pf::kKeyOptionalKeywords, optional);
    EXPECT_EQ(pf::ae_send(event, nullptr, pf::kAEWaitReply), -1);

    pf::FourCC event_class = 0;
    ASSERT_EQ(pf::ae_get_attribute_ptr(event, pf::kKeyEventClass, pf::kTypeType, nullptr, &event_class, 4, nullptr), pf::noErr);
    EXPECT_EQ(event_class, pf::kCoreEventClass);
}

TEST_F(AppleEvents, HandlerTableWithReferenceValuesAndWildcards) {
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kOpenDocuments, open_documents, 5);
    pf::AEEventHandler handler = nullptr;
    long refcon = 0;
    ASSERT_EQ(pf::ae_get_event_handler(pf::kCoreEventClass, pf::kOpenDocuments, handler, refcon), pf::noErr);
    EXPECT_EQ(refcon, 5);
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kOpenDocuments, open_documents, -1);  // replaces
    pf::ae_get_event_handler(pf::kCoreEventClass, pf::kOpenDocuments, handler, refcon);
    EXPECT_EQ(refcon, -1);

    AppleEvent unknown = event_to_self(pf::kCoreEventClass, four_cc("test"));
    EXPECT_EQ(pf::ae_send(unknown, nullptr, pf::kAEWaitReply), pf::kAEEventNotHandledErr);
    auto any = [](const AppleEvent*, AppleEvent*, long refcon) { return pf::OSErr(refcon); };
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kTypeWildCard, any, 42);
    EXPECT_EQ(pf::ae_send(unknown, nullptr, pf::kAEWaitReply), 42);
    EXPECT_EQ(pf::ae_remove_event_handler(pf::kCoreEventClass, pf::kTypeWildCard), pf::noErr);
    EXPECT_EQ(pf::ae_remove_event_handler(pf::kCoreEventClass, pf::kTypeWildCard), pf::kAEDescNotFoundErr);
}

TEST_F(AppleEvents, EventsToOurselvesWaitInTheQueue) {
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kOpenDocuments, open_documents, 0);
    AppleEvent event = event_to_self(pf::kCoreEventClass, pf::kOpenDocuments);
    AEDesc empty;
    pf::ae_create_list(false, empty);
    pf::ae_put_param_desc(event, pf::kKeyDirectObject, empty);
    ASSERT_EQ(pf::ae_send(event, nullptr, pf::kAENoReply), pf::noErr);
    EXPECT_EQ(pf::ae_pending_count(), 1u);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0], std::pair(pf::kCoreEventClass, pf::kOpenDocuments));
    EXPECT_EQ(pf::ae_process_apple_event(), pf::noErr);
    EXPECT_EQ(pf::ae_pending_count(), 0u);
    EXPECT_EQ(pf::ae_process_apple_event(), pf::kAEEventNotHandledErr);

    AEDesc elsewhere = desc_of(pf::kTypeProcessSerialNumber, pf::ProcessSerialNumber{0, 99999999});
    AppleEvent stray;
    pf::ae_create_apple_event(pf::kCoreEventClass, pf::kOpenDocuments, elsewhere, 0, 0, stray);
    EXPECT_EQ(pf::ae_send(stray, nullptr, pf::kAENoReply), pf::kProcessNotFoundErr);
    AEDesc by_name = text_desc(four_cc("aprl"), "Other");
    pf::ae_create_apple_event(pf::kCoreEventClass, pf::kOpenDocuments, by_name, 0, 0, stray);
    EXPECT_EQ(pf::ae_send(stray, nullptr, pf::kAENoReply), pf::kAEUnknownAddressTypeErr);
    EXPECT_EQ(pf::ae_pending_count(), 0u);
    EXPECT_EQ(pf::ae_interact_with_user(pf::kAEDefaultTimeout), pf::noErr);
}

TEST_F(AppleEvents, CommandLinePathsBecomeAnOpenDocumentsEvent) {
    std::string plain = root + "/budget.qrv";
    std::string long_name = root + "/" + std::string(80, 'q') + " \u62A5\u544A.csv";
    std::ofstream(plain) << "x";
    std::ofstream(long_name) << "y";
    pf::ae_install_event_handler(pf::kCoreEventClass, pf::kOpenDocuments, open_documents, 0);

    const char* argv[] = {"quorvin", plain.c_str(), long_name.c_str(), "/no/such/folder/file.qrv"};
    ASSERT_EQ(pf::ae_post_launch_event(4, argv), pf::noErr);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].second, pf::kOpenDocuments);
    ASSERT_EQ(pf::ae_process_apple_event(), pf::noErr);
    EXPECT_EQ(received, (std::vector<std::string>{plain, long_name}));

    const char* bare[] = {"quorvin"};
    ASSERT_EQ(pf::ae_post_launch_event(1, bare), pf::noErr);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[1].second, pf::kOpenApplication);
}

TEST(AECoercions, FilesAsPathsAndAliases) {
    TempFolder folder;
    ASSERT_FALSE(folder.path.empty());
    std::string root = folder.path, path = root + "/notes \u00E9.txt";
    std::ofstream(path) << "n";
    AEDesc spec, out;
    ASSERT_EQ(pf::ae_coerce_desc(text_desc(pf::kTypeUtf8Text, path), pf::kTypeFileSpec, spec), pf::noErr);
    EXPECT_EQ(spec.data.size(), 70u);
    ASSERT_EQ(pf::ae_coerce_desc(spec, pf::kTypeUtf8Text, out), pf::noErr);
    EXPECT_EQ(text_of(out), path);
    AEDesc alias;
    ASSERT_EQ(pf::ae_coerce_desc(spec, pf::kTypeAlias, alias), pf::noErr);
    fs::rename(path, root + "/renamed.txt");
    ASSERT_EQ(pf::ae_coerce_desc(alias, pf::kTypeUtf8Text, out), pf::noErr);
    EXPECT_EQ(text_of(out), root + "/renamed.txt");
}

}  // namespace
