// Image files become pictures: a PNG is read into the recorded picture form.
#include "objects/picture_files.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "ui/alerts.h"
#include "ui/nav_dialogs.h"
#include "model/clip_record.h"
#include "objects/object_clipboard.h"
#include "ui/edit_refusals.h"
#include "model/undo_record.h"
#include "files/document_file.h"
#include "model/workbook.h"
#include "objects/object_clipboard.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "platform/draw/picture_png.h"

namespace {

constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, chunk length and type, then the header's width and height.
constexpr size_t kPngHeaderBytes = 24;
constexpr int32_t kLargestPictureFile = int32_t(64) << 20;

uint32_t big_endian_at(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

// The signature, the header chunk first, and dimensions that can be taken.
int16_t png_header_refusal(std::span<const uint8_t> bytes) {
    if (bytes.size() < kPngHeaderBytes || !std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin()) ||
        big_endian_at(bytes, 12) != pf::four_cc("IHDR"))
        return kUnreadablePictureErr;
    const uint32_t width = big_endian_at(bytes, 16), height = big_endian_at(bytes, 20);
    if (width == 0 || height == 0) return kUnreadablePictureErr;
    if (pf::png_too_large(bytes)) return pf::kFileTooLongErr;
    return 0;
}

// Reads the image file whole; the error, 0 when read and a PNG.
int16_t read_picture_file(const pf::FileSpec& spec, std::vector<uint8_t>& bytes) {
    if (pf::OSErr err = pf::read_whole_file(spec, kLargestPictureFile, bytes)) return err;
    return png_refusal(bytes);
}

}  // namespace

int16_t png_refusal(std::span<const uint8_t> bytes) {
    if (int16_t refusal = png_header_refusal(bytes)) return refusal;
    return pf::png_chunks_inside(bytes) ? 0 : kUnreadablePictureErr;
}

int16_t CanOpenGraphicsFile(const pf::FileSpec& spec) {
    int16_t ref = 0;
    if (pf::OSErr err = pf::open_data_fork(spec, pf::kReadPermission, ref)) return err;
    std::array<uint8_t, kPngHeaderBytes> start{};
    int32_t count = int32_t(start.size());
    pf::read_file(ref, count, start.data());
    pf::close_file(ref);
    return png_header_refusal(std::span<const uint8_t>(start.data(), size_t(count)));
}

std::vector<uint8_t> picture_from_png(std::span<const uint8_t> png, int16_t* error) {
    *error = png_refusal(png);
    if (*error) return {};
    std::vector<uint8_t> bytes = pf::png_to_picture(png);
    if (bytes.empty()) *error = kUnreadablePictureErr;
    return bytes;
}

int16_t MakePictFromFile(const pf::FileSpec& spec, pf::PicHandle* picture) {
    *picture = nullptr;
    std::vector<uint8_t> file;
    if (int16_t error = read_picture_file(spec, file)) return error;
    int16_t error = 0;
    std::vector<uint8_t> bytes = picture_from_png(file, &error);
    if (error) return error;
    *picture = new pf::Picture{std::move(bytes)};
    return 0;
}

MemoryRef picture_object_from_file(const pf::FileSpec& spec, int16_t* error) {
    pf::PicHandle picture = nullptr;
    *error = MakePictFromFile(spec, &picture);
    if (*error) return nullptr;
    MemoryRef object = picture_object_from(picture->data.data(), int32_t(picture->data.size()));
    pf::kill_picture(picture);
    if (!object) *error = pf::kMemFullErr;
    return object;
}

int16_t place_picture_file(MemoryRef layer, const pf::FileSpec& spec) {
    int16_t error = 0;
    MemoryRef object = picture_object_from_file(spec, &error);
    if (!object) {
        show_named_file_error(error, spec.name);
        return 0;
    }
    PasteObject(object, layer, 0);
    return 1;
}

void place_picture_command(MemoryRef layer) {
    if (check_access(layer)) {
        refuse_with_alert(layer, kEditLockedWorkbook);
        return;
    }
    auto shows_pictures = [](const pf::FileSpec& item, const pf::CatalogInfo& info, void*) {
        return info.is_folder || CanOpenGraphicsFile(item) == 0;
    };
    pf::NavObjectFilterProc filter = shows_pictures;
    pf::FileSpec chosen{};
    if (NavOpenDialog(nullptr, nullptr, 0, 0, &chosen, kAppCreator, reinterpret_cast<void*>(filter)) != 0) return;
    place_picture_file(layer, chosen);
}

int32_t drop_picture_objects(const std::vector<MemoryRef>& per_item, CellPoint cell, MemoryRef layer) {
    std::vector<MemoryRef> objects;
    for (size_t step = 0; step < per_item.size(); ++step) {
        MemoryRef object = per_item[step];
        if (!object) continue;
        ObjectUse r(object);
        r->anchor_row = int16_t(std::min<int32_t>(cell.v + int32_t(step), kLastCell));
        r->anchor_column = int16_t(std::min<int32_t>(cell.h + int32_t(step), kLastCell));
        r->v_offset = r->h_offset = 0;
        r.release();
        if (!objects.empty()) SetObj_info(objects.back(), pf::four_cc("link"), reinterpret_cast<intptr_t>(object));
        objects.push_back(object);
    }
    if (objects.empty()) return 0;
    ResetObjectID(objects.front(), layer);
    record_added_objects(kUndoObjectsAdded, objects.front(), layer);
    clear_selected_objects(layer);
    for (MemoryRef object : objects) add_brought_in_object(layer, object);
    DrawAllObjects(layer);
    return int32_t(objects.size());
}
