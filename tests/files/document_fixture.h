// A session with the document code's questions answered by the test, a
// folder of its own, and functions that save, open and read files.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "files/document_prompts.h"
#include "files/document_saving.h"
#include "tests/files/sample_workbook.h"
#include "tests/platform/temp_folder.h"

namespace prompts_log {
inline std::vector<std::string> seen;
inline int16_t answer = kAnswerOK;
inline int16_t password_answer = 0;
inline int16_t log_question(int16_t list, int16_t index) {
    seen.push_back("ask " + std::to_string(list) + "/" + std::to_string(index));
    return answer;
}
inline void log_message(int16_t list, int16_t index) {
    seen.push_back("tell " + std::to_string(list) + "/" + std::to_string(index));
}
inline void log_file_error(int16_t error) { seen.push_back("error " + std::to_string(error)); }
inline int16_t log_password_asked(const uint8_t*) {
    seen.push_back("password");
    return password_answer;
}
// The figures of the last message told with figures.
inline std::vector<std::string> figures;
inline void log_message_with_figures(int16_t list, int16_t index, const std::vector<std::string>& told) {
    log_message(list, index);
    figures = told;
}
// The Save dialog: cancelled unless a choice is set, which it then makes once.
inline SaveRequest asked;
inline std::string asked_name;  // the name proposed, read while the dialog is up
inline std::optional<SaveRequest> choice;
inline int16_t log_save_dialog(SaveRequest& request) {
    seen.push_back("save dialog 130/" + std::to_string(request.reason));
    asked = request;
    asked_name = request.name ? std::string(reinterpret_cast<const char*>(request.name + 1), request.name[0]) : "";
    if (!choice) return 1;
    request.chosen = choice->chosen;
    request.code = choice->code;
    request.replacing = choice->replacing;
    choice.reset();
    return 0;
}
}  // namespace prompts_log

class DocumentTest : public ::testing::Test {
protected:
    sample::Session session;
    TempFolder folder;

    DocumentPrompts kept_prompts = document_prompts;

    void SetUp() override {
        prompts_log::seen.clear();
        prompts_log::answer = kAnswerOK;
        prompts_log::password_answer = 0;
        prompts_log::figures.clear();
        prompts_log::choice.reset();
        document_prompts = DocumentPrompts{.ask = prompts_log::log_question,
                                           .tell = prompts_log::log_message,
                                           .file_error = prompts_log::log_file_error,
                                           .password = prompts_log::log_password_asked,
                                           .tell_figures = prompts_log::log_message_with_figures,
                                           .save_dialog = prompts_log::log_save_dialog};
    }
    void TearDown() override { document_prompts = kept_prompts; }

    std::string path(const std::string& name) const { return folder.path + "/" + name; }

    pf::FileSpec spec(const std::string& name) const {
        pf::FileSpec out;
        pf::file_spec_from_path(path(name), out);
        return out;
    }

    bool exists(const std::string& name) const { return std::ifstream(path(name)).good(); }

    // Saves the whole workbook as a native document by the given name.
    int16_t save(MemoryRef book, const std::string& name) {
        pf::FileSpec target = spec(name);
        return save_workbook_file(find_SpreadSheet_item(book, 0), kWholeWorkbook, target, kFormatNative,
                                  exists(name), true);
    }

    // Opens a document into a new workbook; null when it is refused.
    MemoryRef open(const std::string& name, int16_t* result = nullptr) {
        pf::FileSpec from = spec(name);
        MemoryRef book = sample::new_workbook(&from);
        int16_t answer = Read_File(book, from, Get_fileinfo(book));
        if (result) *result = answer;
        if (answer == 0) return book;
        close_document_file(book);
        DisposeWorkSheet(book);
        return nullptr;
    }

    std::vector<uint8_t> bytes_of(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    void write_bytes(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
};
