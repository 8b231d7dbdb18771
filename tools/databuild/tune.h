// Tunes kept as text: tempo, parts with their instruments, and notes with their lengths.
//
//   tempo 120                 quarter notes a minute
//   meter 4                   quarter notes a bar ('|' in a part checks the bar line falls there)
//   loop                      the tune repeats: every part must last the whole tune
//   pattern riff              notes kept for reuse until 'end'
//     E4/8 G4 A4/4 |
//   end
//   part lead channel 1 program 73 volume 100 pan 64
//     v90 @riff*2 C5+E5/2. r/4 |
//   part beat channel 10 volume 90
//     kick/8 hat snare hat |
//
// Notes: a letter A-G, an optional # or b, an octave (C4 is middle C); several joined by '+'
// sound together; 'r' is a rest; drum names (kick, snare, hat, ...) for channel 10. A length
// /1 /2 /4 /8 /16 /32, with '.' for dotted, applies to that note and the ones after it.
// 'vN' sets the velocity of the notes after it. A word starting with '#' begins a comment.
#pragma once

#include "output_file.h"

#include <istream>
#include <string>
#include <vector>

constexpr int TICKS_PER_QUARTER = 480;

struct TuneNote {
    uint32_t start = 0;   // ticks from the start of the tune
    uint32_t length = 0;  // ticks
    int key = 60;         // MIDI key number
    int velocity = 96;
    int line = 0;         // source line, for errors
};

struct TunePart {
    std::string name;
    int channel = 0;   // 0..15; 9 is the drum channel
    int program = 0;   // General MIDI program 0..127 (unused on the drum channel)
    int volume = 100;  // controller 7
    int pan = 64;      // controller 10
    int line = 0;      // line of the 'part' header
    uint32_t length = 0;  // ticks up to the end of its last note or rest
    std::vector<TuneNote> notes;
};

struct Tune {
    std::string name;
    int tempo = 120;
    int beats_per_bar = 4;
    bool loop = false;
    uint32_t length = 0;  // ticks: the longest part
    std::vector<TunePart> parts;
};

// Reads a tune; `name` is the file named in errors. Throws BuildError naming the line for an
// unknown word, a bad length, a note outside A0..C8 (or an unknown drum), a bar line that
// does not fall on a bar, an undefined pattern, the same key sounding twice at once on one
// channel (Allegro's player would cut it), and, in a looped tune, a part that does not last
// the whole tune or a tune that is not whole bars.
Tune parse_tune(std::istream &in, const std::string &name);

// Reads the tune file at `path`; a missing file is a BuildError too.
Tune read_tune(const std::string &path);

// A standard MIDI file of type 1: a tempo track, then one track a part. Every track ends at
// the tune's length, note-offs come before note-ons at the same tick, so a looped tune
// restarts with no gap and no note left hanging.
Bytes encode_midi(const Tune &tune);

// The General MIDI key of a drum name ("kick", "snare", "hat", ...), or -1.
int drum_key(const std::string &name);
