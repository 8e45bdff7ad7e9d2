// rescomp: compiles resource text files into one bundle.
//   rescomp [--cpp FILE --header FILE] [--ids FILE] [--bundle FILE] [--require-symbols] input.txt...
// --require-symbols: every menu, string list, alert and dialog must be given a symbol.
// Every fault is printed as "file:line: error: ..." and makes the exit status 1.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "platform/resources/resource_format.h"
#include "tools/rescomp/compile.h"

namespace rescomp {
namespace {

struct Options {
    std::string cpp_path, header_path, ids_path, bundle_path;
    std::vector<std::string> inputs;
    bool require_symbols = false;
};

bool parse_options(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string* target = arg == "--cpp" ? &options.cpp_path
                              : arg == "--header" ? &options.header_path
                              : arg == "--ids"    ? &options.ids_path
                              : arg == "--bundle" ? &options.bundle_path
                                                  : nullptr;
        if (arg == "--require-symbols") {
            options.require_symbols = true;
        } else if (target) {
            if (++i >= argc) return false;
            *target = argv[i];
        } else if (arg.starts_with("--")) {
            return false;
        } else {
            options.inputs.push_back(arg);
        }
    }
    return options.cpp_path.empty() == options.header_path.empty();
}

std::string describe(pf::FourCC type, int16_t id) { return type_text(type) + " " + std::to_string(id); }

void compile_file(const std::string& path, std::vector<Compiled>& compiled, Diagnostics& diagnostics) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        diagnostics.error({path, 0}, "cannot read the file");
        return;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::vector<ResourceSource> sources;
    parse_resource_file(path, text.str(), sources, diagnostics);
    for (const ResourceSource& source : sources) {
        Compiled out;
        out.at = source.at;
        out.type = source.type;
        out.id = source.id;
        out.has_name = source.has_name;
        out.name = source.name;
        out.symbol = source.symbol;
        out.attributes = source.attributes;
        if (compiler_for(source.type)(source, out, diagnostics)) compiled.push_back(std::move(out));
    }
}

std::string place(const Location& at) { return at.file + ":" + std::to_string(at.line); }

// Every symbol, of a resource or of a part, names one thing.
void check_symbols(const std::vector<Compiled>& compiled, Diagnostics& diagnostics) {
    std::map<std::string, Location> first_at;
    auto check = [&](const std::string& symbol, const Location& at) {
        auto [first, fresh] = first_at.try_emplace(symbol, at);
        if (!fresh)
            diagnostics.error(at, "duplicate symbol " + symbol + " (first at " + place(first->second) + ")");
    };
    for (const Compiled& resource : compiled) {
        if (!resource.symbol.empty()) check(resource.symbol, resource.at);
        for (const PartSymbol& part : resource.part_symbols) check(part.symbol, part.at);
    }
}

// The kinds code refers to by id: each resource of these kinds needs a symbol.
void check_required_symbols(const std::vector<Compiled>& compiled, Diagnostics& diagnostics) {
    const pf::FourCC kNamedKinds[] = {pf::kMenuType, pf::kStringListType, pf::kAlertType, pf::kDialogType};
    for (const Compiled& resource : compiled) {
        bool named_kind = std::ranges::find(kNamedKinds, resource.type) != std::end(kNamedKinds);
        if (named_kind && resource.symbol.empty())
            diagnostics.error(resource.at, describe(resource.type, resource.id) + " needs a symbol");
    }
}

// Duplicate (type, id) pairs and duplicate names within a type.
void check_duplicates(const std::vector<Compiled>& compiled, Diagnostics& diagnostics) {
    std::map<std::pair<pf::FourCC, int16_t>, const Compiled*> by_id;
    std::map<std::pair<pf::FourCC, std::string>, const Compiled*> by_name;
    for (const Compiled& resource : compiled) {
        auto [at, fresh] = by_id.try_emplace({resource.type, resource.id}, &resource);
        if (!fresh)
            diagnostics.error(resource.at, "duplicate " + describe(resource.type, resource.id) + " (first at " +
                                               place(at->second->at) + ")");
        if (!resource.has_name) continue;
        auto [named, fresh_name] = by_name.try_emplace({resource.type, resource.name}, &resource);
        if (!fresh_name)
            diagnostics.error(resource.at, "duplicate name \"" + resource.name + "\" for " + type_text(resource.type) +
                                               " (first at " + place(named->second->at) + ")");
    }
}

void check_references(const std::vector<Compiled>& compiled, Diagnostics& diagnostics) {
    std::map<std::pair<pf::FourCC, int16_t>, const Compiled*> by_id;
    for (const Compiled& resource : compiled) by_id.try_emplace({resource.type, resource.id}, &resource);
    for (const Compiled& resource : compiled) {
        for (const Reference& reference : resource.references) {
            auto found = by_id.find({reference.type, reference.id});
            if (found == by_id.end() && reference.alternative_type)
                found = by_id.find({reference.alternative_type, reference.id});
            std::string who = describe(resource.type, resource.id);
            if (found == by_id.end()) {
                std::string wanted = describe(reference.type, reference.id);
                if (reference.alternative_type) wanted += " or " + describe(reference.alternative_type, reference.id);
                diagnostics.error(reference.at, who + " refers to " + wanted + ", which does not exist");
            } else if (reference.string_index > found->second->string_count) {
                diagnostics.error(reference.at, who + " refers to item " + std::to_string(reference.string_index) +
                                                    " of " + describe(reference.type, reference.id) + ", which has " +
                                                    std::to_string(found->second->string_count) + " items");
            }
        }
    }
}

bool write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

int run(int argc, char** argv) {
    Options options;
    if (!parse_options(argc, argv, options)) {
        std::cerr << "usage: rescomp [--cpp FILE --header FILE] [--ids FILE] [--bundle FILE] [--require-symbols] input.txt...\n";
        return 2;
    }
    Diagnostics diagnostics;
    std::vector<Compiled> compiled;
    for (const std::string& path : options.inputs) compile_file(path, compiled, diagnostics);
    check_duplicates(compiled, diagnostics);
    check_symbols(compiled, diagnostics);
    if (options.require_symbols) check_required_symbols(compiled, diagnostics);
    check_references(compiled, diagnostics);
    if (diagnostics.failed()) {
        for (const std::string& message : diagnostics.messages) std::cerr << message << "\n";
        return 1;
    }
    std::stable_sort(compiled.begin(), compiled.end(), [](const Compiled& a, const Compiled& b) {
        return a.type != b.type ? a.type < b.type : a.id < b.id;
    });
    std::vector<uint8_t> bundle = build_bundle(compiled);
    bool written = true;
    if (!options.bundle_path.empty())
        written &= write_file(options.bundle_path, std::string(bundle.begin(), bundle.end()));
    if (!options.ids_path.empty()) written &= write_file(options.ids_path, ids_header(compiled));
    if (!options.cpp_path.empty()) {
        std::string header_name = options.header_path.substr(options.header_path.find_last_of('/') + 1);
        written &= write_file(options.header_path, bundle_header());
        written &= write_file(options.cpp_path, bundle_source(bundle, header_name));
    }
    if (!written) {
        std::cerr << "rescomp: cannot write the output files\n";
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace rescomp

int main(int argc, char** argv) { return rescomp::run(argc, argv); }
