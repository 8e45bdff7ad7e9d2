// Pictures from image files: PNG files read into the recorded picture form
// that picture objects draw, and placed on a sheet as picture objects.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/draw/picture.h"
#include "platform/files/files.h"

// The file is damaged or of a kind that is not read (the file-error code of
// that message).
constexpr int16_t kUnreadablePictureErr = 1001;
// 0 when the bytes are a PNG image of a size that can be taken (sides of at
// most pf::kLargestPictureSide), every chunk inside the bytes, else
// kUnreadablePictureErr (kFileTooLongErr for an image too large).
int16_t png_refusal(std::span<const uint8_t> bytes);
// 0 when the file holds such an image, else the error.
int16_t CanOpenGraphicsFile(const pf::FileSpec& spec);
// The PNG image as picture bytes, its frame the image's size, transparent
// parts over white; empty with `error` set when it cannot be read.
std::vector<uint8_t> picture_from_png(std::span<const uint8_t> png, int16_t* error);
// The picture of an image file in `picture` (none on failure); the error, 0
// when read.
int16_t MakePictFromFile(const pf::FileSpec& spec, pf::PicHandle* picture);
// A picture object of the file, in no layer, its size the picture's; none
// with `error` set when the file cannot be read or memory failed.
MemoryRef picture_object_from_file(const pf::FileSpec& spec, int16_t* error);

// Places the file's picture at the selection as a new selected object (undo
// kind 26); an unreadable file is refused with an alert naming it. 1 when placed.
int16_t place_picture_file(MemoryRef layer, const pf::FileSpec& spec);
// The Object menu's Place Picture: chooses an image file and places it.
void place_picture_command(MemoryRef layer);
// Picture objects dropped on a sheet, one entry for each dropped item (none
// for an item that gave no picture): the n-th item's anchored n - 1 cells
// below and right of `cell`, given fresh ids, added and selected as one undo
// step (kind 25). Answers how many were placed.
int32_t drop_picture_objects(const std::vector<MemoryRef>& per_item, CellPoint cell, MemoryRef layer);
