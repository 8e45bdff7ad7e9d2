// Workbooks kept encrypted under the format's default password open as
// protected workbooks; a password of the user's is still refused.
#include <glib.h>

#include "excel/workbook_decryption.h"
#include "files/document_reading.h"
#include "model/workbook.h"
#include "tests/excel/excel_fixture.h"
#include "tests/excel/excel_samples.h"

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;
using biff::kOtherProgramsSalt;
using biff::kOtherProgramsVerifier;
using biff::standard_filepass;

// A CryptoAPI FILEPASS whose verifier the password opens.
Record crypto_api_filepass(const char16_t* password, uint32_t key_bits) {
    const uint8_t salt[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6};
    std::vector<uint8_t> secret(16, 0x5A);
    std::vector<uint8_t> hash(20);
    gsize length = hash.size();
    GChecksum* sha1 = g_checksum_new(G_CHECKSUM_SHA1);
    g_checksum_update(sha1, secret.data(), secret.size());
    g_checksum_get_digest(sha1, hash.data(), &length);
    g_checksum_free(sha1);
    std::vector<uint8_t> both = secret;
    both.insert(both.end(), hash.begin(), hash.end());
    rc4_apply(rc4_block_key(rc4_scheme(true, key_bits, salt, password), 0), both.data(), both.size());
    Body header;
    header.u32(0).u32(0).u32(0x6801).u32(0x8004).u32(key_bits == 40 ? 0 : key_bits).u32(1).u32(0).u32(0).u16(0);
    Body body;
    body.u16(1).u16(2).u16(2).u32(0).u32(uint32_t(header.v.size())).raw(header.v);
    body.u32(16).raw(std::vector<uint8_t>(salt, salt + 16)).raw(std::vector<uint8_t>(both.begin(), both.begin() + 16));
    body.u32(20).raw(std::vector<uint8_t>(both.begin() + 16, both.end()));
    return {0x002F, body.v};
}

// The workbook with FILEPASS first among its globals, every record after it
// encrypted as the scheme encrypts it.
std::vector<uint8_t> encrypted_workbook(const Record& filepass, const Rc4Scheme& scheme) {
    Sheet first{"One", {biff::number(0, 0, 42), {0x0204, Body().cell(1, 0).text8(std::string(1500, 'w')).v}}};
    Sheet second{"Two", {}};
    for (uint16_t row = 0; row < 200; ++row) second.records.push_back(biff::number(row, 1, row * 0.5));
    std::vector<uint8_t> stream = biff::workbook(true, {filepass, {0x0012, Body().u16(1).v}}, {first, second});
    size_t after_filepass = 4 + 16 + 4 + filepass.body.size();
    rc4_apply_to_records(stream, after_filepass, scheme);
    return biff::compound_file(stream);
}

class ExcelEncryptionTest : public ExcelTest {
protected:
    void expect_read_whole() {
        EXPECT_EQ(layers(), 2);
        EXPECT_EQ(layer_name(1), "Two");
        EXPECT_EQ(number_at(0, 0, 0), 42);
        EXPECT_EQ(text_at(0, 1, 0), std::string(1500, 'w'));
        EXPECT_EQ(number_at(1, 199, 1), 99.5);  // past several blocks of the key stream
        EXPECT_TRUE(Get_Work_Flags(workbook) & kWorkProtected);
    }
};

TEST_F(ExcelEncryptionTest, TheDefaultPasswordOpensAnotherSpreadsheetsProtectedWorkbook) {
    Record filepass = standard_filepass(kOtherProgramsSalt, std::string(kOtherProgramsVerifier, 32));
    Rc4Scheme scheme = rc4_scheme(false, 128, kOtherProgramsSalt, u"VelvetSweatshop");
    ASSERT_EQ(import(encrypted_workbook(filepass, scheme)), 0);
    expect_read_whole();
}

TEST_F(ExcelEncryptionTest, CryptoApiKeysOfEverySizeAreRead) {
    for (uint32_t bits : {40u, 128u}) {
        const uint8_t salt[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6};
        Record filepass = crypto_api_filepass(u"VelvetSweatshop", bits);
        ASSERT_EQ(import(encrypted_workbook(filepass, rc4_scheme(true, bits, salt, u"VelvetSweatshop"))), 0) << bits;
        expect_read_whole();
        while (layers() > 1) drop_last_layer(workbook);
    }
}

TEST_F(ExcelEncryptionTest, AWorkbookUnderAPasswordOfTheUsersIsRefused) {
    const uint8_t salt[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6};
    Record own = crypto_api_filepass(u"secret", 128);
    EXPECT_EQ(import(encrypted_workbook(own, rc4_scheme(true, 128, salt, u"secret"))), kExcelPasswordNote);
    std::string altered(kOtherProgramsVerifier, 32);
    altered[0] ^= 1;
    Record wrong = standard_filepass(kOtherProgramsSalt, altered);
    EXPECT_EQ(import(encrypted_workbook(wrong, rc4_scheme(false, 128, kOtherProgramsSalt, u"VelvetSweatshop"))),
              kExcelPasswordNote);
    EXPECT_EQ(layers(), 1);
    EXPECT_EQ(cell_at(0, 0, 0), nullptr);
}

}  // namespace
