// The whole program on the headless host with the spelling engine opened on a
// dictionary folder of the test's own: US English, or none.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../app/app_fixture.h"
#include "ui/app_prefs.h"
#include "spelling/spell_engine.h"
#include "spelling/spelling.h"

constexpr const char* kSystemDictionary = "/usr/share/hunspell/en_US";

struct SpellingTest : AppTest {
    std::string dictionaries_folder;

    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(std::filesystem::exists(std::string(kSystemDictionary) + ".dic"))
            << "the US English dictionary is installed by tools/install-deps";
        dictionaries_folder = home + "/dictionaries";
        std::filesystem::create_directories(dictionaries_folder);
        setenv("DICPATH", dictionaries_folder.c_str(), 1);
        install_dictionary("en_US");
        forget_main_dictionary();
        reopen_spelling();
    }

    void TearDown() override {
        unsetenv("DICPATH");
        AppTest::TearDown();
    }

    void install_dictionary(const std::string& name) {
        for (const char* extension : {".dic", ".aff"})
            std::filesystem::copy_file(std::string(kSystemDictionary) + extension,
                                       dictionaries_folder + "/" + name + extension);
    }

    // The engine closed and opened again, as a quit and a new start would, with
    // no dictionary named in the preferences unless the test named one, and
    // spelling used once.
    void reopen_spelling() {
        close_spell();
        alert_requests().clear();
        init_spell();
        open_spelling();
    }

    void forget_main_dictionary() { app_prefs.items[6] = pf::FileSpec{}; }

    static std::string main_dictionary_name_in_prefs() {
        const pf::FileSpec& spec = app_prefs.items[6];
        return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
    }

    std::string custom_dictionary_path() const { return home + "/Quorvin/Custom Dictionary"; }

    static std::string file_text(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static void write_text(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
};
