#include "excel/workbook_decryption.h"

#include <glib.h>

#include <algorithm>
#include <cstring>

#include "excel/biff_stream.h"

namespace {

constexpr char16_t kDefaultPassword[] = u"VelvetSweatshop";
constexpr uint16_t kBofRecord = 0x0809;
constexpr uint16_t kEncryptionRc4 = 1;
constexpr size_t kVerifierSize = 16;
constexpr size_t kMd5Size = 16;
constexpr size_t kSha1Size = 20;
constexpr size_t kStandardHashPart = 5;  // of MD5 hashes, in the standard scheme
constexpr int kStandardSaltRounds = 16;
constexpr uint32_t kDefaultKeyBits = 40;  // a CryptoAPI key size of 0
constexpr size_t kPaddedKeySize = 16;

std::vector<uint8_t> digest(GChecksumType type, const std::vector<uint8_t>& bytes) {
    GChecksum* checksum = g_checksum_new(type);
    g_checksum_update(checksum, bytes.data(), bytes.size());
    std::vector<uint8_t> out(type == G_CHECKSUM_MD5 ? kMd5Size : kSha1Size);
    gsize length = out.size();
    g_checksum_get_digest(checksum, out.data(), &length);
    g_checksum_free(checksum);
    return out;
}

void append_utf16le(std::vector<uint8_t>& out, const char16_t* text) {
    for (; *text; ++text) {
        out.push_back(uint8_t(*text));
        out.push_back(uint8_t(*text >> 8));
    }
}

void append_u32le(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(value >> shift));
}

// Whether the verifier decrypted with the first block's key hashes to the
// verifier hash decrypted after it, so that the password is the right one.
bool password_verified(const Rc4Scheme& scheme, const uint8_t* verifier, const uint8_t* verifier_hash) {
    size_t hash_size = scheme.crypto_api ? kSha1Size : kMd5Size;
    std::vector<uint8_t> both(verifier, verifier + kVerifierSize);
    both.insert(both.end(), verifier_hash, verifier_hash + hash_size);
    rc4_apply(rc4_block_key(scheme, 0), both.data(), both.size());
    std::vector<uint8_t> plain(both.begin(), both.begin() + kVerifierSize);
    std::vector<uint8_t> expected = digest(scheme.crypto_api ? G_CHECKSUM_SHA1 : G_CHECKSUM_MD5, plain);
    return std::equal(expected.begin(), expected.end(), both.begin() + kVerifierSize);
}

// The scheme of a BIFF8 RC4 FILEPASS record under the default password, when
// that password opens it.
bool default_password_scheme(ByteCursor body, Rc4Scheme& scheme) {
    if (body.u16() != kEncryptionRc4) return false;  // XOR obfuscation
    uint16_t major = body.u16(), minor = body.u16();
    if (major == 1 && minor == 1) {  // the standard scheme
        const uint8_t* salt = body.bytes(16);
        const uint8_t* verifier = body.bytes(kVerifierSize);
        const uint8_t* verifier_hash = body.bytes(kMd5Size);
        scheme = rc4_scheme(false, 128, salt, kDefaultPassword);
        return password_verified(scheme, verifier, verifier_hash);
    }
    if (major < 2 || major > 4 || minor != 2) return false;
    body.u32();  // flags
    uint32_t header_size = body.u32();
    ByteCursor header{body.bytes(header_size), header_size, 0};
    header.skip(16);  // flags, extra size, cipher and hash algorithms
    uint32_t key_bits = header.u32();
    if (key_bits == 0) key_bits = kDefaultKeyBits;
    if (key_bits % 8 != 0 || key_bits < kDefaultKeyBits || key_bits > 128) return false;
    if (body.u32() != 16) return false;  // salt size
    const uint8_t* salt = body.bytes(16);
    const uint8_t* verifier = body.bytes(kVerifierSize);
    if (body.u32() != kSha1Size) return false;
    const uint8_t* verifier_hash = body.bytes(kSha1Size);
    scheme = rc4_scheme(true, key_bits, salt, kDefaultPassword);
    return password_verified(scheme, verifier, verifier_hash);
}

// A FILEPASS record of a scheme not read, or cut short, asks for a password.
bool opens_with_default_password(const ByteCursor& body, Rc4Scheme& scheme) {
    try {
        return default_password_scheme(body, scheme);
    } catch (const ExcelDamaged&) {
        return false;
    }
}

// The key stream of one block at a time, for bytes at rising positions.
class KeyStream {
public:
    explicit KeyStream(const Rc4Scheme& scheme) : scheme_(scheme) {}

    uint8_t at(size_t position) {
        size_t block = position / kRc4BlockSize;
        if (block != block_) {
            std::fill(std::begin(bytes_), std::end(bytes_), 0);
            rc4_apply(rc4_block_key(scheme_, uint32_t(block)), bytes_, kRc4BlockSize);
            block_ = block;
        }
        return bytes_[position % kRc4BlockSize];
    }

private:
    const Rc4Scheme& scheme_;
    size_t block_ = SIZE_MAX;
    uint8_t bytes_[kRc4BlockSize];
};

}  // namespace

Rc4Scheme rc4_scheme(bool crypto_api, uint32_t key_bits, const uint8_t* salt, const char16_t* password) {
    Rc4Scheme scheme;
    scheme.crypto_api = crypto_api;
    scheme.key_bits = key_bits;
    std::memcpy(scheme.salt, salt, sizeof scheme.salt);
    std::vector<uint8_t> input;
    if (crypto_api) {
        input.assign(salt, salt + 16);
        append_utf16le(input, password);
        scheme.password_hash = digest(G_CHECKSUM_SHA1, input);
        return scheme;
    }
    append_utf16le(input, password);
    std::vector<uint8_t> first = digest(G_CHECKSUM_MD5, input);
    std::vector<uint8_t> salted;
    for (int round = 0; round < kStandardSaltRounds; ++round) {
        salted.insert(salted.end(), first.begin(), first.begin() + kStandardHashPart);
        salted.insert(salted.end(), salt, salt + 16);
    }
    std::vector<uint8_t> second = digest(G_CHECKSUM_MD5, salted);
    scheme.password_hash.assign(second.begin(), second.begin() + kStandardHashPart);
    return scheme;
}

Rc4Key rc4_block_key(const Rc4Scheme& scheme, uint32_t block) {
    std::vector<uint8_t> input = scheme.password_hash;
    append_u32le(input, block);
    std::vector<uint8_t> hash = digest(scheme.crypto_api ? G_CHECKSUM_SHA1 : G_CHECKSUM_MD5, input);
    Rc4Key key;
    key.length = scheme.crypto_api ? scheme.key_bits / 8 : kMd5Size;
    std::memcpy(key.bytes, hash.data(), key.length);
    if (key.length < kPaddedKeySize) key.length = kPaddedKeySize;  // a 40-bit key is padded with zeros
    return key;
}

void rc4_apply(const Rc4Key& key, uint8_t* bytes, size_t length) {
    uint8_t state[256];
    for (int i = 0; i < 256; ++i) state[i] = uint8_t(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + state[i] + key.bytes[size_t(i) % key.length]) & 0xFF;
        std::swap(state[i], state[j]);
    }
    for (size_t n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + state[i]) & 0xFF;
        std::swap(state[i], state[j]);
        bytes[n] ^= state[(state[i] + state[j]) & 0xFF];
    }
}

size_t clear_bytes_of_record(uint16_t type, size_t body_length) {
    switch (type) {
    case kBofRecord:
    case kRecFilePass:
    case 0x0194:  // USREXCL
    case 0x0195:  // FILELOCK
    case 0x00E1:  // INTERFACEHDR
    case 0x0196:  // RRDINFO
    case 0x0138:  // RRDHEAD
        return body_length;
    case kRecBoundSheet: return std::min<size_t>(4, body_length);
    default: return 0;
    }
}

void rc4_apply_to_records(std::vector<uint8_t>& stream, size_t from, const Rc4Scheme& scheme) {
    KeyStream key_stream(scheme);
    RecordWalk walk{&stream, from};
    BiffRecord record;
    while (walk.read(record)) {
        size_t body = record.offset + 4;
        for (size_t at = clear_bytes_of_record(record.type, record.body.size); at < record.body.size; ++at)
            stream[body + at] ^= key_stream.at(body + at);
    }
}

StreamEncryption decrypt_default_password(std::vector<uint8_t>& stream) {
    RecordWalk walk{&stream, 0};
    BiffRecord record;
    if (!walk.read(record) || record.type != kBofRecord) return StreamEncryption::kNone;
    bool biff8 = record.body.size >= 2 && record.body.u16() == 0x0600;
    while (walk.read(record) && record.type != kRecEof) {
        if (record.type != kRecFilePass) continue;
        Rc4Scheme scheme;
        if (!biff8 || !opens_with_default_password(record.body, scheme)) return StreamEncryption::kUserPassword;
        rc4_apply_to_records(stream, walk.next, scheme);
        return StreamEncryption::kDefaultPassword;
    }
    return StreamEncryption::kNone;
}
