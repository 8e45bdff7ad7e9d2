// Workbooks encrypted with the format's default password. A workbook whose
// structure is protected without a password of the user's is kept encrypted
// under the password "VelvetSweatshop"; such a workbook is decrypted here and
// read like any other. RC4 encryption (standard and CryptoAPI) is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class StreamEncryption {
    kNone,            // no FILEPASS record
    kDefaultPassword, // decrypted in place with the default password
    kUserPassword,    // needs a password of the user's, or a scheme not read
};

// Looks for the FILEPASS record among the globals of a BIFF5/8 workbook
// stream and, when the default password opens it, decrypts every record
// after it in place.
StreamEncryption decrypt_default_password(std::vector<uint8_t>& stream);

// ---- The parts, for the test writer of encrypted workbooks -----------------

constexpr size_t kRc4BlockSize = 1024;  // a new key every 1024 bytes of the stream

// The RC4 key of one block of the stream.
struct Rc4Key {
    uint8_t bytes[20] = {};
    size_t length = 0;
};

// How the keys of a workbook's blocks are made from the password.
struct Rc4Scheme {
    bool crypto_api = false;    // SHA-1 keys of `key_bits`; else MD5 keys of the standard scheme
    uint32_t key_bits = 128;
    uint8_t salt[16] = {};
    std::vector<uint8_t> password_hash;  // what the password gives before the block number
};

Rc4Scheme rc4_scheme(bool crypto_api, uint32_t key_bits, const uint8_t* salt, const char16_t* password);
Rc4Key rc4_block_key(const Rc4Scheme& scheme, uint32_t block);
// XORs `length` bytes with the key stream of a key, from its start.
void rc4_apply(const Rc4Key& key, uint8_t* bytes, size_t length);

// Whether the record's body is kept in clear in an encrypted stream, and how
// many of its first bytes are (BOUNDSHEET's sheet offset).
size_t clear_bytes_of_record(uint16_t type, size_t body_length);

// XORs the record bodies after `from` with the key stream of the scheme at
// their positions in the stream: encrypts or decrypts alike.
void rc4_apply_to_records(std::vector<uint8_t>& stream, size_t from, const Rc4Scheme& scheme);
