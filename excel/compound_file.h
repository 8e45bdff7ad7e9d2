// The OLE2 compound file around a workbook, read through libgsf.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Whether the bytes begin with the compound file's signature.
bool is_compound_file(const uint8_t* bytes, size_t length);

// The "Workbook" stream (BIFF8), else the "Book" stream (BIFF5/7), of a
// compound file held in memory; false when the container is damaged or
// holds neither. Memory too short to read the container is a failure
// (kNoMemoryErr) to the innermost failure handler, and false.
bool workbook_stream(const std::vector<uint8_t>& file, std::vector<uint8_t>& stream);
// The same from a compound file on disk of `file_size` bytes, read in place:
// of the file, only the stream is ever held.
bool workbook_stream_in_file(const std::string& path, std::vector<uint8_t>& stream, size_t file_size);
