#include "excel/compound_file.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/memory_manager.h"

namespace {

constexpr uint8_t kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Unreferences a GObject when it goes out of scope.
struct Unref {
    void* object;
    ~Unref() {
        if (object) g_object_unref(object);
    }
};

// A stream is never longer than the file that holds it. It is read a piece
// at a time, so that the container's reader holds no copy of it whole.
bool read_child(GsfInfile* container, const char* name, size_t file_size, std::vector<uint8_t>& stream) {
    constexpr size_t kPiece = size_t(64) << 10;
    GsfInput* child = gsf_infile_child_by_name(container, name);
    Unref release{child};
    if (!child) return false;
    gsf_off_t size = gsf_input_size(child);
    if (size < 0 || size_t(size) > file_size) return false;
    stream.resize(size_t(size));
    for (size_t at = 0; at < stream.size(); at += kPiece)
        if (!gsf_input_read(child, std::min(kPiece, stream.size() - at), stream.data() + at)) return false;
    return true;
}

// The name of the container's child that is `name` in any case; the other
// streams and storages (pivot-table caches, macros, summaries) are passed over.
const char* child_named(GsfInfile* container, const char* name) {
    for (int i = 0; i < gsf_infile_num_children(container); ++i) {
        const char* child = gsf_infile_name_by_index(container, i);
        if (child && g_ascii_strcasecmp(child, name) == 0) return child;
    }
    return nullptr;
}

// A damaged container is reported as an unreadable file; libgsf's own
// warnings about it would only reach the terminal.
void quiet_container_warnings() {
    static bool done = false;
    if (done) return;
    done = true;
    g_log_set_handler("libgsf:msole",
                      GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
                      [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
}

}  // namespace

bool is_compound_file(const uint8_t* bytes, size_t length) {
    return length >= sizeof kSignature && std::memcmp(bytes, kSignature, sizeof kSignature) == 0;
}

namespace {

// The workbook stream of the compound file the input reads; the input is
// let go of.
bool workbook_stream_of(GsfInput* input, std::vector<uint8_t>& stream) {
    Unref release_input{input};
    if (!input) return false;
    const size_t file_size = size_t(gsf_input_size(input));
    GError* error = nullptr;
    GsfInfile* container = gsf_infile_msole_new(input, &error);
    Unref release_container{container};
    if (error) g_error_free(error);
    if (!container) return false;
    for (const char* name : {"Workbook", "Book"})
        if (const char* found = child_named(container, name))
            if (read_child(container, found, file_size, stream)) return true;
    return false;
}

// The container reader (through GLib) ends the program when an allocation
// fails. Before a file is handed to it, the memory its reading takes is made
// sure of by having it once and giving it back: its first start, its tables
// (which grow with the file) and its reading buffers. Without it, running out
// of memory is a failure (kNoMemoryErr) to the caller's handler, and false.
void* volatile memory_probe = nullptr;  // volatile: the probe is really made

bool container_memory_available(size_t file_size) {
    constexpr size_t kReaderNeed = size_t(1) << 20;
    memory_probe = std::malloc(kReaderNeed + file_size / 32);
    void* probe = memory_probe;
    memory_probe = nullptr;
    if (!probe) {
        msFailure(&mem_globals, kNoMemoryErr, nullptr);
        return false;
    }
    std::free(probe);
    return true;
}

bool start_container_reading(size_t file_size) {
    if (!container_memory_available(file_size)) return false;
    gsf_init();
    quiet_container_warnings();
    return true;
}

}  // namespace

bool workbook_stream(const std::vector<uint8_t>& file, std::vector<uint8_t>& stream) {
    if (!start_container_reading(file.size())) return false;
    return workbook_stream_of(gsf_input_memory_new(file.data(), gsf_off_t(file.size()), FALSE), stream);
}

bool workbook_stream_in_file(const std::string& path, std::vector<uint8_t>& stream, size_t file_size) {
    if (!start_container_reading(file_size)) return false;
    GError* error = nullptr;
    GsfInput* input = gsf_input_stdio_new(path.c_str(), &error);
    if (error) g_error_free(error);
    return workbook_stream_of(input, stream);
}
