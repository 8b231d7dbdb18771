// The MIDI patch set for Allegro's DIGMID player, made from the freepats list that timidity
// uses.
//
// DIGMID reads the old Gravis list format, not timidity's: it numbers programs from 1, keeps
// drums in a "129 begin_multipatch" ... "end_multipatch" block and ignores 'dir', 'bank' and
// 'drumset' lines. Read as it is, freepats.cfg would give every tune the wrong instruments
// (each program plays the next one's patch, and drum patches land on melodic programs).
#pragma once

#include <istream>
#include <set>
#include <string>
#include <vector>

struct PatchSet {
    std::string folder;              // where the patch paths are relative to ('dir' line)
    std::set<int> programs;          // General MIDI programs 0..127 with a patch
    std::set<int> drums;             // percussion keys with a patch
    std::set<std::string> top_dirs;  // first folder of every patch path (Tone_000, Drum_000)
    std::string allegro_list;        // the same patches in DIGMID's format
};

// Converts a timidity patch list (bank 0 and drum set 0; other banks are skipped, since
// DIGMID has none). `name` is the file named in errors; `default_folder` stands when the list
// has no 'dir' line. Throws BuildError for a patch line with no file or a number outside
// 0..127, and for a list with no patches at all.
PatchSet convert_patch_list(std::istream &in, const std::string &name,
                            const std::string &default_folder);

// Reads the list at `cfg_path`, then lays out `patch_dir`: links to its patch folders and
// default.cfg in DIGMID's format, so that the list's patch paths resolve from patch_dir.
// Returns the set, for checking the tunes' instruments. Throws BuildError on failure.
PatchSet lay_out_patch_set(const std::string &cfg_path, const std::string &patch_dir);

// The General MIDI name of a program (0..127), for messages.
std::string program_name(int program);
