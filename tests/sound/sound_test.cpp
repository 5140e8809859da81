// The sound room on a real device: SDL's disk driver writes what the device plays to a file, which
// is checked sample by sample against sums worked out here. Also sound off, a device that cannot
// be opened, files the slots refuse, channels that stop when their slot changes, and music that
// ends every way with its reason, leaving no thread or open file.
#include "engine.h"
#include "testfiles.h"

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

// reads counted down while positive: the read that brings the count to 0 cuts sound/shrinking to
// 4 KiB, as a file being rewritten shrinks under its reader
static std::atomic<int> readsbeforecut{0};

// (with 64-bit file offsets on a 32-bit machine this definition is the C library's pread64, the
// one the engine's calls reach, and the next one is looked up by that name)
extern "C" ssize_t pread(int fd, void *dst, size_t count, off_t offset)
{
  static const auto next = reinterpret_cast<decltype(&pread)>(
      dlsym(RTLD_NEXT, sizeof(off_t) > sizeof(long) ? "pread64" : "pread"));
  const ssize_t got = next(fd, dst, count, offset);
  if (readsbeforecut > 0 && --readsbeforecut == 0) {
    EXPECT_EQ(truncate("sound/shrinking", 4096), 0);
  }
  return got;
}

namespace {

using samples = std::vector<int16_t>;  // left and right interleaved
struct chunk {
  const char *id;
  bytes data;
};

// a RIFF file of the given chunks, each padded to an even length
bytes riff(const std::vector<chunk> &chunks)
{
  bytes file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  for (const chunk &c : chunks) {
    file.insert(file.end(), c.id, c.id + 4);
    appendle32(file, uint32_t(c.data.size()));
    file.insert(file.end(), c.data.begin(), c.data.end());
    if (c.data.size() % 2)
      file.push_back(0);
  }
  putle32(file, 4, uint32_t(file.size() - 8));
  return file;
}

chunk format(int channels, int bits, int rate, int tag = 1)
{
  bytewriter fmt;
  fmt.u16(uint16_t(tag));
  fmt.u16(uint16_t(channels));
  fmt.u32(uint32_t(rate));
  fmt.u32(uint32_t(rate * channels * bits / 8));
  fmt.u16(uint16_t(channels * bits / 8));
  fmt.u16(uint16_t(bits));
  return {"fmt ", fmt.bytes};
}

chunk samplechunk(const samples &s)
{
  bytewriter pcm;
  for (int16_t v : s)
    pcm.u16(uint16_t(v));
  return {"data", pcm.bytes};
}

bytes wav(const samples &s) { return riff({format(2, 16, 44100), samplechunk(s)}); }

// no sample is zero, so that the start and the end of a sound show, and every one is a multiple
// of 8, so that the gains used here (multiples of 1/8) scale them exactly
samples tone(int frames, int step)
{
  samples s;
  for (int i = 0; i < frames * 2; ++i)
    s.push_back(int16_t(8 * (1 + i * step % 1000) * (i % 4 < 2 ? 1 : -1)));
  return s;
}

samples fullscale(int frames)
{
  samples s;
  for (int i = 0; i < frames * 2; ++i)
    s.push_back(i % 4 < 2 ? INT16_MAX : INT16_MIN);
  return s;
}

int load(int slot, const bytes &file) { return loadsoundbytes(slot, file.data(), file.size()); }

// a sine of the given period on the left and of twice it on the right, at a quarter of full scale
samples sine(int frames, double period)
{
  samples s;
  for (int i = 0; i < frames; ++i)
    for (double p : {period, period / 2})
      s.push_back(int16_t(8192 * std::sin(2 * M_PI * i / p)));
  return s;
}

// samples, of the channels given, as an Ogg Vorbis file made by the encoder of the Vorbis tools
bytes ogg(const samples &s, int channels, int rate)
{
  const scratchfolder scratch;
  bytewriter raw;
  for (int16_t v : s)
    raw.u16(uint16_t(v));
  writebytes(scratch.file("in.raw"), raw.bytes);
  const std::string encode = "oggenc -Q -r -B 16 -C " + std::to_string(channels) + " -R " +
                             std::to_string(rate) + " -o " + scratch.file("out.ogg") + " " +
                             scratch.file("in.raw");
  EXPECT_EQ(system(encode.c_str()), 0) << encode;
  return readbytes(scratch.file("out.ogg"));
}

// the file's frames as the Vorbis library decodes them on this machine (another processor may
// round its floating point otherwise), stereo as the file holds them
samples vorbisdecoded(const bytes &file)
{
  const scratchfolder scratch;
  writebytes(scratch.file("in.ogg"), file);
  OggVorbis_File vorbis;
  samples s;
  if (ov_fopen(scratch.file("in.ogg").c_str(), &vorbis) != 0) {
    ADD_FAILURE() << "the Vorbis library cannot open the file";
    return s;
  }
  int16_t block[4096];
  int section;
  const int bigendian = SDL_BYTEORDER == SDL_BIG_ENDIAN;
  for (long got; (got = ov_read(&vorbis, reinterpret_cast<char *>(block), sizeof block, bigendian,
                                2, 1, &section)) > 0;)
    s.insert(s.end(), block, block + got / 2);
  ov_clear(&vorbis);
  return s;
}

struct play {
  samples sound;
  float volume, balance;
  int loop;
  float fade = 0;  // seconds of a fade out begun with the sound, 0 for none
};

// frames of a fade at the disk driver's rate
size_t fadeframes(const play &p) { return size_t(p.fade * 44100); }
struct mixcase {
  const char *what;
  std::vector<play> plays;
  float master;
};

// samples the sounds take before the check may end: the longest played once, two rounds of a loop
size_t needed(const mixcase &c)
{
  size_t longest = 0;
  for (const play &p : c.plays)
    longest = std::max(longest, p.fade ? fadeframes(p) * 2 : p.sound.size() * (p.loop ? 2 : 1));
  return longest;
}

// sample i of what the mixer must write: every sound scaled by its gains, summed, then clamped
int16_t mixed(const mixcase &c, size_t i)
{
  long sum = 0;
  for (const play &p : c.plays) {
    const float side = std::min(1.0f, i % 2 ? 1 + p.balance : 1 - p.balance);
    if (p.fade && i < fadeframes(p) * 2) {  // the gain falls by a share of itself every frame
      const size_t n = fadeframes(p), left = n - i / 2;
      const long gain = std::lround(65536 * p.volume * c.master * side) * long(left) / long(n);
      sum += p.sound[i % p.sound.size()] * gain >> 16;
    } else if (!p.fade && (p.loop || i < p.sound.size())) {
      sum += std::lround(p.sound[i % p.sound.size()] * p.volume * c.master * side);
    }
  }
  return int16_t(std::clamp(sum, long(INT16_MIN), long(INT16_MAX)));
}

class diskaudio : public ::testing::Test {
protected:
  scratchworkdir folder;
  const std::string played = folder.file("played.raw");

  void SetUp() override
  {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", played.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1);  // about four times as fast as it would play
    alarm(120);  // a hang ends the run rather than blocks it
  }
  void TearDown() override { shutdownsound(); }

  off_t playedbytes() const
  {
    struct stat info;
    return stat(played.c_str(), &info) == 0 ? info.st_size : -1;
  }
  // waits until the device has written more than bytes more, or 20 seconds
  void waitforplayed(off_t more) const
  {
    const off_t target = playedbytes() + more;
    for (int wait = 0; wait < 4000 && playedbytes() < target; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // starts every sound in the same block, waits until the sounds played once are over and the
  // loops have played twice, and stops the loops
  void playall(const mixcase &c)
  {
    std::vector<int> channel;
    SDL_LockAudio();
    for (size_t i = 0; i < c.plays.size(); ++i) {
      const play &p = c.plays[i];
      channel.push_back(playsound(int(i), -1, p.volume, p.balance, p.loop));
      if (p.fade)
        fadeoutsound(channel.back(), p.fade);
    }
    SDL_UnlockAudio();
    waitforplayed(off_t(needed(c) * 2 + 16384));
    stopallsounds();
    for (int ch : channel)
      EXPECT_EQ(soundplaying(ch), 0);
    waitforplayed(8192);  // silence after the last sound
  }
  samples playedsamples()
  {
    shutdownsound();
    const bytes raw = readbytes(played);
    samples s(raw.size() / 2);
    memcpy(s.data(), raw.data(), s.size() * 2);
    return s;
  }
};

TEST_F(diskaudio, plays_the_clamped_sum_of_its_channels_to_the_sample)
{
  const mixcase cases[] = {
      {"two tones", {{tone(3000, 7), 1, 0, 0}, {tone(2000, 13), 1, 0, 0}}, 1},
      {"volumes, balances and master",
       {{tone(3000, 7), 0.5f, -1, 0}, {tone(2000, 13), 1, 0.5f, 0}, {tone(500, 3), 1, 1, 0}},
       0.5f},
      {"a loop under a sound played once",
       {{tone(300, 11), 0.5f, 0, 1}, {tone(2000, 13), 0.5f, 0.25f, 0}},
       1},
      {"full scale twice saturates", {{fullscale(1000), 1, 0, 0}, {fullscale(1000), 1, 0, 0}}, 1},
      {"a loop faded out, and one faded out before its end",
       {{tone(300, 11), 1, 0, 1, 0.25f}, {tone(3000, 13), 0.5f, -0.5f, 0, 0.0625f}},
       1},
  };
  for (const mixcase &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(setupsound(1), 1);
    setsoundvolume(c.master);
    bool loops = false;  // then every sample is checked up to the stop
    for (size_t i = 0; i < c.plays.size(); ++i) {
      ASSERT_EQ(load(int(i), wav(c.plays[i].sound)), 1) << soundloaderror();
      loops = loops || (c.plays[i].loop && !c.plays[i].fade);
    }
    playall(c);
    const size_t length = loops ? SIZE_MAX : needed(c);
    const samples out = playedsamples();
    const size_t start = size_t(std::find_if(out.begin(), out.end(), [](int16_t v) { return v; }) -
                                out.begin()) & ~size_t(1);
    size_t end = start;
    while (end < out.size() && end - start < length && out[end] == mixed(c, end - start))
      ++end;
    EXPECT_GE(end - start, needed(c)) << "sample " << end;
    EXPECT_GE(out.size() - end, 2048u) << "no silence after the sounds";
    EXPECT_TRUE(std::all_of(out.begin() + long(end), out.end(), [](int16_t v) { return !v; }))
        << "sample " << end << " of " << out.size();
  }
}

TEST_F(diskaudio, pauses_in_silence_and_resumes_where_it_stopped_at_a_volume_changed_on_the_way)
{
  ASSERT_EQ(setupsound(1), 1);
  const samples s = tone(5000, 7);  // a loop that ends apart from the device's blocks
  ASSERT_EQ(load(0, wav(s)), 1);
  const int channel = playsound(0, -1, 1, 0, 1);
  waitforplayed(32768);  // the first blocks written after the start may have been mixed before it
  setchannelvolume(channel, 0.5f);
  waitforplayed(16384);
  pauseallsounds();
  EXPECT_EQ(soundplaying(channel), 1);
  EXPECT_EQ(playsound(0, -1, 1, 0, 1), channel + 1) << "a paused channel stays taken";
  stopsound(channel + 1);
  waitforplayed(32768);  // a block mixed before the pause may still be on its way
  resumesound(channel);
  waitforplayed(32768);  // the first blocks written after the resume may have been mixed before it
  stopallsounds();
  waitforplayed(8192);
  const samples out = playedsamples();
  const auto first = std::find_if(out.begin(), out.end(), [](int16_t v) { return v; });
  const auto last = std::find_if(out.rbegin(), out.rend(), [](int16_t v) { return v; }).base();
  EXPECT_NE(std::search_n(first, last, 8192, 0), last) << "no pause between the sounds";
  samples heard;  // the sound without its pause: full, then half, every sample after the last
  std::copy_if(first, last, std::back_inserter(heard), [](int16_t v) { return v; });
  size_t turn = 0, end;
  while (turn < heard.size() && heard[turn] == s[turn % s.size()])
    ++turn;
  for (end = turn; end < heard.size() && heard[end] == s[end % s.size()] / 2;)
    ++end;
  EXPECT_GE(turn, 8192u);
  EXPECT_EQ(turn % 2, 0u);
  EXPECT_GE(end - turn, 16384u);
  EXPECT_EQ(end, heard.size()) << "sample " << end << " of " << heard.size();
}

TEST_F(diskaudio, opens_nothing_with_sound_off_and_every_call_does_nothing)
{
  EXPECT_EQ(setupsound(0), 0);
  EXPECT_EQ(load(1, wav(tone(100, 3))), 0);
  EXPECT_STREQ(soundloaderror(), "sound is off");
  EXPECT_EQ(playsound(1, -1, 1, 0, 1), -1);
  stopsound(0);
  stopallsounds();
  setsoundvolume(0.5f);
  setchannelvolume(0, 0.5f);
  setchannelbalance(0, 1);
  pausesound(0);
  pauseallsounds();
  resumesound(0);
  resumeallsounds();
  fadeoutsound(0, 1);
  freesound(1);
  EXPECT_EQ(soundplaying(0), 0);
  EXPECT_EQ(playmusic("tune.ogg", 1), 0);
  EXPECT_STREQ(musicerror(), "sound is off");
  setmusicvolume(0.5f);
  pausemusic();
  resumemusic();
  fadeoutmusic(1);
  stopmusic();
  EXPECT_EQ(musicplaying(), 0);
  shutdownsound();
  EXPECT_EQ(playedbytes(), -1);
}

TEST_F(diskaudio, says_in_one_line_when_no_device_opens_and_goes_on_silent)
{
  setenv("SDL_AUDIODRIVER", "nonexistent", 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(setupsound(1), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find(": cannot open the sound device: "), std::string::npos) << said;
  EXPECT_EQ(playsound(0, -1, 1, 0, 0), -1);
}

TEST_F(diskaudio, refuses_bad_files_leaving_the_slot_as_it_was)
{
  ASSERT_EQ(setupsound(1), 1);
  const samples s = tone(100, 3);
  const bytes good = wav(s), shortformat(good.begin() + 20, good.begin() + 28);
  bytes longer = riff({{"LIST", {1, 2}}, format(2, 16, 44100), samplechunk(s)});
  putle32(longer, 16, 1 << 20);
  const bytes vorbis = ogg(sine(4000, 50), 2, 44100);
  bytes damaged = vorbis;
  damaged[damaged.size() / 2] ^= 0x55;
  const struct {
    const char *what;
    bytes file;
    uint32_t length;  // the slot's bytes once accepted; 0 for a refused file
  } cases[] = {
      {"Ogg Vorbis", vorbis, 16000},
      {"Ogg Vorbis cut short", bytes(vorbis.begin(), vorbis.begin() + long(vorbis.size() / 2)), 0},
      {"Ogg Vorbis damaged", damaged, 0},
      {"OggS and nothing else", {'O', 'g', 'g', 'S'}, 0},
      {"Ogg Vorbis of three channels", ogg(samples(3000, 1000), 3, 44100), 0},
      {"an odd chunk before the format",
       riff({{"LIST", {1, 2, 3}}, format(2, 16, 44100), samplechunk(s)}),
       400},
      {"8-bit mono", riff({format(1, 8, 44100), {"data", bytes(100, 200)}}), 400},
      {"8-bit mono at 22050 Hz", riff({format(1, 8, 22050), {"data", bytes(100, 200)}}), 800},
      {"a chunk longer than the file", longer, 0},
      {"samples cut short", bytes(good.begin(), good.end() - 2), 0},
      {"no RIFF", bytes(good.begin() + 1, good.end()), 0},
      {"ADPCM", riff({format(2, 4, 44100, 0x11), samplechunk(s)}), 0},
      {"24-bit", riff({format(2, 24, 44100), samplechunk(s)}), 0},
      {"three channels", riff({format(3, 16, 44100), samplechunk(s)}), 0},
      {"rate 0", riff({format(2, 16, 0), samplechunk(s)}), 0},
      {"samples before their format", riff({samplechunk(s), format(2, 16, 44100)}), 0},
      {"format chunk of 8 bytes", riff({{"fmt ", shortformat}, samplechunk(s)}), 0},
      {"no samples", riff({format(2, 16, 44100), {"data", {}}}), 0},
      {"a file past the limit", bytes(size_t(maxsoundfilebytes) + 1), 0},
      {"too long once converted", riff({format(1, 8, 4000), {"data", bytes(2 << 20, 128)}}), 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(load(2, wav(tone(50, 5))), 1);
    const soundslot before = sound[2];
    EXPECT_EQ(load(2, c.file), c.length != 0);
    EXPECT_EQ(soundloaderror() == nullptr, c.length != 0);
    EXPECT_EQ(sound[2].length, c.length ? c.length : before.length);
    if (!c.length) {
      EXPECT_EQ(sound[2].samples, before.samples);
    }
  }
  ASSERT_EQ(mkdir(soundfolder, 0755), 0);
  writebytes("sound/shrinking", ogg(tone(20000, 7), 2, 44100));
  readsbeforecut = 3;  // in its open, which looked for the last page for ever
  EXPECT_EQ(loadsound(2, "shrinking"), 0);
  EXPECT_STREQ(soundloaderror(), "cannot read the file");
  EXPECT_EQ(sound[2].length, 200u);
}

TEST_F(diskaudio, decodes_ogg_vorbis_into_slots_as_the_vorbis_tools_do)
{
  ASSERT_EQ(setupsound(1), 1);
  const samples s = sine(20000, 100.25);
  const bytes file = ogg(s, 2, 44100);
  ASSERT_EQ(load(3, file), 1) << soundloaderror();
  const samples decoded = vorbisdecoded(file);
  ASSERT_EQ(decoded.size(), s.size());
  ASSERT_EQ(sound[3].length, s.size() * 2);
  EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), sound[3].samples));
  double error = 0, energy = 0;  // lossy, but the tone it was made from
  for (size_t i = 0; i < s.size(); ++i) {
    error += std::pow(sound[3].samples[i] - s[i], 2);
    energy += std::pow(s[i], 2);
  }
  EXPECT_LT(error, energy / 100);
  samples mono;  // the left side alone, at half the device's rate
  for (size_t i = 0; i < s.size(); i += 2)
    mono.push_back(s[i]);
  ASSERT_EQ(load(4, ogg(mono, 1, 22050)), 1) << soundloaderror();
  ASSERT_EQ(sound[4].length, s.size() * 4);
  for (size_t i = 0; i < s.size() * 2; i += 2)
    ASSERT_EQ(sound[4].samples[i], sound[4].samples[i + 1]) << i;
}

// waits until the music ends by itself, or 20 seconds
void waitformusicend()
{
  for (int wait = 0; wait < 4000 && musicplaying(); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

TEST_F(diskaudio, streams_music_once_or_round_and_round_pausing_and_stopping)
{
  ASSERT_EQ(setupsound(1), 1);
  ASSERT_EQ(mkdir(soundfolder, 0755), 0);
  const bytes file = ogg(sine(30000, 100.25), 2, 44100);
  writebytes("sound/tune.ogg", file);
  const samples decoded = vorbisdecoded(file);
  setsoundvolume(1);  // as other tests may have left them
  setmusicvolume(1);
  ASSERT_EQ(playmusic("tune.ogg", 0), 1) << musicerror();
  waitformusicend();
  EXPECT_EQ(musicplaying(), 0);
  EXPECT_EQ(musicerror(), nullptr);
  waitforplayed(32768);  // the music's last blocks may still be on their way to the file
  ASSERT_EQ(playmusic("tune.ogg", 1), 1);
  waitforplayed(off_t(decoded.size() * 4 + 16384));
  pausemusic();
  pauseallsounds();
  resumeallsounds();  // the music's own pause outlasts the pause of everything
  waitforplayed(32768);
  EXPECT_EQ(musicplaying(), 1);
  resumemusic();
  waitforplayed(16384);
  pauseallsounds();  // the music with the rest
  waitforplayed(32768);
  resumeallsounds();
  waitforplayed(8192);
  stopmusic();
  EXPECT_EQ(musicplaying(), 0);
  waitforplayed(8192);
  const samples out = playedsamples();
  // once: every frame but the last, which has no neighbour to convert towards
  const auto once = std::search(out.begin(), out.end(), decoded.begin(), decoded.end() - 2);
  ASSERT_NE(once, out.end());
  const auto after = once + long(decoded.size());
  EXPECT_TRUE(std::all_of(after, after + 8192, [](int16_t v) { return !v; }));
  samples twice(decoded);  // a loop goes on into its start
  twice.insert(twice.end(), decoded.begin(), decoded.end());
  const auto loop = std::search(after, out.end(), twice.begin(), twice.end());
  ASSERT_NE(loop, out.end()) << "no loop round twice";
  const auto last = std::find_if(out.rbegin(), out.rend(), [](int16_t v) { return v; }).base();
  const auto pause = std::search_n(loop, last, 8192, 0);
  ASSERT_NE(pause, last) << "no pause";
  const auto heard = std::find_if(pause, last, [](int16_t v) { return v; });
  EXPECT_NE(std::search_n(heard, last, 8192, 0), last) << "no second pause";
  EXPECT_TRUE(std::all_of(last, out.end(), [](int16_t v) { return !v; }));
}

TEST_F(diskaudio, ends_music_with_its_reason_leaving_no_thread_or_open_file)
{
  ASSERT_EQ(setupsound(1), 1);
  ASSERT_EQ(mkdir(soundfolder, 0755), 0);
  const bytes file = ogg(sine(30000, 100.25), 2, 44100), longer = ogg(tone(200000, 7), 2, 44100);
  bytes damaged = longer;
  damaged[damaged.size() * 3 / 4] ^= 0x55;  // found as it plays
  writebytes("sound/damaged.ogg", damaged);
  writebytes("sound/cut.ogg", bytes(file.begin(), file.begin() + long(file.size() / 2)));
  writebytes("sound/a.wav", wav(tone(100, 3)));
  writebytes("sound/tune.ogg", file);
  const auto held = [] {  // the threads and open files of the process
    return std::make_pair(entries("/proc/self/task").size(), entries("/proc/self/fd").size());
  };
  const auto before = held();
  // name, loop, seconds of fadeoutmusic once it plays (negative for none), reads before the file
  // shrinks (in its open, or -1 once it plays), and why it ended
  const struct { const char *name; int loop; float fade; int cut; const char *reason; } endings[] = {
      {"damaged.ogg", 1, -1, 0, "damaged Ogg Vorbis data"},
      {"cut.ogg", 1, -1, 0, "not an Ogg Vorbis file"},
      {"tune.ogg", 0, -1, 0, nullptr},
      {"tune.ogg", 1, 0.05f, 0, nullptr},
      {"tune.ogg", 1, 0, 0, nullptr},
      {"shrinking", 1, -1, 3, "cannot read the file"},
      {"shrinking", 0, -1, -1, "cannot read the file"},
      {"shrinking", 1, -1, -1, "cannot read the file"},
  };
  for (const auto &c : endings) {
    SCOPED_TRACE(&c - endings);
    writebytes("sound/shrinking", longer);
    readsbeforecut = std::max(c.cut, 0);
    if (playmusic(c.name, c.loop)) {  // or refused at once, when the damage shows in the headers
      readsbeforecut = c.cut < 0;
      if (c.fade >= 0)
        fadeoutmusic(c.fade);
      waitformusicend();
    }
    EXPECT_EQ(musicplaying(), 0);
    EXPECT_STREQ(musicerror(), c.reason);
    for (int wait = 0; wait < 400 && held() != before; ++wait)  // the decoder leaves by itself
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(held(), before);
  }
  EXPECT_EQ(playmusic("a.wav", 1), 0);
  EXPECT_STREQ(musicerror(), "not an Ogg Vorbis file");
  EXPECT_EQ(playmusic("missing.ogg", 1), 0);
  EXPECT_STREQ(musicerror(), "cannot open the file");
}

TEST_F(diskaudio, converts_to_16_bit_stereo_and_other_rates_along_straight_lines_between_frames)
{
  ASSERT_EQ(setupsound(1), 1);
  // 8-bit samples lie round 128 and become a 16-bit one's top byte; mono goes to both sides
  ASSERT_EQ(load(1, riff({format(1, 8, 44100), {"data", {0, 127, 128, 255}}})), 1);
  EXPECT_EQ(samples(sound[1].samples, sound[1].samples + 8),
            (samples{-32768, -32768, -256, -256, 0, 0, 32512, 32512}));

  samples ramp;  // left rising by 16 a frame, right falling
  for (int i = 0; i < 100; ++i)
    ramp.insert(ramp.end(), {int16_t(16 * i), int16_t(-16 * i)});
  ASSERT_EQ(load(1, riff({format(2, 16, 22050), samplechunk(ramp)})), 1);
  ASSERT_EQ(sound[1].length, 800u);
  for (int i = 0; i < 199; ++i) {  // the last frame has no neighbour to lean towards
    ASSERT_EQ(sound[1].samples[2 * i], 8 * i) << i;
    ASSERT_EQ(sound[1].samples[2 * i + 1], -8 * i) << i;
  }
}

TEST_F(diskaudio, finds_files_in_the_sound_folder_and_stops_channels_whose_slot_changes)
{
  ASSERT_EQ(setupsound(1), 1);
  ASSERT_EQ(mkdir(soundfolder, 0755), 0);
  writebytes("sound/a.wav", wav(tone(100, 3)));
  writebytes("a.wav", wav(tone(50, 3)));
  ASSERT_EQ(loadsound(1, "a.wav"), 1);
  EXPECT_EQ(sound[1].length, 400u);
  EXPECT_EQ(loadsound(1, "missing.wav"), 0);
  EXPECT_STREQ(soundloaderror(), "cannot open the file");
  ASSERT_EQ(loadsound(2, "a.wav"), 1);
  const int first = playsound(1, -1, 1, 0, 1), other = playsound(2, -1, 1, 0, 1);
  ASSERT_EQ(loadsound(1, "a.wav"), 1);
  EXPECT_EQ(soundplaying(first), 0);
  EXPECT_EQ(soundplaying(other), 1);
  EXPECT_EQ(playsound(1, 5, 1, 0, 1), 5);
  freesound(1);
  EXPECT_EQ(soundplaying(5), 0);
  EXPECT_EQ(playsound(1, -1, 1, 0, 1), -1);
  for (int channel = 0; channel < maxsoundchannels; ++channel)
    EXPECT_EQ(playsound(2, channel, 1, 0, 1), channel);
  EXPECT_EQ(playsound(2, -1, 1, 0, 1), -1);
}

}  // namespace
