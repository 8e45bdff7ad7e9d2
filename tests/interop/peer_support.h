// Files exchanged with the peer spreadsheets: each peer's converter run on a
// file of a test's folder (skipped when the peer is not installed), our own
// converter, and CSV values compared with a little room for digits.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/platform/temp_folder.h"

namespace peer {

inline bool on_path(const std::string& tool) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (size_t at = 0; at <= dirs.size();) {
        size_t end = dirs.find(':', at);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = dirs.substr(at, end - at) + "/" + tool;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        at = end + 1;
    }
    return false;
}

inline std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Runs a command with its output to a log; the exit status.
inline int run(const std::string& command, const std::string& log) {
    int status = std::system((command + " >" + quoted(log) + " 2>&1 </dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

enum class Peer { office, gnumeric };

inline const char* name_of(Peer p) { return p == Peer::office ? "soffice" : "ssconvert"; }

class PeerTest : public ::testing::TestWithParam<Peer> {
protected:
    TempFolder folder;
    std::string log;

    void SetUp() override {
        if (!on_path(name_of(GetParam()))) GTEST_SKIP() << name_of(GetParam()) << " is not installed";
        log = path("log.txt");
    }

    std::string path(const std::string& name) const { return folder.path + "/" + name; }

    // The peer converts `in` (a file of the folder) to `out` in the format of
    // out's extension: "csv" (UTF-8 values), "slk" or "xls". CSV and tab-separated
    // ".txt" inputs are UTF-8.
    bool convert(const std::string& in, const std::string& out) {
        const std::string ext = std::filesystem::path(out).extension().string().substr(1);
        int status = 0;
        if (GetParam() == Peer::office) {
            const std::string profile = "file://" + path("office-profile");
            // CSV: comma, double quote, UTF-8, the values themselves rather than as shown.
            const std::string filter =
                ext == "csv" ? "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false" : ext;
            const std::string outdir = path("office-out");
            std::string command = "soffice -env:UserInstallation=" + quoted(profile) + " --headless --norestore";
            // CSV read as UTF-8 with formulas evaluated.
            if (std::filesystem::path(in).extension() == ".csv")
                command += " --infilter=" + quoted("CSV:44,34,76,1,,0,false,true,true,false,false,0,true");
            else if (std::filesystem::path(in).extension() == ".txt")
                command += " --infilter=" +
                           quoted("Text - txt - csv (StarCalc):9,34,76,1,,0,false,true,true,false,false,0,true");
            command += " --convert-to " + quoted(filter) + " --outdir " + quoted(outdir) + " " + quoted(path(in));
            status = run(command, log);
            std::filesystem::path made = std::filesystem::path(outdir) / std::filesystem::path(in).stem();
            made += "." + ext;
            std::error_code error;
            std::filesystem::rename(made, path(out), error);
        } else {
            std::string command = "ssconvert " + quoted(path(in)) + " " + quoted(path(out));
            status = run(command, log);
        }
        bool made = status == 0 && std::filesystem::exists(path(out));
        if (!made) ADD_FAILURE() << name_of(GetParam()) << " could not convert " << in << ":\n" << read_file(log);
        return made;
    }

    // Our converter; `values` writes raw values. A conversion that left part
    // of the input out (exit status 3) still wrote its output.
    bool ours(const std::string& in, const std::string& out, bool values = false) {
        return sheetconv(values ? "--values" : "", in, out);
    }
    // Our converter writing SYLK for other spreadsheets.
    bool ours_for_others(const std::string& in, const std::string& out) { return sheetconv("--for-others", in, out); }

    bool sheetconv(const std::string& option, const std::string& in, const std::string& out) {
        const std::string command =
            std::string(SHEETCONV_PATH) + " " + option + " " + quoted(path(in)) + " " + quoted(path(out));
        const int status = run(command, log);
        const bool made = status == 0 || status == 3;
        if (!made) ADD_FAILURE() << "sheetconv could not convert " << in << ":\n" << read_file(log);
        return made;
    }
};

// ---- CSV values ------------------------------------------------------------

using Table = std::vector<std::vector<std::string>>;

// RFC 4180 fields; any line end.
inline Table parse_csv(const std::string& text) {
    Table rows(1);
    std::string field;
    bool quoted_field = false, in_quotes = false, any = false;
    auto end_field = [&] {
        rows.back().push_back(field);
        field.clear();
        quoted_field = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        any = true;
        if (in_quotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') field += '"', ++i;
            else if (c == '"') in_quotes = false;
            else field += c;
        } else if (c == '"' && field.empty() && !quoted_field) {
            in_quotes = quoted_field = true;
        } else if (c == ',') {
            end_field();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            end_field();
            rows.emplace_back();
            any = false;
        } else {
            field += c;
        }
    }
    if (any) end_field();
    if (rows.back().empty()) rows.pop_back();
    for (auto& row : rows)
        while (!row.empty() && row.back().empty()) row.pop_back();
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    return rows;
}

// A number's shortest text that reads back as the number.
inline std::string number_text(double value) {
    char digits[32];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

inline bool as_number(const std::string& text, double* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return end && *end == '\0';
}

// Fields equal as texts, or as numbers to 1e-9 of their size.
inline bool same_field(const std::string& a, const std::string& b) {
    double x = 0, y = 0;
    if (a == b) return true;
    if (!as_number(a, &x) || !as_number(b, &y)) return false;
    return std::fabs(x - y) <= 1e-9 * std::max(1.0, std::max(std::fabs(x), std::fabs(y)));
}

inline ::testing::AssertionResult same_values(const std::string& ours_csv, const std::string& theirs_csv) {
    Table a = parse_csv(ours_csv), b = parse_csv(theirs_csv);
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << a.size() << " rows here, " << b.size() << " there:\n" << ours_csv
                                             << "\n--\n" << theirs_csv;
    for (size_t r = 0; r < a.size(); ++r) {
        if (a[r].size() != b[r].size())
            return ::testing::AssertionFailure() << "row " << r + 1 << ": " << a[r].size() << " fields here, "
                                                 << b[r].size() << " there:\n" << ours_csv << "\n--\n" << theirs_csv;
        for (size_t c = 0; c < a[r].size(); ++c)
            if (!same_field(a[r][c], b[r][c]))
                return ::testing::AssertionFailure() << "row " << r + 1 << " field " << c + 1 << ": '" << a[r][c]
                                                     << "' here, '" << b[r][c] << "' there";
    }
    return ::testing::AssertionSuccess();
}

inline std::string peer_name(const ::testing::TestParamInfo<Peer>& info) {
    return info.param == Peer::office ? "Office" : "Gnumeric";
}

}  // namespace peer
