// Conversion of timidity's freepats list into the patch list Allegro's DIGMID player reads.
#include "patch_set.h"

#include "build_error.h"
#include "output_file.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

bool all_digits(const std::string &s)
{
    if (s.empty() || s.size() > 3)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The files of bank 0 and drum set 0 by patch number, as a timidity list names them.
struct PatchFiles {
    std::map<int, std::string> tones, drums;
};

// Reads a timidity list: its patches into `files`, its "dir" into `folder`.
void read_patch_lines(std::istream &in, const std::string &name, PatchFiles &files,
                      std::string &folder)
{
    enum Section { NONE, TONES, DRUMS, OTHER } section = NONE;
    std::map<int, std::string> &tones = files.tones, &drums = files.drums;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        number++;
        std::istringstream words(line.substr(0, line.find('#')));
        std::string first, second;
        if (!(words >> first))
            continue;
        words >> second;
        if (first == "dir") {
            folder = second;
        } else if (first == "bank") {
            section = second == "0" ? TONES : OTHER;
        } else if (first == "drumset") {
            section = second == "0" ? DRUMS : OTHER;
        } else if (all_digits(first)) {
            int n = std::stoi(first);
            if (n > 127)
                throw BuildError(name, number, "patch number " + first + " is above 127");
            if (second.empty())
                throw BuildError(name, number, "patch line without a file");
            if (section == TONES)
                tones[n] = second;
            else if (section == DRUMS)
                drums[n] = second;
        }
        // Other timidity words (source, soundfont, options) mean nothing to DIGMID.
    }
    if (tones.empty() && drums.empty())
        throw BuildError(name, 0, "no patches in bank 0 or drum set 0");
}

// Writes Allegro's list of `files` into `set`, with the numbers and folders it names.
void write_allegro_list(const PatchFiles &files, const std::string &name, PatchSet &set)
{
    const std::map<int, std::string> &tones = files.tones, &drums = files.drums;
    std::ostringstream out;
    out << "# Made by the Pitlorex build from " << name << " for Allegro's DIGMID player:\n"
        << "# programs count from 1, drums sit in the block from 129. Paths are relative to\n"
        << "# this folder.\n";
    auto note_dir = [&set](const std::string &path) {
        set.top_dirs.insert(path.substr(0, path.find('/')));
    };
    for (const auto &[n, file] : tones) {
        out << n + 1 << ' ' << file << '\n';
        set.programs.insert(n);
        note_dir(file);
    }
    if (!drums.empty()) {
        out << "129 begin_multipatch\n";
        for (const auto &[n, file] : drums) {
            out << n << ' ' << file << '\n';
            set.drums.insert(n);
            note_dir(file);
        }
        out << "end_multipatch\n";
    }
    set.allegro_list = out.str();
}

}  // namespace

PatchSet convert_patch_list(std::istream &in, const std::string &name,
                            const std::string &default_folder)
{
    PatchSet set;
    set.folder = default_folder;
    PatchFiles files;
    read_patch_lines(in, name, files, set.folder);
    write_allegro_list(files, name, set);
    return set;
}

PatchSet lay_out_patch_set(const std::string &cfg_path, const std::string &patch_dir)
{
    namespace fs = std::filesystem;
    std::ifstream in(cfg_path);
    if (!in)
        throw BuildError(cfg_path, 0, "missing or unreadable");
    PatchSet set = convert_patch_list(in, cfg_path, fs::path(cfg_path).parent_path().string());

    std::error_code err;
    fs::create_directories(patch_dir, err);
    for (const auto &dir : set.top_dirs) {
        fs::path target = fs::path(set.folder) / dir;
        fs::path link = fs::path(patch_dir) / dir;
        if (!fs::is_directory(target))
            throw BuildError(cfg_path, 0, "patch folder " + target.string() + " is missing");
        if (fs::is_symlink(link) && fs::read_symlink(link) == target)
            continue;
        fs::remove(link, err);
        fs::create_directory_symlink(target, link, err);
        if (err)
            throw BuildError(link.string(), 0, "cannot link to " + target.string());
    }
    write_file((fs::path(patch_dir) / "default.cfg").string(),
               Bytes(set.allegro_list.begin(), set.allegro_list.end()));
    return set;
}

std::string program_name(int program)
{
    static const char *const families[16] = {
        "piano", "chromatic percussion", "organ", "guitar", "bass", "strings", "ensemble",
        "brass", "reed", "pipe", "synth lead", "synth pad", "synth effects", "ethnic",
        "percussive", "sound effects"};
    if (program < 0 || program > 127)
        return "?";
    return "program " + std::to_string(program) + " (" + families[program / 8] + ")";
}
