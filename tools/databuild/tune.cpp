// Reader of the tune text format and writer of standard MIDI files.
#include "tune.h"

#include "build_error.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace {

struct Token {
    std::string text;
    int line;
};

struct DrumName {
    const char *name;
    int key;
};

// General MIDI percussion keys, all present in the freepats drum set.
constexpr DrumName DRUMS[] = {
    {"kick", 36},   {"kick2", 35}, {"rim", 37},     {"snare", 38},   {"clap", 39},
    {"snare2", 40}, {"tomlo", 41}, {"hat", 42},     {"tomlo2", 43},  {"pedal", 44},
    {"tommid", 45}, {"ohat", 46},  {"tommid2", 47}, {"tomhi", 48},   {"crash", 49},
    {"tomhi2", 50}, {"ride", 51},  {"bell", 53},    {"tamb", 54},    {"cowbell", 56},
    {"bongohi", 60}, {"bongolo", 61}, {"congahi", 63}, {"congalo", 64}, {"shaker", 82},
    {"blockhi", 76}, {"blocklo", 77}, {"triangle", 81}, {"claves", 75}, {"cabasa", 69},
};

constexpr int LOWEST_KEY = 21;   // A0
constexpr int HIGHEST_KEY = 108;  // C8

std::vector<std::string> split_words(const std::string &line)
{
    // A word that starts with '#' begins a comment; the '#' of a sharp sits inside a word.
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string w;
    while (in >> w && w[0] != '#')
        words.push_back(w);
    return words;
}

bool parse_int(const std::string &s, int &out)
{
    if (s.empty() || s.size() > 6)
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    out = std::stoi(s);
    return true;
}

int needs_int(const std::string &file, int line, const std::vector<std::string> &words,
              size_t index, int low, int high)
{
    int v = 0;
    if (index >= words.size() || !parse_int(words[index], v) || v < low || v > high)
        throw BuildError(file, line,
                         "'" + words[0] + "' needs a number from " + std::to_string(low) +
                             " to " + std::to_string(high));
    return v;
}

// "C#4" -> 61; -1 when the text is not a note name.
int key_of_name(const std::string &s)
{
    static const int semitone[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (s.size() < 2 || s[0] < 'A' || s[0] > 'G')
        return -1;
    int key = semitone[s[0] - 'A'];
    size_t i = 1;
    if (s[i] == '#') {
        key++;
        i++;
    } else if (s[i] == 'b') {
        key--;
        i++;
    }
    if (i + 1 != s.size() || !std::isdigit(static_cast<unsigned char>(s[i])))
        return -1;
    return key + 12 * (s[i] - '0' + 1);
}

class TuneReader {
public:
    TuneReader(const std::string &name) : file(name) { tune.name = name; }

    Tune read(std::istream &in)
    {
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            number++;
            handle_line(split_words(line), number);
        }
        if (in_pattern)
            throw BuildError(file, pattern_line, "pattern '" + pattern_name + "' has no 'end'");
        if (!saw_tempo)
            throw BuildError(file, 0, "no tempo line");
        if (tune.parts.empty())
            throw BuildError(file, 0, "no parts");
        finish_part();
        check_whole();
        return tune;
    }

private:
    void handle_line(const std::vector<std::string> &words, int number)
    {
        if (words.empty())
            return;
        const std::string &w = words[0];
        if (in_pattern) {
            if (w == "end" && words.size() == 1) {
                in_pattern = false;
                return;
            }
            for (const auto &t : words)
                patterns[pattern_name].push_back({t, number});
            return;
        }
        if (w == "tempo") {
            tune.tempo = needs_int(file, number, words, 1, 20, 400);
            saw_tempo = true;
        } else if (w == "meter") {
            if (!tune.parts.empty())
                throw BuildError(file, number, "'meter' must come before the parts");
            tune.beats_per_bar = needs_int(file, number, words, 1, 1, 16);
        } else if (w == "loop" && words.size() == 1) {
            tune.loop = true;
        } else if (w == "pattern") {
            if (words.size() != 2)
                throw BuildError(file, number, "'pattern' needs one name");
            if (patterns.count(words[1]))
                throw BuildError(file, number, "pattern '" + words[1] + "' defined twice");
            pattern_name = words[1];
            pattern_line = number;
            patterns[pattern_name];
            in_pattern = true;
        } else if (w == "part") {
            start_part(words, number);
        } else if (tune.parts.empty()) {
            throw BuildError(file, number, "unknown word '" + w + "' (notes belong in a part)");
        } else {
            for (const auto &t : words)
                play_token({t, number}, 0);
        }
    }

    void start_part(const std::vector<std::string> &words, int number)
    {
        finish_part();
        if (words.size() < 2)
            throw BuildError(file, number, "'part' needs a name");
        TunePart part;
        part.name = words[1];
        part.line = number;
        bool has_channel = false, has_program = false;
        for (size_t i = 2; i < words.size(); i += 2) {
            std::vector<std::string> pair = {words[i], i + 1 < words.size() ? words[i + 1] : ""};
            if (words[i] == "channel") {
                part.channel = needs_int(file, number, pair, 1, 1, 16) - 1;
                has_channel = true;
            } else if (words[i] == "program") {
                part.program = needs_int(file, number, pair, 1, 0, 127);
                has_program = true;
            } else if (words[i] == "volume") {
                part.volume = needs_int(file, number, pair, 1, 0, 127);
            } else if (words[i] == "pan") {
                part.pan = needs_int(file, number, pair, 1, 0, 127);
            } else {
                throw BuildError(file, number, "unknown part setting '" + words[i] + "'");
            }
        }
        if (!has_channel)
            throw BuildError(file, number, "part '" + part.name + "' needs a channel");
        if (part.channel == 9 && has_program)
            throw BuildError(file, number, "channel 10 plays drums and takes no program");
        if (part.channel != 9 && !has_program)
            throw BuildError(file, number, "part '" + part.name + "' needs a program");
        tune.parts.push_back(part);
        position = 0;
        note_length = TICKS_PER_QUARTER;
        velocity = 96;
    }

    void finish_part()
    {
        if (!tune.parts.empty())
            tune.parts.back().length = position;
    }

    uint32_t bar_ticks() const { return uint32_t(tune.beats_per_bar) * TICKS_PER_QUARTER; }

    void play_token(const Token &t, int depth)
    {
        TunePart &part = tune.parts.back();
        const std::string &s = t.text;
        if (s == "|") {
            if (position % bar_ticks() != 0)
                throw BuildError(file, t.line,
                                 "bar line falls " + describe_offset(position % bar_ticks()) +
                                     " into a bar");
            return;
        }
        if (s[0] == '@') {
            play_pattern(t, depth);
            return;
        }
        if (s[0] == 'v' && s.size() > 1 && std::isdigit(static_cast<unsigned char>(s[1]))) {
            int v = 0;
            if (!parse_int(s.substr(1), v) || v < 1 || v > 127)
                throw BuildError(file, t.line, "velocity '" + s + "' must be v1 to v127");
            velocity = v;
            return;
        }
        size_t slash = s.find('/');
        if (slash != std::string::npos)
            note_length = parse_length(s.substr(slash + 1), t.line);
        std::string pitches = s.substr(0, slash);
        if (pitches != "r") {
            std::istringstream names(pitches);
            std::string one;
            while (std::getline(names, one, '+')) {
                int key = part.channel == 9 ? drum_key(one) : key_of_name(one);
                if (part.channel == 9 && key < 0)
                    key = key_of_name(one);
                if (key < 0)
                    throw BuildError(file, t.line,
                                     "'" + one + "' is not a " +
                                         (part.channel == 9 ? "drum or note" : "note") +
                                         " (write e.g. C4, F#3, Bb5)");
                if (key < LOWEST_KEY || key > HIGHEST_KEY)
                    throw BuildError(file, t.line,
                                     "note '" + one + "' is out of range A0..C8");
                part.notes.push_back({position, note_length, key, velocity, t.line});
            }
        }
        position += note_length;
    }

    void play_pattern(const Token &t, int depth)
    {
        std::string name = t.text.substr(1);
        int times = 1;
        size_t star = name.find('*');
        if (star != std::string::npos) {
            if (!parse_int(name.substr(star + 1), times) || times < 1 || times > 64)
                throw BuildError(file, t.line, "repeat count in '" + t.text + "' must be 1..64");
            name = name.substr(0, star);
        }
        auto found = patterns.find(name);
        if (found == patterns.end())
            throw BuildError(file, t.line, "no pattern '" + name + "' defined");
        if (depth > 8)
            throw BuildError(file, t.line, "patterns nested too deeply");
        for (int i = 0; i < times; i++)
            for (const auto &inner : found->second)
                play_token(inner, depth + 1);
    }

    uint32_t parse_length(const std::string &s, int line)
    {
        bool dotted = !s.empty() && s.back() == '.';
        std::string digits = dotted ? s.substr(0, s.size() - 1) : s;
        int d = 0;
        if (!parse_int(digits, d) || (d != 1 && d != 2 && d != 4 && d != 8 && d != 16 && d != 32))
            throw BuildError(file, line, "length '/" + s + "' must be /1 /2 /4 /8 /16 or /32, "
                                         "with an optional '.'");
        uint32_t ticks = uint32_t(TICKS_PER_QUARTER * 4 / d);
        return dotted ? ticks + ticks / 2 : ticks;
    }

    std::string describe_offset(uint32_t ticks) const
    {
        return std::to_string(ticks * 16 / TICKS_PER_QUARTER / 4) + "/16";
    }

    void check_whole()
    {
        for (const auto &p : tune.parts)
            tune.length = std::max(tune.length, p.length);
        if (tune.length == 0)
            throw BuildError(file, 0, "the tune has no notes");
        if (tune.loop) {
            if (tune.length % bar_ticks() != 0)
                throw BuildError(file, 0, "a looped tune must last whole bars");
            for (const auto &p : tune.parts)
                if (p.length != tune.length)
                    throw BuildError(file, p.line,
                                     "part '" + p.name + "' lasts " +
                                         std::to_string(p.length / TICKS_PER_QUARTER) +
                                         " beats, the tune " +
                                         std::to_string(tune.length / TICKS_PER_QUARTER) +
                                         ": a looped tune needs every part to fill it");
        }
        check_overlaps();
    }

    // Allegro's player answers a note-on for a key that is still sounding on the same channel
    // by stopping it, so such a note would be lost.
    void check_overlaps()
    {
        std::vector<const TuneNote *> by_channel[16];
        for (const auto &p : tune.parts)
            for (const auto &n : p.notes)
                by_channel[p.channel].push_back(&n);
        for (auto &notes : by_channel) {
            std::sort(notes.begin(), notes.end(), [](const TuneNote *a, const TuneNote *b) {
                return a->key != b->key ? a->key < b->key : a->start < b->start;
            });
            for (size_t i = 1; i < notes.size(); i++)
                if (notes[i]->key == notes[i - 1]->key &&
                    notes[i]->start < notes[i - 1]->start + notes[i - 1]->length)
                    throw BuildError(file, notes[i]->line,
                                     "the same key already sounds on this channel");
        }
    }

    std::string file;
    Tune tune;
    bool saw_tempo = false;
    std::map<std::string, std::vector<Token>> patterns;
    bool in_pattern = false;
    std::string pattern_name;
    int pattern_line = 0;
    uint32_t position = 0;
    uint32_t note_length = TICKS_PER_QUARTER;
    int velocity = 96;
};

void put_varlen(Bytes &out, uint32_t v)
{
    uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7)
        buf[n++] = uint8_t(0x80 | (v & 0x7F));
    while (n > 0)
        out.push_back(buf[--n]);
}

struct TimedEvent {
    uint32_t time;
    int order;  // at one tick: settings, then note-offs, then note-ons
    Bytes data;
};

Bytes track_chunk(std::vector<TimedEvent> events, uint32_t end)
{
    std::stable_sort(events.begin(), events.end(), [](const TimedEvent &a, const TimedEvent &b) {
        return a.time != b.time ? a.time < b.time : a.order < b.order;
    });
    Bytes body;
    uint32_t now = 0;
    for (const auto &e : events) {
        put_varlen(body, e.time - now);
        body.insert(body.end(), e.data.begin(), e.data.end());
        now = e.time;
    }
    put_varlen(body, end - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    Bytes chunk = {'M', 'T', 'r', 'k'};
    put_be32(chunk, uint32_t(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

Bytes meta_text(uint8_t type, const std::string &text)
{
    Bytes b = {0xFF, type};
    put_varlen(b, uint32_t(text.size()));
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

}  // namespace

int drum_key(const std::string &name)
{
    for (const auto &d : DRUMS)
        if (name == d.name)
            return d.key;
    return -1;
}

Tune parse_tune(std::istream &in, const std::string &name)
{
    return TuneReader(name).read(in);
}

Tune read_tune(const std::string &path)
{
    std::ifstream in(path);
    if (!in)
        throw BuildError(path, 0, "missing or unreadable");
    return parse_tune(in, path);
}

Bytes encode_midi(const Tune &tune)
{
    Bytes out = {'M', 'T', 'h', 'd'};
    put_be32(out, 6);
    put_be16(out, 1);
    put_be16(out, uint32_t(tune.parts.size() + 1));
    put_be16(out, TICKS_PER_QUARTER);

    uint32_t micros = uint32_t(60000000 / tune.tempo);
    std::vector<TimedEvent> tempo_track;
    tempo_track.push_back({0, 0, {0xFF, 0x51, 0x03, uint8_t(micros >> 16),
                                  uint8_t(micros >> 8), uint8_t(micros)}});
    tempo_track.push_back({0, 0, {0xFF, 0x58, 0x04, uint8_t(tune.beats_per_bar), 2, 24, 8}});
    Bytes chunk = track_chunk(tempo_track, tune.length);
    out.insert(out.end(), chunk.begin(), chunk.end());

    for (const auto &p : tune.parts) {
        std::vector<TimedEvent> events;
        uint8_t ch = uint8_t(p.channel);
        events.push_back({0, 0, meta_text(0x03, p.name)});
        if (p.channel != 9)
            events.push_back({0, 0, {uint8_t(0xC0 | ch), uint8_t(p.program)}});
        events.push_back({0, 0, {uint8_t(0xB0 | ch), 7, uint8_t(p.volume)}});
        events.push_back({0, 0, {uint8_t(0xB0 | ch), 10, uint8_t(p.pan)}});
        for (const auto &n : p.notes) {
            events.push_back({n.start, 2, {uint8_t(0x90 | ch), uint8_t(n.key),
                                           uint8_t(n.velocity)}});
            events.push_back({n.start + n.length, 1, {uint8_t(0x80 | ch), uint8_t(n.key), 64}});
        }
        chunk = track_chunk(events, tune.length);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}
