// The file record of a workbook and the document file held open while the
// document is open.
#include <cstring>

#include "core/memory_use.h"
#include "files/document_file.h"
#include "model/workbook.h"

MemoryRef NewFileRec(const pf::FileSpec* spec) {
    MemoryRef made = nullptr;
    int16_t error = with_failure_handler(&mem_globals, [&] {
        made = pgAllocateNewRef(&mem_globals, sizeof(FileInfoRecord), 1, 0, true);
        if (!made) msFailure(&mem_globals, kNoMemoryErr, nullptr);
    });
    if (error) return nullptr;
    MemoryUse<FileInfoRecord> record(made);
    *record = FileInfoRecord{};
    if (spec) {
        record->spec = *spec;
        pf::FileStamp stamp;
        pf::get_file_stamp(*spec, stamp);
        record->stamp = stamp;
    }
    return made;
}

FileInfoRecord read_file_record(MemoryRef info) {
    FileInfoRecord copy{};
    if (!info || GetByteSize(info) < int32_t(sizeof copy)) return copy;
    std::memcpy(&copy, MemoryUse<>(info).get(), sizeof copy);
    return copy;
}

void write_file_record(MemoryRef info, const FileInfoRecord& record) {
    if (!info || GetByteSize(info) < int32_t(sizeof record)) return;
    std::memcpy(MemoryUse<>(info).get(), &record, sizeof record);
}

FileInfoRecord file_record_of(MemoryRef workbook) { return read_file_record(Get_fileinfo(workbook)); }
void set_file_record(MemoryRef workbook, const FileInfoRecord& record) {
    write_file_record(Get_fileinfo(workbook), record);
}

int16_t get_fileType(MemoryRef workbook) { return file_record_of(workbook).format_code; }

// The record's fields are packed: the stamp goes through a copy.
void stamp_document_file(MemoryRef workbook) {
    FileInfoRecord record = file_record_of(workbook);
    pf::FileStamp stamp;
    pf::get_file_stamp(record.spec, stamp);
    record.stamp = stamp;
    set_file_record(workbook, record);
}

bool document_file_replaced(MemoryRef workbook) {
    const FileInfoRecord record = file_record_of(workbook);
    const pf::FileStamp then = record.stamp;
    pf::FileStamp now;
    pf::get_file_stamp(record.spec, now);
    return now.inode != 0 && pf::file_replaced_since(then, now);
}

void close_document_file(MemoryRef workbook) {
    FileInfoRecord record = file_record_of(workbook);
    if (!record.open_file) return;
    pf::close_file(record.open_file);
    record.open_file = 0;
    set_file_record(workbook, record);
}

void reopen_file(MemoryRef workbook) {
    FileInfoRecord record = file_record_of(workbook);
    if (record.format_code == kFormatUntitled) return;
    if (record.open_file) pf::close_file(record.open_file);
    int16_t ref = 0;
    if (pf::open_data_fork(record.spec, pf::kReadPermission, ref) == 0) {
        record.open_file = ref;
        record.flags &= ~kFileNotKeptOpen;
    } else {
        record.open_file = 0;
        record.flags |= kFileNotKeptOpen;
    }
    set_file_record(workbook, record);
}
