// The tune reader's checks, and the MIDI files it writes: every note closed, loops seamless.
#include "build_error.h"
#include "tune.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

std::string error_of(const std::string &text)
{
    std::istringstream in(text);
    try {
        parse_tune(in, "t.tune");
    } catch (const BuildError &e) {
        return e.what();
    }
    return "";
}

Tune parse(const std::string &text)
{
    std::istringstream in(text);
    return parse_tune(in, "t.tune");
}

// What a MIDI track says about loop safety.
struct TrackFacts {
    uint32_t end_time = 0;        // time of the end-of-track event
    uint32_t last_note_off = 0;   // time of the last note-off
    int notes_left_on = 0;        // note-ons without a note-off before the end
    bool off_after_on_same_tick = false;  // a note-on came before a note-off at one tick
    bool events_after_end = false;
};

struct MidiFacts {
    int division = 0;
    int beats_per_bar = 4;
    std::vector<TrackFacts> tracks;
};

uint32_t read_varlen(const std::vector<uint8_t> &d, size_t &p)
{
    uint32_t v = 0;
    while (p < d.size()) {
        uint8_t b = d[p++];
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80))
            break;
    }
    return v;
}

// A small standard MIDI file reader, independent of the writer.
MidiFacts read_midi(const std::vector<uint8_t> &d)
{
    MidiFacts facts;
    EXPECT_GE(d.size(), 14u);
    EXPECT_EQ(std::string(d.begin(), d.begin() + 4), "MThd");
    int tracks = (d[10] << 8) | d[11];
    facts.division = (d[12] << 8) | d[13];
    size_t p = 14;
    for (int t = 0; t < tracks; t++) {
        EXPECT_EQ(std::string(d.begin() + long(p), d.begin() + long(p) + 4), "MTrk");
        uint32_t len = uint32_t(d[p + 4] << 24 | d[p + 5] << 16 | d[p + 6] << 8 | d[p + 7]);
        size_t end = p + 8 + len;
        p += 8;
        TrackFacts tf;
        std::map<int, int> sounding;  // channel * 128 + key -> count
        std::map<int, uint32_t> on_tick;
        uint32_t now = 0;
        uint8_t status = 0;
        bool ended = false;
        while (p < end) {
            now += read_varlen(d, p);
            if (ended)
                tf.events_after_end = true;
            if (d[p] & 0x80)
                status = d[p++];
            if (status == 0xFF) {
                uint8_t type = d[p++];
                uint32_t n = read_varlen(d, p);
                if (type == 0x2F) {
                    tf.end_time = now;
                    ended = true;
                }
                if (type == 0x58)
                    facts.beats_per_bar = d[p];
                p += n;
                continue;
            }
            int kind = status >> 4, ch = status & 15;
            if (kind == 0x9 || kind == 0x8) {
                int key = d[p], vel = d[p + 1];
                p += 2;
                int id = ch * 128 + key;
                if (kind == 0x9 && vel > 0) {
                    sounding[id]++;
                    on_tick[id] = now;
                } else {
                    if (on_tick.count(id) && on_tick[id] == now && sounding[id] > 0)
                        tf.off_after_on_same_tick = true;
                    sounding[id]--;
                    tf.last_note_off = now;
                }
            } else {
                p += (kind == 0xC || kind == 0xD) ? 1 : 2;
            }
        }
        for (auto &[id, count] : sounding)
            tf.notes_left_on += count;
        facts.tracks.push_back(tf);
        p = end;
    }
    return facts;
}

std::vector<uint8_t> read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(DatabuildTune, ReadsNotesChordsLengthsPatternsAndComments)
{
    Tune t = parse("# test\ntempo 90\nmeter 4\n"
                   "pattern p\n  G4/8 A4\nend\n"
                   "part a channel 2 program 5 volume 70   # a comment, F#4 ignored\n"
                   "  v80 F#3+Bb3/4. C4/8 @p*2 | r/1 |\n"
                   "part b channel 10\n  kick/2 hat |\n");
    EXPECT_EQ(t.tempo, 90);
    ASSERT_EQ(t.parts.size(), 2u);
    const TunePart &a = t.parts[0];
    EXPECT_EQ(a.channel, 1);
    EXPECT_EQ(a.program, 5);
    EXPECT_EQ(a.volume, 70);
    // F#3 and Bb3 together for a dotted quarter, then C4, then the pattern twice.
    ASSERT_EQ(a.notes.size(), 7u);
    EXPECT_EQ(a.notes[0].key, 54);
    EXPECT_EQ(a.notes[1].key, 58);
    EXPECT_EQ(a.notes[1].start, 0u);
    EXPECT_EQ(a.notes[0].length, uint32_t(TICKS_PER_QUARTER * 3 / 2));
    EXPECT_EQ(a.notes[0].velocity, 80);
    EXPECT_EQ(a.notes[2].key, 60);
    EXPECT_EQ(a.notes[6].start, uint32_t(TICKS_PER_QUARTER * 7 / 2));
    EXPECT_EQ(a.length, uint32_t(TICKS_PER_QUARTER * 8));
    EXPECT_EQ(t.parts[1].notes[0].key, 36);
    EXPECT_EQ(t.parts[1].notes[1].key, 42);
    EXPECT_EQ(t.length, a.length);
}

TEST(DatabuildTune, FaultsNameTheFileAndLine)
{
    const std::string head = "tempo 120\npart a channel 1 program 0\n";
    EXPECT_EQ(error_of(head + "  C4/4 C9/4\n"), "t.tune:3: note 'C9' is out of range A0..C8");
    EXPECT_EQ(error_of(head + "  C4 G#0\n"), "t.tune:3: note 'G#0' is out of range A0..C8");
    EXPECT_EQ(error_of(head + "  C4/4 H4\n"), "t.tune:3: 'H4' is not a note (write e.g. C4, F#3, Bb5)");
    EXPECT_EQ(error_of(head + "  C4/4\n  D4 | E4\n"), "t.tune:4: bar line falls 8/16 into a bar");
    EXPECT_EQ(error_of(head + "  C4/3\n"),
              "t.tune:3: length '/3' must be /1 /2 /4 /8 /16 or /32, with an optional '.'");
    EXPECT_EQ(error_of(head + "  @nothing\n"), "t.tune:3: no pattern 'nothing' defined");
    EXPECT_EQ(error_of("tempo 120\npart d channel 10\n  kick/4 cowbel\n"),
              "t.tune:3: 'cowbel' is not a drum or note (write e.g. C4, F#3, Bb5)");
    EXPECT_EQ(error_of("tempo 120\npart d channel 10 program 3\n"),
              "t.tune:2: channel 10 plays drums and takes no program");
    EXPECT_EQ(error_of("tempo 5\n"), "t.tune:1: 'tempo' needs a number from 20 to 400");
}

TEST(DatabuildTune, LoopsMustBeWholeAndNotesMustNotCollide)
{
    const std::string loop = "tempo 120\nloop\npart a channel 1 program 0\n  C4/1 |\n";
    EXPECT_EQ(error_of(loop + "part b channel 2 program 0\n  C4/2\n"),
              "t.tune:5: part 'b' lasts 2 beats, the tune 4: a looped tune needs every part to "
              "fill it");
    EXPECT_EQ(error_of("tempo 120\nloop\npart a channel 1 program 0\n  C4/2 D4/4\n"),
              "t.tune: a looped tune must last whole bars");
    // Two parts sharing a channel may not sound the same key at once: the player would cut it.
    EXPECT_EQ(error_of(loop + "part b channel 1 program 0\n  r/2 C4/2\n"),
              "t.tune:6: the same key already sounds on this channel");
    EXPECT_EQ(error_of(loop + "part b channel 2 program 0\n  r/2 C4/2\n"), "");
}

TEST(DatabuildTune, MidiClosesEveryNoteAndEndsEveryTrackTogether)
{
    Tune t = parse("tempo 100\nloop\npart a channel 1 program 0\n  C4/8 C4 C4/4 E4+G4/2 |\n"
                   "part d channel 10\n  kick/4 kick kick kick |\n");
    Bytes midi = encode_midi(t);
    MidiFacts f = read_midi(midi);
    EXPECT_EQ(f.division, TICKS_PER_QUARTER);
    ASSERT_EQ(f.tracks.size(), 3u);
    for (const auto &tr : f.tracks) {
        EXPECT_EQ(tr.end_time, t.length);
        EXPECT_EQ(tr.notes_left_on, 0);
        EXPECT_FALSE(tr.off_after_on_same_tick);
        EXPECT_FALSE(tr.events_after_end);
    }
    EXPECT_EQ(f.tracks[1].last_note_off, t.length);
}

// The tunes the game plays, as built: the area tunes loop with no gap and no hanging note.
TEST(DatabuildTune, BuiltTunesLoopCleanly)
{
    for (const char *name : {"area1", "area2", "area3", "area4", "area5", "inicio"}) {
        SCOPED_TRACE(name);
        MidiFacts f = read_midi(read_file(std::string(GAME_DIR) + "/sons/" + name + ".mid"));
        ASSERT_GE(f.tracks.size(), 2u);
        uint32_t length = f.tracks[0].end_time;
        uint32_t last_off = 0;
        for (const auto &tr : f.tracks) {
            EXPECT_EQ(tr.end_time, length);
            EXPECT_EQ(tr.notes_left_on, 0);
            EXPECT_FALSE(tr.off_after_on_same_tick);
            last_off = std::max(last_off, tr.last_note_off);
        }
        EXPECT_LE(last_off, length);
        if (std::string(name) != "inicio") {
            uint32_t bar = uint32_t(f.division * f.beats_per_bar);
            EXPECT_EQ(length % bar, 0u);
            // Music sounds in the last bar, so the loop has no silent gap.
            EXPECT_GT(last_off, length - bar);
        }
    }
}
